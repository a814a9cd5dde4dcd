#pragma once

#include "CharacterWidth.h"
#include "text/CharacterRule.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// What a control sequence of a line does to the line, as far as a cleaned log can show it.
struct Control {
    enum class Kind {
        Back,             // CUB: n BackSpaces
        Forward,          // CUF and HPR: the cursor n columns right
        Column,           // CHA, HPA and the carriage return: the cursor to column n
        EraseLine,        // EL: n is the mode, 0 to 2
        EraseCharacters,  // ECH: n cells blanked from the cursor
        DeleteCharacters, // DCH: n cells removed at the cursor
        InsertCharacters, // ICH: n blanks inserted at the cursor
        TabForward,       // CHT: the cursor to the nth tab stop on its right (every 8 columns)
        TabBack,          // CBT: the cursor to the nth tab stop on its left
        Tab,              // HT: the cursor to the next tab stop (n is 1)
        Repeat,           // REP: the character before it written n times more (read by the parser)
        InsertMode,       // IRM set (n 1) or reset (n 0): characters then push the rest right
        SaveCursor,       // DECSC and SCOSC: the cursor's column kept
        RestoreCursor,    // DECRC and SCORC: the cursor back to it (column 1 when none was kept)
        // What acts on the screen's rows (see Screen); a line alone takes the column of a
        // Position and an EraseDisplay as the same EraseLine, and ignores the others.
        Position,         // CUP and HVP: the cursor to row n, column `column`
        EraseDisplay,     // ED: n is the mode, 0 to 3
        Up,               // CUU: n rows up, no further than the top
        Down,             // CUD: n rows down, no further than the bottom
        PreviousLine,     // CPL: n rows up, to column 1
        NextLine,         // CNL: n rows down, to column 1
        Row,              // VPA: the cursor to row n
        Index,            // IND: a row down, the screen scrolled up at the bottom
        NewLine,          // NEL: the same, to column 1
        ReverseIndex,     // RI: a row up, the screen scrolled down at the top
        InsertLines,      // IL: n blank rows at the cursor's, the rows below pushed down
        DeleteLines,      // DL: n rows removed at the cursor's, blank rows from the bottom
        ScrollUp,         // SU: the screen n rows up, the top rows off it
        ScrollDown,       // SD: the screen n rows down, blank rows at the top
    };
    Kind kind;
    std::int64_t n;
    std::int64_t column = 1; // of a Position
};

// Whether the control needs the screen: it takes the cursor to another row or acts on other rows
// (a clear writes out the rows it blanks). ED 0 and ED 1 blank no row of the log while the screen
// holds none, and act on the cursor's row as EL does.
inline bool actsOnScreen(const Control &control)
{
    return control.kind >= Control::Kind::Position && (control.kind != Control::Kind::EraseDisplay || control.n == 2);
}

// The bytes that the terminal-control reading acts on besides the BackSpace: ESC, which begins
// a sequence, NUL, BEL, CAN, SUB and DEL, which it drops (CAN and SUB also end a sequence), and
// SO and SI, which shift to G1 and back (see readTerminalLine).
inline constexpr std::array<char, 8> controlBytes = {'\x1b', '\0', '\a', '\x0e', '\x0f', '\x18', '\x1a', '\x7f'};

