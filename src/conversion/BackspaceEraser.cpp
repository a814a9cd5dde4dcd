#include "BackspaceEraser.h"

#include "CharacterWidth.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

std::string_view BackspaceEraser::erase(std::string_view line)
{
    if (!std::memchr(line.data(), '\b', line.size()))
        return line;
    return isSingleByteText(line) ? eraseBytes(line) : eraseCharacters(line);
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

std::string_view BackspaceEraser::eraseCharacters(std::string_view line)
{
    // Each character kept is one of the line's, of as many bytes.
    emptyFor(kept_, line.size());
    emptyFor(keptLengths_, line.size());
    for (std::size_t pos = 0; pos < line.size();) {
        if (line[pos] == '\b') {
            if (!keptLengths_.empty()) {
                kept_.resize(kept_.size() - keptLengths_.back());
                keptLengths_.pop_back();
            }
            ++pos;
            continue;
        }
        const std::size_t length = characterLength(rule_, line, pos);
        kept_.append(line.data() + pos, length);
        keptLengths_.push_back(static_cast<std::uint8_t>(length));
        pos += length;
    }
    return kept_;
}

namespace {

// Columns as a terminal counts them: a wide character takes two, so a shell's two BackSpaces
// erase it.
template <class Cell>
struct ErasingReplay {
    TerminalLine<Cell> &line;
    CharacterRule rule;

    void character(std::uint32_t code) { line.put(code, columnsOf(code, rule)); }
    void backspace() { back(1); }
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
            for (auto erased = std::min<std::int64_t>(count, line.cursor); erased > 0; --erased)
                line.removeLast();
        } else {
            line.cursor = std::max<std::int64_t>(line.cursor - count, 0);
        }
    }
};

template <class Cell>
std::string_view replayErasing(std::string_view line, CharacterRule rule, TerminalLine<Cell> &terminalLine)
{
    terminalLine.begin(line, rule);
    ErasingReplay<Cell> replay{terminalLine, rule};
    readTerminalLine(line, rule, replay);
    return terminalLine.text();
}

} // namespace

std::string_view BackspaceEraser::eraseWithControls(std::string_view line)
{
    return isSingleByteText(line) ? replayErasing(line, rule_, narrowLine_) : replayErasing(line, rule_, wideLine_);
}

} // namespace tarnwick
