#include "ScrolledLineRebuilder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

namespace tarnwick {

namespace {

// Positions count cells from 1, as on the terminal: a character each, or with terminal controls
// read a column each. They are wide so that a line of any length is handled by the same rules.
using Position = std::int64_t;

constexpr char backspace = '\b';
constexpr char blank = ' ';

// How a device's line editor scrolls a command that reaches its margin (the columns after the
// prompt) sideways: it moves back to the prompt's end with as many BackSpaces and redraws the
// marker, the command from a later character on, and some blanks over the old end with as many
// BackSpaces back. Each further scroll moves back to the column after the marker and redraws
// from there.
namespace scroll {

constexpr char marker = '$';
// What the prompt ends in, right before the marker.
constexpr std::string_view promptEnds = "#>";

// How far a scroll shifts the command shows in the blanks that end its redraw: the first hides
// two characters more than that (the marker stands over one of them), each further one a
// character more.
struct Shape {
    Position blanks;
    constexpr Position firstHidden() const { return blanks + 2; }
    constexpr Position furtherHidden() const { return blanks + 1; }
    // The characters a redraw writes before its blanks in a margin, the last of them the one
    // just typed.
    constexpr Position redrawn(Position margin) const { return margin - blanks - 1; }
};

// IOS's is tried first, so that its results never change; another editor's as the echo shows
// its blanks, such as IOS-XR's at 80 columns.
constexpr Shape ios{9};
constexpr Shape iosXr80{26};
static_assert(ios.firstHidden() == 11 && ios.furtherHidden() == 10 && iosXr80.firstHidden() == 28);

// IOS-XR also repaints a scrolled line from the prompt's end on Enter: the command's first
// characters up to the margin, these many, then the marker in the margin's last column.
constexpr Position repainted(Position margin)
{
    return margin - 1;
}

} // namespace scroll

// The characters p to p + k - 1 of s, shorter where s begins later or ends earlier.
template <class Char>
std::span<const Char> spanOf(std::span<const Char> s, Position p, Position k)
{
    const Position first = std::max<Position>(p, 1);
    const Position last = std::min<Position>(p + k - 1, std::ssize(s));
    if (first > last)
        return {};
    return s.subspan(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

template <class Char>
std::span<const Char> trimmed(std::span<const Char> s)
{
    while (!s.empty() && s.back() == Char(blank))
        s = s.first(s.size() - 1);
    return s;
}

template <class Char>
bool sameTrimmed(std::span<const Char> a, std::span<const Char> b)
{
    return std::ranges::equal(trimmed(a), trimmed(b));
}

template <class Char>
bool isRunOf(std::span<const Char> s, char c, Position count)
{
    return std::ssize(s) == count && std::ranges::all_of(s, [c](Char x) { return x == Char(c); });
}

// The virtual line of a replay without terminal controls: a cell a character, whatever its
// width, and a cursor that a scroll's shift may carry past the end, where characters are then
// appended.
template <class Cells>
class PlainLine {
public:
    using Cell = typename Cells::value_type;

    explicit PlainLine(Cells &cells) : cells_(cells) {}

    std::int64_t cursor() const { return cursor_; }
    std::span<const Cell> cells() const { return {cells_.data(), cells_.size()}; }
    bool atEnd() const { return cursor_ == std::ssize(cells_); }
    void put(Cell cell)
    {
        ++cursor_;
        if (std::ssize(cells_) < cursor_)
            cells_.push_back(cell);
        else
            cells_[static_cast<std::size_t>(cursor_ - 1)] = cell;
    }
    void removeLast()
    {
        cells_.pop_back();
        cursor_ = std::ssize(cells_);
    }
    void moveLeft(std::int64_t count) { cursor_ = std::max<std::int64_t>(cursor_ - count, 0); }
    void moveTo(std::int64_t column) { cursor_ = column; }

private:
    Cells &cells_;
    std::int64_t cursor_ = 0;
};

// Replays a run of characters and BackSpaces onto a line, from its cursor, and undoes the
// scrolls in it (see scroll). Char is a cell of the source: a byte, a number or a code, a wide
// character as its code and the line's wideTail; Line is a PlainLine or a TerminalLine of Char.
template <class Char, class Line>
class ScrollReplay {
public:
    ScrollReplay(std::span<const Char> source, Line &line) : source_(source), line_(line) {}

    // False where the line's redraws left the device's scroll shape: the rebuilt line would
    // splice what the device drew at one column into the command at another, a "$" among it.
    bool run()
    {
        for (Position index = 1; index <= std::ssize(source_); ++index) {
            const Char ch = at(index);
            const Position backspacesBefore = std::exchange(backspaceRun_, ch == Char(backspace) ? backspaceRun_ + 1 : 0);
            if (ch == Char(backspace))
                backspaceAt(index);
            else if (repaintAt(index))
                index = endRepaint(index);
            else if (!confirmsMarker(index, backspacesBefore))
                index = write(index);
        }
        return matched_;
    }

private:
    // A scroll that a marker confirmed, while it is in force.
    struct Scroll {
        Position margin;    // the BackSpaces directly before the marker
        Position promptEnd; // the cursor at the marker
        Position offset;    // how many columns the scrolls have shifted the screen left
    };

    Char at(Position index) const { return index >= 1 && index <= std::ssize(source_) ? source_[static_cast<std::size_t>(index - 1)] : Char(0); }

    // Returns the index of the character's last cell.
    Position write(Position index)
    {
        // While scrolled, the device writes neither over the marker nor over the prompt (a
        // repaint is taken before it is written), and after the BackSpaces that begin a further
        // shift only the shift's redraw.
        if (scroll_ && (unshifted_ || line_.cursor() - scroll_->offset <= scroll_->promptEnd))
            matched_ = false;
        if constexpr (requires { Line::wideTail; }) {
            const int columns = index < std::ssize(source_) && at(index + 1) == Line::wideTail ? 2 : 1;
            line_.put(static_cast<std::uint32_t>(at(index)), columns);
            return index + columns - 1;
        } else {
            line_.put(at(index));
            return index;
        }
    }

    void backspaceAt(Position index)
    {
        // A further shift: the last of (margin - 1) BackSpaces, followed by the redraw.
        const Position column = line_.cursor();
        std::optional<scroll::Shape> shift;
        if (scroll_ && scroll_->margin < index && backspaceRun_ >= scroll_->margin - 1)
            shift = redrawShape(index, scroll_->margin, column, false);
        // A blank at the end of the line under the cursor is what erased a character.
        const bool erased = line_.atEnd() && column > 0 && line_.cells().back() == Char(blank);
        if (erased)
            line_.removeLast();
        if (scroll_ && backspaceRun_ >= scroll_->margin - 1)
            unshifted_ = !shift;
        if (shift) {
            shiftedAt_ = index;
            line_.moveTo(column + shift->blanks);
            scroll_->offset += shift->furtherHidden();
        } else if (!erased) {
            line_.moveLeft(1);
        }
    }

    // A marker after the prompt that a redraw follows: the scroll's hidden characters stand on
    // the line already, so the cursor goes past them. A "$" right after BackSpaces is the
    // device's marker, unless it is typed on at the line's end or redrawn by a further shift:
    // one that begins no scroll of the shape begins a redraw of another.
    bool confirmsMarker(Position index, Position backspacesBefore)
    {
        if (at(index) != Char(scroll::marker))
            return false;
        if (scroll_) {
            if (backspacesBefore > 0 && shiftedAt_ != index - 1 && !line_.atEnd())
                matched_ = false;
            return false;
        }
        const bool confirmed = startsScroll(index, backspacesBefore);
        matched_ = matched_ && (confirmed || backspacesBefore == 0);
        return confirmed;
    }

    bool startsScroll(Position index, Position backspacesBefore)
    {
        const Position cursor = line_.cursor();
        if (cursor == 0)
            return false;
        const auto cells = line_.cells();
        if (cursor > std::ssize(cells) || !std::ranges::any_of(scroll::promptEnds, [&](char c) { return cells[static_cast<std::size_t>(cursor - 1)] == Char(c); }))
            return false;
        // The backward scan over the BackSpaces before the marker stops at position 1.
        const Position scan = std::max<Position>(index - 1 - backspacesBefore, 1);
        if (scan == 1)
            return false;
        const Position margin = index - scan - 1;
        const auto shape = redrawShape(index, margin, cursor + 1, true);
        if (!shape)
            return false;
        scroll_ = Scroll{margin, cursor, shape->furtherHidden()};
        line_.moveTo(cursor + shape->firstHidden());
        return true;
    }

    // The shape of the first or a further redraw after `index`, where the characters the shift
    // hides stand on the line from `hidden` on; none where there is no redraw.
    std::optional<scroll::Shape> redrawShape(Position index, Position margin, Position hidden, bool first) const
    {
        for (const scroll::Shape shape : {scroll::ios, scroll::Shape{shownBlanks(index, margin)}}) {
            const Position shown = hidden + (first ? shape.firstHidden() : shape.furtherHidden());
            if (shape.blanks > 0 && shape.redrawn(margin) >= 1 && redrawTailAt(index, margin, shape.blanks) && redrawMatches(index, margin, shape, shown))
                return shape;
        }
        return std::nullopt;
    }

    // The `blanks` blanks and as many BackSpaces with which a redraw ends, behind its text.
    bool redrawTailAt(Position index, Position margin, Position blanks) const
    {
        return isRunOf(spanOf(source_, index + margin - blanks, blanks), blank, blanks) && isRunOf(spanOf(source_, index + margin, blanks), backspace, blanks);
    }

    // The blanks the redraw after `index` ends in as the echo shows them: the run before its
    // BackSpaces, no longer than they are.
    Position shownBlanks(Position index, Position margin) const
    {
        const Position end = index + margin; // the first BackSpace
        if (at(end - 1) != Char(blank) || at(end) != Char(backspace))
            return 0;
        Position blanks = 1;
        while (blanks < margin && at(end - 1 - blanks) == Char(blank))
            ++blanks;
        Position backspaces = 1;
        while (backspaces < blanks && at(end + backspaces) == Char(backspace))
            ++backspaces;
        return backspaces;
    }

    // The redrawn characters but the last (just typed) stand on the line from `from` on.
    bool redrawMatches(Position index, Position margin, scroll::Shape shape, Position from) const
    {
        const Position shown = shape.redrawn(margin) - 1;
        return sameTrimmed(spanOf(source_, index + 1, shown), spanOf(line_.cells(), from, shown));
    }

    // A repaint from the prompt's end while a scroll is in force.
    bool repaintAt(Position index) const
    {
        if (!scroll_ || line_.cursor() - scroll_->offset != scroll_->promptEnd)
            return false;
        const Position text = scroll::repainted(scroll_->margin);
        return at(index + text) == Char(scroll::marker)
            && std::ranges::equal(spanOf(source_, index, text), spanOf(line_.cells(), scroll_->promptEnd + 1, text));
    }

    // The line is known; the screen shows it unscrolled again, and the marker stands over a
    // character of it. Returns the marker's index.
    Position endRepaint(Position index)
    {
        line_.moveTo(scroll_->promptEnd + scroll_->margin);
        const Position marker = index + scroll::repainted(scroll_->margin);
        scroll_.reset();
        unshifted_ = false;
        return marker;
    }

    std::span<const Char> source_;
    Line &line_;
    std::optional<Scroll> scroll_;
    Position backspaceRun_ = 0; // BackSpaces that end at the current position
    bool matched_ = true;
    bool unshifted_ = false; // the BackSpaces of a further shift came, its redraw did not
    Position shiftedAt_ = 0; // the BackSpace that last began a further shift
};

template <class Char, class Line>
bool replay(std::span<const Char> source, Line &line)
{
    return ScrollReplay<Char, Line>(source, line).run();
}

// Gathers the characters and BackSpaces between two controls and replays them as one run on
// the terminal line; every other control acts on the line between two runs.
template <class Cell>
struct RebuildingReplay {
    TerminalLine<Cell> &line;
    std::vector<Cell> &run;
    // Where BackSpaces alone would leave the cursor after the run: a CUB goes no further left
    // than column 1, so it is at most this many BackSpaces.
    std::int64_t column = 0;

    // The run holds no BackSpace and no marker yet: replaying it only writes its characters.
    bool plain = true;
    bool matched = true; // every run's redraws kept to the scroll's shape

    // Inlined in the reading's loop, as put() is: GCC 12 left it out of line.
    [[gnu::always_inline]] void character(std::uint32_t code, int columns)
    {
        run.push_back(static_cast<Cell>(code));
        if (columns == 2)
            run.push_back(TerminalLine<Cell>::wideTail);
        column += columns;
        plain = plain && code != static_cast<std::uint32_t>(scroll::marker);
        // A long plain run goes onto the line at once but for its last two cells (and the head
        // of a wide character cut there), which a scroll marker that follows needs to see
        // before it; so a line of text takes no run as large as itself.
        if (plain && run.size() >= plainRunLimit) {
            const std::size_t kept = run[run.size() - 2] == TerminalLine<Cell>::wideTail ? 3 : 2;
            Cell last[3];
            std::copy(run.end() - static_cast<std::ptrdiff_t>(kept), run.end(), last);
            run.erase(run.end() - static_cast<std::ptrdiff_t>(kept), run.end());
            flush();
            run.assign(last, last + kept);
            column += static_cast<std::int64_t>(kept);
        }
    }
    void backspace()
    {
        run.push_back(backspaceCode);
        column = std::max<std::int64_t>(column - 1, 0);
        plain = false;
    }
    // The mark goes in the cell before the cursor, on the line.
    void combine(std::uint32_t mark)
    {
        flush();
        line.combine(mark);
    }
    void control(const Control &control)
    {
        if (control.kind == Control::Kind::Back) {
            const auto count = std::min(control.n, column);
            run.insert(run.end(), static_cast<std::size_t>(count), backspaceCode);
            column -= count;
            plain = plain && count == 0;
            return;
        }
        flush();
        line.apply(control);
        column = line.cursor();
    }
    void flush()
    {
        matched = replay(std::span<const Cell>(run), line) && matched;
        run.clear();
        column = line.cursor();
        plain = true;
    }

    static constexpr Cell backspaceCode = '\b';
    static constexpr std::size_t plainRunLimit = 1 << 16;
};

// None where the line's redraws left the scroll's shape (`matched` then false), or where the
// line drew lines in cells of single bytes, which cannot hold them.
template <class Cell>
std::optional<std::string_view> replayRebuilding(const LineCharacters &characters, TerminalLine<Cell> &terminalLine, std::vector<Cell> &run,
                                                 bool &matched)
{
    terminalLine.begin(characters);
    run.clear();
    RebuildingReplay<Cell> replay{terminalLine, run};
    const bool drewLines = readTerminalLine(characters, replay);
    replay.flush();
    matched = replay.matched;
    if (!replay.matched || (drewLines && sizeof(Cell) == 1))
        return std::nullopt;
    return terminalLine.text();
}

// Replays the line's characters, as numbers; false where the line's redraws left the scroll's
// shape.
template <class Number>
bool replayNumbers(const std::vector<Number> &source, std::vector<Number> &line)
{
    emptyFor(line, source.size());
    PlainLine plainLine(line);
    return replay(std::span<const Number>(source), plainLine);
}

// The rebuilt line's characters, no more bytes than the line's, each number's code found by
// `code`.
template <class Number, class Code>
std::string_view appendCodes(const std::vector<Number> &line, std::string &result, std::size_t bytes, Code code)
{
    emptyFor(result, bytes);
    for (const Number number : line)
        appendCharacter(result, code(number));
    return result;
}

} // namespace

std::string_view ScrolledLineRebuilder::rebuildWithControls(const LineCharacters &characters)
{
    // On bytes as BackspaceEraser::eraseWithControls has it, on codes where a byte cannot hold
    // one; as the scroll setting off writes it where the redraws left the scroll's shape.
    bool matched = true;
    if (characters.singleByte()) {
        if (const auto text = replayRebuilding(characters, narrowTerminalLine_, narrowRun_, matched))
            return *text;
    }
    if (matched) {
        if (const auto text = replayRebuilding(characters, wideTerminalLine_, wideSource_, matched))
            return *text;
    }
    return screen_.eraseWithControls(characters);
}

std::string_view ScrolledLineRebuilder::rebuild(std::string_view line)
{
    if (!std::memchr(line.data(), backspace, line.size()))
        return line;
    characters_.read(line, rule_);
    return rebuild(characters_);
}

std::string_view ScrolledLineRebuilder::rebuild(const LineCharacters &characters)
{
    const std::string_view line = characters.bytes();
    // Without BackSpaces every character is appended in turn and no marker can be one.
    if (!std::memchr(line.data(), backspace, line.size()))
        return line;
    // The rebuilt line holds no more characters than the line, each as long as there.
    if (characters.singleByte()) {
        emptyFor(narrowLine_, line.size());
        PlainLine plainLine(narrowLine_);
        if (!replay(std::span<const char>(line), plainLine))
            return screen_.erase(characters);
        return narrowLine_;
    }
    // Numbering costs a look-up a character, which pays only where a line's memory counts.
    constexpr std::size_t numberedFrom = 1 << 16;
    if (characters.count() >= numberedFrom && numberCharacters(characters)) {
        const bool matched = replayNumbers(numberedSource_, numberedLine_);
        // Given back before the result is written, so that the line's memory peaks no higher.
        numberedSource_ = {};
        if (!matched)
            return screen_.erase(characters);
        return appendCodes(numberedLine_, wideResult_, line.size(), [this](std::uint16_t number) {
            return number < firstNumber ? std::uint32_t(number) : numberedCodes_[number - firstNumber];
        });
    }
    numberedSource_ = {};
    emptyFor(wideSource_, characters.count());
    characters.forEachCode([this](std::uint32_t code) {
        wideSource_.push_back(code);
        return true;
    });
    if (!replayNumbers(wideSource_, wideLine_))
        return screen_.erase(characters);
    return appendCodes(wideLine_, wideResult_, line.size(), [](std::uint32_t code) { return code; });
}

bool ScrolledLineRebuilder::numberCharacters(const LineCharacters &characters)
{
    numbers_.clear();
    numberedCodes_.clear();
    emptyFor(numberedSource_, characters.count());
    return characters.forEachCode([this](std::uint32_t code) {
        if (code < firstNumber) {
            numberedSource_.push_back(static_cast<std::uint16_t>(code));
            return true;
        }
        auto known = numbers_.find(code);
        if (known == numbers_.end()) {
            if (numberedCodes_.size() == 0x10000 - firstNumber)
                return false;
            known = numbers_.emplace(code, static_cast<std::uint16_t>(firstNumber + numberedCodes_.size())).first;
            numberedCodes_.push_back(code);
        }
        numberedSource_.push_back(known->second);
        return true;
    });
}

} // namespace tarnwick
