#pragma once

#include "CharacterWidth.h"
#include "TerminalLine.h"
#include "text/CharacterRule.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Where the rows of the screen go once they are final: each as one line, without its line end.
class RowSink {
public:
    virtual void writeRow(std::string_view row) = 0;
    // A row still open when the screen stops holding (see Screen::take): held back with the lines
    // after it, a later move may still reach it. `final` for a row written already that shows
    // nothing.
    virtual void keepRow(std::string_view stamp, std::string_view cells, bool final) = 0;

protected:
    ~RowSink() = default;
};

// The rows a terminal shows, for the lines whose controls move the cursor from row to row (see
// actsOnScreen), with the terminal controls read: the lines between two such moves are rows of
// a screen of a fixed height, and a move acts on the rows as on a terminal whose screen was
// empty when the capture began.
//
// While no line has moved the cursor to another row, the screen holds nothing: each line is
// cleaned on its own, but those on the rows above the cursor are held back (see LineStage and
// KeptLines), to be read onto their rows when a line that moves comes, or written as they
// scroll off the top, or at once when the text ahead shows no move within a screen's height
// (see QuietAhead). A line that moves makes the screen hold its rows: from then on every line is
// read on it, and a row is written when it scrolls off the top, when a clear blanks it (ED 2,
// or ED from the home position: the log keeps what the screen showed), when the pipe's input
// pauses (see writeHeld) or at the end. A screen's height of lines without a move gives the
// rows above the cursor back as lines held back (see RowSink::keepRow), and the screen holds
// nothing again.
//
// A row written is final: a move back onto it finds it empty, and what is then written there
// comes out as a line of its own. Rows pushed off the bottom (SD, RI, IL) and rows deleted (DL)
// are gone, as on a terminal. Rows the cursor skipped are empty rows; empty rows at the end are
// not written.
//
// So the screen, and the lines held back for it, hold at most its height of rows, each within the
// margin of the lines written on it (see TerminalLine); a control costs at most the rows it
// moves, and a line that makes the screen hold its rows the rows held back.
class Screen {
public:
    static constexpr int defaultHeight = 24;
    static constexpr int mostHeight = 1000;

    // `height` is taken within 1 to mostHeight.
    Screen(int height, CharacterRule rule, RowSink &sink);

    std::int64_t height() const { return height_; }
    void setRule(CharacterRule rule) { rule_ = rule; }
    // Whether rows are held: every line then goes to take().
    bool holds() const { return !rows_.empty(); }

    // Reads one line (after its timestamp, `stamp`) on the screen, `before` lines of the text
    // having been taken before it; `ended` when an LF ends it. With `erasing`, a BackSpace at the
    // end of a row erases the character before it, as the BackSpace rule has it. While the
    // screen holds nothing, false when no control of the line needs the screen and `hold` is
    // not set (a line held back before one that does): the line is then left to the line's own
    // cleaning, and nothing is held. `final` for a row given back as final (see RowSink).
    bool take(std::string_view line, std::string_view stamp, std::uint64_t before, bool ended, bool erasing, bool hold = false,
              bool final = false);
    // Writes every row that holds something, and the empty rows above it; they are final.
    void writeHeld();
    // The end of the text: writes the rows held and holds nothing.
    void finish();

    // Replay of one line; the reading (see readTerminalLine) calls these.
    void character(std::uint32_t code, int columns) { rows_[row_].cells.put(code, columns); }
    void backspace() { back(1); }
    void combine(std::uint32_t mark) { rows_[row_].cells.combine(mark); }
    void control(const Control &control);

private:
    struct Row {
        TerminalLine<std::uint32_t> cells;
        std::string stamp;    // of the line that began on the row
        bool final = false;   // written: written again only for what is written on it later
        std::uint64_t line = 0; // the line that last wrote on it, plus 1
    };

    Row &current() { return rows_[row_]; }
    void back(std::int64_t count);
    // The cursor to `row`, keeping or setting its column.
    void moveTo(std::int64_t row);
    void moveTo(std::int64_t row, std::int64_t column);
    // The cursor's row made ready for the line being read, its cursor at `column`.
    void enter(std::int64_t column);
    void lineFeed();
    void scrollUp(std::int64_t count);
    // Rows [first, height) moved down `count`; the rows at first are new and blank.
    void pushDown(std::int64_t first, std::int64_t count);
    // Rows [first + count, height) moved up to first; new blank rows at the bottom.
    void pullUp(std::int64_t first, std::int64_t count);
    void eraseDisplay(std::int64_t mode);
    void write(Row &row);
    // Writes the rows down to the last that holds something.
    void writeRows();

    std::int64_t height_;
    CharacterRule rule_;
    RowSink &sink_;
    std::vector<Row> rows_; // empty while nothing is held
    std::int64_t row_ = 0;
    LineCharacters characters_;
    std::uint64_t line_ = 0; // the line being read, plus 1
    std::int64_t allowance_ = 0; // the line's work on the rows (see TerminalLine::resume)
    bool moved_ = false;     // a control of the line needs the screen
    bool erasing_ = false;
    bool inserting_ = false;
    std::int64_t savedRow_ = -1; // none saved
    std::int64_t savedColumn_ = 0;
    // While nothing is held: the cursor's row, which it was at at the line `idleSince_`.
    std::int64_t idleRow_ = 0;
    std::uint64_t idleSince_ = 0;
    std::int64_t quietLines_ = 0; // LFs since the last control that needed the screen
    std::string text_;            // of the row written
};

// Whether the line may hold a control that needs the screen: a byte scan, so that the lines
// without one cost nothing more; a false alarm only makes the screen read the line for nothing.
bool mayActOnScreen(std::string_view line);
// Where the first control that may need the screen begins in `text` (a line, or whole lines:
// a CSI read on past a line's end only makes a false alarm more), or npos.
std::size_t screenControlAt(std::string_view text);

} // namespace tarnwick
