#pragma once

#include <QStringList>

class QFont;
class QFontMetrics;
class QLabel;
class QPushButton;

namespace tarnwick {

// Steps the label's font down until its text, wrapped, fits the label's box: the fonts found on
// a system may run wider than the ones the layout was drawn with.
void fitTextToBox(QLabel *label);

// Gives the button its designed font, stepped down until the caption fits on the button whole
// (a progress text of two 10-digit counts on a 97-pixel button); the button keeps its size.
void fitCaption(QPushButton *button, const QFont &designed);

// The phrases of a text for a narrow label: cut before "（", after "、", "。" and "）", and where
// the translation marks a break with U+200B (zero width space). The toolkit breaks Japanese
// between any two characters, inside a word or between a number and its unit.
QStringList phrasesOf(const QString &text);

// The phrases in at most `rows` lines of `width` pixels, as many on each line as fit there
// whole; a phrase wider than a line elided in its middle, and what does not fit in the rows
// elided at the end of the last.
QString phraseLines(const QStringList &phrases, const QFontMetrics &metrics, int width, int rows);

} // namespace tarnwick
