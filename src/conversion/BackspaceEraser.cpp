#include "BackspaceEraser.h"

#include <algorithm>
#include <optional>
#include <cstring>

namespace tarnwick {

std::string_view BackspaceEraser::erase(const LineCharacters &characters)
{
    const std::string_view line = characters.bytes();
    if (!std::memchr(line.data(), '\b', line.size()))
        return line;
    return characters.singleByte() ? eraseBytes(line) : eraseCharacters(characters);
}

// Every character is one byte: the text between BackSpaces is copied as a whole.
std::string_view BackspaceEraser::eraseBytes(std::string_view line)
{
    emptyFor(kept_, line.size());
    kept_.resize(line.size());
    char *const kept = kept_.data();
    std::size_t size = 0;
    for (const char *p = line.data(), *end = p + line.size(); p < end;) {
        const auto *backspace = static_cast<const char *>(std::memchr(p, '\b', static_cast<std::size_t>(end - p)));
        const char *stop = backspace ? backspace : end;
        std::memcpy(kept + size, p, static_cast<std::size_t>(stop - p));
        size += static_cast<std::size_t>(stop - p);
        if (!backspace)
            break;
        if (size > 0)
            --size;
        p = backspace + 1;
    }
    kept_.resize(size);
    return kept_;
}

// From the end back, each BackSpace waits for the nearest character on its left that no later
// one took: a character is kept where none waits. So the kept ones need no record of their
// lengths, and fill the buffer from its end.
std::string_view BackspaceEraser::eraseCharacters(const LineCharacters &characters)
{
    const std::string_view line = characters.bytes();
    emptyFor(kept_, line.size());
    kept_.resize(line.size());
    std::size_t start = line.size(); // of the kept bytes
    std::size_t waiting = 0;
    for (std::size_t index = characters.count(), pos = line.size(); index-- > 0;) {
        const std::size_t length = characters.length(index);
        pos -= length;
        if (line[pos] == '\b') {
            ++waiting;
        } else if (waiting > 0) {
            --waiting;
        } else {
            start -= length;
            std::memcpy(kept_.data() + start, line.data() + pos, length);
        }
    }
    return std::string_view(kept_).substr(start);
}

namespace {

// Columns as a terminal counts them: a wide character takes two, so a shell's two BackSpaces
// erase it.
template <class Cell>
struct ErasingReplay {
    TerminalLine<Cell> &line;

    void character(std::uint32_t code, int columns) { line.put(code, columns); }
    void backspace() { back(1); }
    void combine(std::uint32_t mark) { line.combine(mark); }
    void control(const Control &control)
    {
        if (control.kind == Control::Kind::Back)
            back(control.n);
        else
            line.apply(control);
    }
    void back(std::int64_t count)
    {
        if (line.atEnd()) {
            for (auto erased = std::min<std::int64_t>(count, line.cursor()); erased > 0; --erased)
                line.removeLast();
        } else {
            line.moveLeft(count);
        }
    }
};

// None where the line drew lines in cells of single bytes, which cannot hold them.
template <class Cell>
std::optional<std::string_view> replayErasing(const LineCharacters &characters, TerminalLine<Cell> &terminalLine)
{
    terminalLine.begin(characters);
    ErasingReplay<Cell> replay{terminalLine};
    if (readTerminalLine(characters, replay) && sizeof(Cell) == 1)
        return std::nullopt;
    return terminalLine.text();
}

} // namespace

std::string_view BackspaceEraser::eraseWithControls(const LineCharacters &characters)
{
    // A line of single-byte text that draws lines writes characters of more bytes: replayed
    // again on codes, which no line without line drawing pays for.
    if (characters.singleByte()) {
        if (const auto text = replayErasing(characters, narrowLine_))
            return *text;
    }
    return *replayErasing(characters, wideLine_);
}

} // namespace tarnwick
