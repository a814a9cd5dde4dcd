#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

namespace tarnwick {

// "Tarnwick Ver.1.20": the caption, " Ver." and the version text.
QString titleWithVersion(const QString &caption, int major, int minor);

// The window's top-left corner that centres it on the screen; negative for a window larger
// than the screen.
QPoint centredPosition(QSize screen, QSize window);

} // namespace tarnwick
