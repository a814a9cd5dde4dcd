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
template <class Char, class Line>
void replay(std::span<const Char> source, Line &line, Position &cursor)
{
    Position scrollCount = 0;    // 0 until a scroll marker is confirmed
    Position markerDistance = 0; // BackSpaces directly before the confirmed marker
    Position backspaceRun = 0;   // BackSpaces that end at the current position

    const auto lineSpan = [&] { return std::span<const Char>(line.data(), line.size()); };
    const auto write = [&](Char ch) {
        ++cursor;
        if (std::ssize(line) < cursor)
            line.push_back(ch);
        else
            line[static_cast<std::size_t>(cursor - 1)] = ch;
    };
    // The 9 blanks and 9 BackSpaces with which every redraw ends, behind the redrawn text.
    const auto redrawTailAt = [&](Position index) {
        return isRunOf(spanOf(source, index + markerDistance - 9, 9), blank, 9)
            && isRunOf(spanOf(source, index + markerDistance, 9), backspace, 9);
    };
    // The redrawn characters that already stand on the virtual line, from column `from` on.
    const auto redrawMatches = [&](Position index, Position from) {
        return sameTrimmed(spanOf(source, index + 1, markerDistance - 11), spanOf(lineSpan(), from, markerDistance - 11));
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
            // redraw. The tests have no side effects, so the cheap tail test goes before the
            // content comparison.
            const bool furtherShift = scrollCount > 0 && markerDistance < index
                && backspaceRun >= markerDistance - 1 && redrawTailAt(index) && redrawMatches(index, cursor + 10);
            if (furtherShift) {
                ++scrollCount;
                cursor += 9;
            } else if (cursor > 0) {
                --cursor;
            }
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
                    // Fewer than 11 BackSpaces cannot be a scroll redraw: such a "$" is typed text.
                    if (markerDistance >= 11 && redrawTailAt(index) && redrawMatches(index, cursor + 12)) {
                        scrollCount = 1;
                        cursor += 11;
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
struct RebuildingReplay {
    TerminalLine &line;
    std::vector<std::uint32_t> &run;
    // Where BackSpaces alone would leave the cursor after the run: a CUB goes no further left
    // than column 1, so it is at most this many BackSpaces.
    std::int64_t column = 0;

    // The run holds no BackSpace and no "$" yet: replaying it only writes its characters.
    bool plain = true;

    void character(std::uint32_t code)
    {
        run.push_back(code);
        ++column;
        plain = plain && code != '$';
        // A long plain run goes onto the line at once but for its last two characters, which a
        // scroll marker that follows needs to see before it; so a line of text takes no run as
        // large as itself.
        if (plain && run.size() >= plainRunLimit) {
            const std::uint32_t last[2] = {run[run.size() - 2], run.back()};
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
        replay(std::span<const std::uint32_t>(run), line.cells, line.cursor);
        run.clear();
        column = line.cursor;
        plain = true;
    }

    static constexpr std::uint32_t backspaceCode = '\b';
    static constexpr std::size_t plainRunLimit = 1 << 16;
};

} // namespace

std::string_view ScrolledLineRebuilder::rebuildWithControls(std::string_view line)
{
    terminalLine_.begin(line, rule_);
    wideSource_.clear();
    RebuildingReplay replay{terminalLine_, wideSource_};
    readTerminalLine(line, rule_, replay);
    replay.flush();
    return terminalLine_.text();
}

std::string_view ScrolledLineRebuilder::rebuild(std::string_view line)
{
    // Without BackSpaces every character is appended in turn and no "$" can be a marker.
    if (!std::memchr(line.data(), backspace, line.size()))
        return line;
    if (isSingleByteText(line)) {
        narrowLine_.clear();
        Position cursor = 0;
        replay(std::span<const char>(line), narrowLine_, cursor);
        return narrowLine_;
    }
    wideSource_.clear();
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = characterLength(rule_, line, pos);
        wideSource_.push_back(characterCode(line, pos, length));
        pos += length;
    }
    wideLine_.clear();
    Position cursor = 0;
    replay(std::span<const std::uint32_t>(wideSource_), wideLine_, cursor);
    wideResult_.clear();
    for (const std::uint32_t code : wideLine_)
        appendCharacter(wideResult_, code);
    return wideResult_;
}

} // namespace tarnwick
