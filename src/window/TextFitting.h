#pragma once

class QFont;
class QLabel;
class QPushButton;

namespace tarnwick {

// Steps the label's font down until its text, wrapped, fits the label's box: the fonts found on
// a system may run wider than the ones the layout was drawn with.
void fitTextToBox(QLabel *label);

// Gives the button its designed font, stepped down until the caption fits on the button whole
// (a progress text of two 10-digit counts on a 97-pixel button); the button keeps its size.
void fitCaption(QPushButton *button, const QFont &designed);

} // namespace tarnwick
