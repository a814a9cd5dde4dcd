#include "TextFitting.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace tarnwick {

namespace {
constexpr qreal smallestPointSize = 4;
constexpr qreal step = 0.25;
} // namespace

void fitTextToBox(QLabel *label)
{
    QFont font = label->font();
    const QRect box = label->contentsRect();
    const int flags = Qt::TextWordWrap | static_cast<int>(label->alignment());
    for (QSize needed; font.pointSizeF() > 6; font.setPointSizeF(font.pointSizeF() - step)) {
        needed = QFontMetrics(font).boundingRect(box, flags, label->text()).size();
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
    }
    label->setFont(font);
}

void fitCaption(QPushButton *button, const QFont &designed)
{
    QStyleOptionButton option;
    option.initFrom(button);
    // A few pixels kept free on either side, so that the text does not touch the frame.
    const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() - 4;
    QFont font = designed;
    while (font.pointSizeF() > smallestPointSize && QFontMetrics(font).horizontalAdvance(button->text()) > room)
        font.setPointSizeF(font.pointSizeF() - step);
    button->setFont(font);
}

} // namespace tarnwick
