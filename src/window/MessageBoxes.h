#pragma once

#include <QMessageBox>

namespace tarnwick {

// A message box as the window shows one: plain text (a file name is never read as markup), each
// sentence on a line of its own and the box as wide as the widest (within reason), so that no word
// is broken across lines, in the parent's font where there is a parent. Returns the button pressed.
QMessageBox::StandardButton showMessageBox(QWidget *parent, const QString &message, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

} // namespace tarnwick
