#include "MessageBoxes.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarnwick {

QMessageBox::StandardButton showMessageBox(QWidget *parent, const QString &message, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QString lines = message;
    lines.replace(QRegularExpression(u"。(?=[^\\n])"_s), u"。\n"_s);
    QMessageBox box(icon, u"Tarnwick"_s, lines, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    // In the window's own font, not the toolkit's.
    if (parent)
        box.setFont(parent->font());
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString &line : lines.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    box.setStyleSheet(u"QLabel#qt_msgbox_label { min-width: %1px; }"_s.arg(std::min(widest + 8, 720)));
    return QMessageBox::StandardButton(box.exec());
}

} // namespace tarnwick
