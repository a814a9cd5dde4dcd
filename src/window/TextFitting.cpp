#include "TextFitting.h"

#include <QFontMetrics>
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

QStringList phrasesOf(const QString &text)
{
    QStringList phrases;
    QString phrase;
    for (const QChar c : text) {
        if (c == QChar(0x200B) || (c == u'（' && !phrase.isEmpty())) {
            phrases.append(phrase);
            phrase.clear();
        }
        if (c != QChar(0x200B))
            phrase += c;
        if (c == u'、' || c == u'。' || c == u'）') {
            phrases.append(phrase);
            phrase.clear();
        }
    }
    if (!phrase.isEmpty())
        phrases.append(phrase);
    phrases.removeAll(QString());
    return phrases;
}

QString phraseLines(const QStringList &phrases, const QFontMetrics &metrics, int width, int rows)
{
    QStringList lines;
    for (const QString &phrase : phrases) {
        const QString shown = metrics.elidedText(phrase, Qt::ElideMiddle, width);
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + shown) <= width)
            lines.last() += shown;
        else
            lines.append(shown);
    }
    if (lines.size() > rows) {
        const QString rest = QStringList(lines.mid(rows - 1)).join(QString());
        lines = lines.first(rows - 1);
        lines.append(metrics.elidedText(rest, Qt::ElideRight, width));
    }
    return lines.join(u'\n');
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
