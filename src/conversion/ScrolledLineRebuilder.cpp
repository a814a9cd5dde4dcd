#include "ScrolledLineRebuilder.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace tarnwick {

namespace {

// Positions count characters from 1, as on the terminal; they are wide so that a line of any
// length is handled by the same rules.
using Position = std::int64_t;

constexpr char backspace = '\b';
constexpr char blank = ' ';

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
bool isRunOf(std::span<const Char> s, char c, std::size_t count)
{
    return s.size() == count && std::ranges::all_of(s, [c](Char x) { return x == Char(c); });
}

// Replays source onto line, from the cursor (the columns left of it; the next character goes to
// cursor + 1). Char is char for lines of single-byte characters and a character code
// otherwise; Line is a contiguous container of Char.
//
// A line editor scrolls a command that reaches its margin (the columns after the prompt) by
// moving back to the prompt's end with as many BackSpaces and redrawing: a "$", the command
// from a later character on, and some blanks over the old end with as many BackSpaces back.
// How far it shifts shows in those blanks: IOS writes 9 and hides 11 characters the first time,
// 10 more each further time (from the column after the "$"); IOS-XR writes 26 at 80 columns
// and hides 28. IOS-XR also repaints the line from its start on Enter: the command's first
// characters up to the margin, then a "$" in the margin's last column.
template <class Char, class Line>
void replay(std::span<const Char> source, Line &line, Position &cursor)
{
    Position scrollCount = 0;    // 0 until a scroll marker is confirmed
    Position markerDistance = 0; // BackSpaces directly before the confirmed marker: the margin
    Position promptEnd = 0;      // the cursor at the confirmed marker
    Position offset = 0;         // how many columns the scrolls have shifted the screen left
    Position backspaceRun = 0;   // BackSpaces that end at the current position

    const auto lineSpan = [&] { return std::span<const Char>(line.data(), line.size()); };
    const auto at = [&](Position index) { return index >= 1 && index <= std::ssize(source) ? source[static_cast<std::size_t>(index - 1)] : Char(0); };
    const auto write = [&](Char ch) {
        ++cursor;
        if (std::ssize(line) < cursor)
            line.push_back(ch);
        else
            line[static_cast<std::size_t>(cursor - 1)] = ch;
    };
    // The `blanks` blanks and as many BackSpaces with which a redraw ends, behind its text.
    const auto redrawTailAt = [&](Position index, Position blanks) {
        return isRunOf(spanOf(source, index + markerDistance - blanks, blanks), blank, static_cast<std::size_t>(blanks))
            && isRunOf(spanOf(source, index + markerDistance, blanks), backspace, static_cast<std::size_t>(blanks));
    };
    // The blanks the redraw after `index` ends in as the echo shows them: the run before its
    // BackSpaces, no longer than they are.
    const auto shownBlanks = [&](Position index) {
        const Position end = index + markerDistance; // the first BackSpace
        if (at(end - 1) != Char(blank) || at(end) != Char(backspace))
            return Position(0);
        Position blanks = 1;
        while (blanks < markerDistance && at(end - 1 - blanks) == Char(blank))
            ++blanks;
        Position backspaces = 1;
        while (backspaces < blanks && at(end + backspaces) == Char(backspace))
            ++backspaces;
        return backspaces;
    };
    // The redrawn characters but the last (just typed) stand on the virtual line from `from` on.
    const auto redrawMatches = [&](Position index, Position from, Position blanks) {
        const Position shown = markerDistance - blanks - 2;
        return sameTrimmed(spanOf(source, index + 1, shown), spanOf(lineSpan(), from, shown));
    };
    // The blanks of a redraw after `index` that shows the line from `from` + blanks on: IOS's
    // 9 first, so that its results never change, else as many as the echo shows; 0 for none.
    const auto redrawBlanks = [&](Position index, Position from) {
        for (const Position blanks : {Position(9), shownBlanks(index)}) {
            if (blanks > 0 && markerDistance >= blanks + 2 && redrawTailAt(index, blanks) && redrawMatches(index, from + blanks, blanks))
                return blanks;
        }
        return Position(0);
    };
    // A repaint from the prompt's end: the command's first characters up to the margin, "$".
    const auto repaintAt = [&](Position index) {
        return at(index + markerDistance - 1) == Char('$')
            && std::ranges::equal(spanOf(source, index, markerDistance - 1), spanOf(lineSpan(), promptEnd + 1, markerDistance - 1));
    };

    const Position length = std::ssize(source);
    for (Position index = 1; index <= length; ++index) {
        const Char ch = source[static_cast<std::size_t>(index - 1)];
        const Position backspacesBefore = backspaceRun;
        backspaceRun = ch == Char(backspace) ? backspacesBefore + 1 : 0;

        if (ch == Char(backspace)) {
            if (std::ssize(line) == cursor && cursor > 0 && line.back() == Char(blank))
                line.pop_back();
            // A further shift: the last of (marker distance - 1) BackSpaces, followed by the
            // redraw.
            const Position shift = scrollCount > 0 && markerDistance < index && backspaceRun >= markerDistance - 1
                ? redrawBlanks(index, cursor + 1)
                : 0;
            if (shift > 0) {
                ++scrollCount;
                cursor += shift;
                offset += shift + 1;
            } else if (cursor > 0) {
                --cursor;
            }
            continue;
        }

        if (scrollCount > 0 && cursor - offset == promptEnd && repaintAt(index)) {
            // The line is known; the screen shows it unscrolled again, and the "$" stands over
            // a character of it.
            cursor = promptEnd + markerDistance;
            index += markerDistance - 1;
            scrollCount = 0;
            offset = 0;
            continue;
        }

        if (ch == Char('$') && cursor > 0 && scrollCount == 0) {
            markerDistance = 0;
            const bool afterPrompt = cursor <= std::ssize(line)
                && (line[static_cast<std::size_t>(cursor - 1)] == Char('#') || line[static_cast<std::size_t>(cursor - 1)] == Char('>'));
            if (afterPrompt) {
                // The backward scan over the BackSpaces before the "$" stops at position 1.
                const Position scan = std::max<Position>(index - 1 - backspacesBefore, 1);
                if (scan > 1) {
                    markerDistance = index - scan - 1;
                    // With too few BackSpaces for a redraw's "$", text and blanks, the "$" is typed.
                    if (const Position blanks = redrawBlanks(index, cursor + 3)) {
                        scrollCount = 1;
                        promptEnd = cursor;
                        offset = blanks + 1;
                        cursor += blanks + 2;
                        continue;
                    }
                }
            }
        }
        write(ch);
    }
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

    // The run holds no BackSpace and no "$" yet: replaying it only writes its characters.
    bool plain = true;

    void character(std::uint32_t code)
    {
        run.push_back(static_cast<Cell>(code));
        ++column;
        plain = plain && code != '$';
        // A long plain run goes onto the line at once but for its last two characters, which a
        // scroll marker that follows needs to see before it; so a line of text takes no run as
        // large as itself.
        if (plain && run.size() >= plainRunLimit) {
            const Cell last[2] = {run[run.size() - 2], run.back()};
            run.resize(run.size() - 2);
            flush();
            run.assign(std::begin(last), std::end(last));
            column += 2;
        }
    }
    void backspace()
    {
        run.push_back(backspaceCode);
        column = std::max<std::int64_t>(column - 1, 0);
        plain = false;
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
        column = line.cursor;
    }
    void flush()
    {
        replay(std::span<const Cell>(run), line.cells, line.cursor);
        run.clear();
        column = line.cursor;
        plain = true;
    }

    static constexpr Cell backspaceCode = '\b';
    static constexpr std::size_t plainRunLimit = 1 << 16;
};

template <class Cell>
std::string_view replayRebuilding(std::string_view line, CharacterRule rule, TerminalLine<Cell> &terminalLine, std::vector<Cell> &run)
{
    terminalLine.begin(line, rule);
    run.clear();
    RebuildingReplay<Cell> replay{terminalLine, run};
    readTerminalLine(line, rule, replay);
    replay.flush();
    return terminalLine.text();
}

// Replays the line's characters, as numbers, and appends the rebuilt line's to `result`,
// each number's code found by `code`.
template <class Number, class Code>
void replayNumbers(const std::vector<Number> &source, std::vector<Number> &line, std::string &result, Code code)
{
    emptyFor(line, source.size());
    Position cursor = 0;
    replay(std::span<const Number>(source), line, cursor);
    for (const Number number : line)
        appendCharacter(result, code(number));
}

} // namespace