// The same as a table of all bytes, for scans.
inline constexpr auto controlByteTable = [] {
    std::array<bool, 256> table{};
    for (const char c : controlBytes)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();
// The fast path's scan (see LineCleaning::untouchedPrefix) looks for them as bytes below 0x20 or DEL.
static_assert(std::ranges::all_of(controlBytes, [](char c) { return (c >= 0 && c < 0x20) || c == 0x7f; }));

inline bool isControlByte(char c)
{
    return controlByteTable[static_cast<unsigned char>(c)];
}

// The C1 controls written in UTF-8 (U+0080 to U+009F) begin with this byte; a terminal shows
// none of them.
inline constexpr char c1Lead = '\xC2';

inline bool isC1Control(std::string_view text, std::size_t pos)
{
    return text[pos] == c1Lead && pos + 1 < text.size() && static_cast<unsigned char>(text[pos + 1]) <= 0x9F
        && static_cast<unsigned char>(text[pos + 1]) >= 0x80;
}

// True when the line holds one of the control bytes.
bool holdsControls(std::string_view line);

// What a character (a code, see characterCode) written in DEC Special Graphics shows: for the
// bytes 0x60 to 0x7E the character the terminal shows (box drawing for "j" to "x"), under the
// rule (in Shift-JIS where it has the character, else the byte itself); the others are
// themselves.
std::uint32_t lineDrawingCode(std::uint32_t code, CharacterRule rule);

// A carriage return as the temporary file keeps it where no ESC came before it on its line
// (moves the cursor to column 1; see LineEndNormaliser).
inline constexpr std::string_view carriageReturnSequence = "\x1b[G";

// Reads a line as a terminal does (the state machine of a DEC VT500-style parser), character by
// character: each character (as its bytes packed into a code, the first byte lowest) goes to
// sink.character(code, columns), a combining mark to sink.combine(code), a BackSpace to
// sink.backspace(), a carriage return to sink.control() as a CHA and a tab as a Tab (inside an
// escape or CSI too, which then goes on; inside a string, which they are part of, they do
// nothing), a sequence that acts on the line to sink.control(Control). ESC anywhere begins a
// new sequence; a character above ASCII ends an escape or CSI and is written; BEL ends an OSC
// string, ESC "\" every string. Sequences that do nothing visible, and the other C0 controls
// and DEL, are dropped. Line drawing (ESC "(" "0", or ESC ")" "0" and SO) lasts to
// the end of the line: each line begins in ASCII, as the lines without a control are copied as
// they are. Returns whether it wrote a line-drawing character in place of a byte: a code of more
// bytes, which a line of single-byte cells cannot hold.
template <class Sink>
bool readTerminalLine(const LineCharacters &characters, Sink &sink);

// Empties `buffer` and gives it room for `size` elements, so that a long line's buffer is
// allocated once at its size instead of doubling as it fills (which holds the old copy and the
// new, of up to twice the size, at once).
template <class Buffer>
void emptyFor(Buffer &buffer, std::size_t size)
{
    buffer.clear();
    buffer.reserve(size);
}

// The cells of one terminal line and its cursor, on which both cleaners replay a line that
// holds controls. Columns count from 0 here. A cell is a char for a line of single-byte text,
// where no character is wide (a quarter of the memory of a code), and a character code
// otherwise.
//
// Like a terminal's, the line has a right margin, at its length in characters or 1024,
// whichever is further: no move passes it, and cells that an insertion pushes beyond it are
// lost. So no sequence makes a line grow without bound. The work that erasures, insertions and
// moves may do on one line is bounded too, at a fixed multiple of its length: a line that would
// need more (no terminal session writes one) has its further erasures and insertions ignored and
// its moves kept within the cells written, so that time stays linear in the line.
//
// A wide character fills two cells: its code, then wideTail. Writing or erasing over one half
// of it leaves a blank in the other half, as a terminal does.
//
// A tab that takes the cursor beyond the cells written fills the cells it passes with tabStart,
// then tabFill: where they are still its whole span when the line is written, the tab is
// written, as the log had it; where anything was written, erased, inserted or deleted in its
// span, its cells are blanks, as the terminal shows them. A tab over cells written already only
// moves the cursor.
template <class Cell>
class TerminalLine {
public:
    static constexpr std::int64_t minimumMargin = 1024;
    static constexpr Cell wideTail = 0; // no character's code: NUL is dropped
    static constexpr Cell blank = ' ';
    static constexpr Cell tabStart = '\t'; // no character's code: the reading takes a tab as a control
    static constexpr Cell tabFill = '\n';  // nor this: no line holds an LF
    static constexpr std::size_t combinedMost = 32;

    // Starts replaying the line on an empty line. With char cells, the line must be single-byte
    // text.
    void begin(const LineCharacters &characters);
    // The work that replaying the line may spend (see spend()).
    static std::int64_t allowanceFor(const LineCharacters &characters);
    // Goes on replaying a further line on the cells there are (a row of the screen that a later
    // line writes on), with that line's margin where it is larger, spending from `allowance`,
    // which every row the line writes on shares: so a line makes no more of the screen's rows
    // than it could make of one line.
    void resume(const LineCharacters &characters, std::int64_t &allowance);
    // Empties the line; the cursor keeps its column, over blanks.
    void clear();
    std::int64_t margin() const { return margin_; }
    std::int64_t cursor() const { return cursor_; } // cells left of the cursor, never more than there are
    std::span<const Cell> cells() const { return cells_; }
    bool atEnd() const { return cursor_ == std::ssize(cells_); }
    bool inserting() const { return inserting_; }
    // Whether a cell holds something other than a blank (or a tab's cell, which shows none).
    bool showsAnything() const
    {
        return std::ranges::any_of(cells_, [](Cell cell) { return cell != blank && cell != tabStart && cell != tabFill; });
    }
    // A character of 1 or 2 columns written at the cursor, over what stands there. Called for
    // each character a line's reading writes: GCC 12 left it out of line in the erasing replay,
    // which cost that reading 2 % of its instructions.
    [[gnu::always_inline]] void put(std::uint32_t code, int columns = 1)
    {
        // Most characters are one column wide and typed at the end of the line or over another
        // such character: no wide character is cut, nothing is pushed right.
        const auto at = static_cast<std::size_t>(cursor_);
        if (columns == 1 && atEnd()) {
            cells_.push_back(static_cast<Cell>(code));
            ++cursor_;
        } else if (columns == 1 && !inserting_ && cells_[at] != wideTail && (at + 1 == cells_.size() || cells_[at + 1] != wideTail)) {
            cells_[at] = static_cast<Cell>(code);
            ++cursor_;
        } else {
            overwrite(code, columns);
        }
    }
    // A combining mark written in the cell left of the cursor (in the first half of a wide
    // character there), with the marks it holds; at column 0 it is dropped, as tmux has it. A
    // cell holds up to combinedMost bytes, as a terminal's does, and further marks are dropped:
    // so a line's marks take memory in proportion to the line. Only code cells hold marks.
    void combine(std::uint32_t mark);
    // Removes the last cell (the cursor stands behind it).
    void removeLast();
    // The cursor `count` columns left, no further than column 0.
    void moveLeft(std::int64_t count) { cursor_ = std::max<std::int64_t>(cursor_ - count, 0); }
    // The cursor to `column`, short of the margin; cells passed beyond the end become blanks.
    void moveTo(std::int64_t column);
    // Every control but Back, which each cleaner takes as its own BackSpaces.
    void apply(const Control &control);
    // The cells as bytes; valid until the next call.
    std::string_view text();

private:
    // Takes `cells` from the line's allowance of work; false when it is spent.
    bool spend(std::int64_t cells);
    // Where a wide character is cut at `column`, both its halves become blanks.
    void splitAt(std::int64_t column);
    void overwrite(std::uint32_t code, int columns);
    void tab();
    // A cell that holds marks holds combinedCode(i), its bytes the ith of combined_: a code that
    // no character has, as a character that begins with 0xFF is that byte alone.
    static constexpr std::uint32_t combinedCode(std::size_t index) { return static_cast<std::uint32_t>(index + 1) << 8 | 0xFF; }
    static constexpr bool holdsMarks(std::uint32_t code) { return (code & 0xFF) == 0xFF && code > 0xFF; }
    std::string_view combinedBytes(std::uint32_t code) const;
    // Appends the cells from `first` on that a tab filled to text_: the tab or blanks. Returns
    // where they end.
    std::size_t appendTab(std::size_t first);

    std::vector<Cell> cells_;
    std::int64_t cursor_ = 0;
    std::int64_t saved_ = 0;
    bool inserting_ = false;
    std::int64_t margin_ = minimumMargin;
    std::int64_t allowance_ = 0;
    std::int64_t *sharedAllowance_ = nullptr; // spent in place of allowance_ where set
    bool tabs_ = false; // a tab filled cells
    std::string combined_;                  // the bytes of the cells that hold marks, in turn
    std::vector<std::uint32_t> combinedAt_; // where each begins
    std::string text_; // the bytes of code cells; char cells are their own bytes, but a tab's
};

} // namespace tarnwick

#include "TerminalLine.inl"