std::string_view ScrolledLineRebuilder::rebuildWithControls(std::string_view line)
{
    if (isSingleByteText(line))
        return replayRebuilding(line, rule_, narrowTerminalLine_, narrowRun_);
    return replayRebuilding(line, rule_, wideTerminalLine_, wideSource_);
}

std::string_view ScrolledLineRebuilder::rebuild(std::string_view line)
{
    // Without BackSpaces every character is appended in turn and no "$" can be a marker.
    if (!std::memchr(line.data(), backspace, line.size()))
        return line;
    // The rebuilt line holds no more characters than the line, each as long as there.
    if (isSingleByteText(line)) {
        emptyFor(narrowLine_, line.size());
        Position cursor = 0;
        replay(std::span<const char>(line), narrowLine_, cursor);
        return narrowLine_;
    }
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < line.size(); pos += characterLength(rule_, line, pos))
        ++characters;
    emptyFor(wideResult_, line.size());
    // Numbering costs a look-up a character, which pays only where a line's memory counts.
    constexpr std::size_t numberedFrom = 1 << 16;
    if (characters >= numberedFrom && numberCharacters(line, characters)) {
        replayNumbers(numberedSource_, numberedLine_, wideResult_, [this](std::uint16_t number) {
            return number < firstNumber ? std::uint32_t(number) : numberedCodes_[number - firstNumber];
        });
        return wideResult_;
    }
    numberedSource_ = {};
    emptyFor(wideSource_, characters);
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = characterLength(rule_, line, pos);
        wideSource_.push_back(characterCode(line, pos, length));
        pos += length;
    }
    replayNumbers(wideSource_, wideLine_, wideResult_, [](std::uint32_t code) { return code; });
    return wideResult_;
}

bool ScrolledLineRebuilder::numberCharacters(std::string_view line, std::size_t characters)
{
    numbers_.clear();
    numberedCodes_.clear();
    emptyFor(numberedSource_, characters);
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = characterLength(rule_, line, pos);
        const std::uint32_t code = characterCode(line, pos, length);
        pos += length;
        if (code < firstNumber) {
            numberedSource_.push_back(static_cast<std::uint16_t>(code));
            continue;
        }
        auto known = numbers_.find(code);
        if (known == numbers_.end()) {
            if (numberedCodes_.size() == 0x10000 - firstNumber)
                return false;
            known = numbers_.emplace(code, static_cast<std::uint16_t>(firstNumber + numberedCodes_.size())).first;
            numberedCodes_.push_back(code);
        }
        numberedSource_.push_back(known->second);
    }
    return true;
}

} // namespace tarnwick
