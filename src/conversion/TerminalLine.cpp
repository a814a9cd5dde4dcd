#include "TerminalLine.h"

#include "CharacterWidth.h"

#include <algorithm>
#include <bit>

namespace tarnwick {

namespace terminal {

namespace {
constexpr std::int64_t parameterLimit = 1 << 20;
}

void CsiReader::take(char c)
{
    if (c >= '0' && c <= '9') {
        if (index_ < 2)
            values_[index_] = std::min(values_[index_] * 10 + (c - '0'), parameterLimit);
    } else if (c == ';') {
        ++index_;
    } else {
        ignored_ = true; // ":", a private marker, an intermediate
    }
}

bool CsiReader::control(char final, Control &control) const
{
    if (ignored_)
        return false;
    const std::int64_t first = values_[0];
    const std::int64_t n = std::max<std::int64_t>(first, 1);
    switch (final) {
    case 'D': control = {Control::Kind::Back, n}; return true;
    case 'C': control = {Control::Kind::Forward, n}; return true;
    case 'G':
    case '`': control = {Control::Kind::Column, n}; return true;
    case 'H':
    case 'f': control = {Control::Kind::Column, std::max<std::int64_t>(values_[1], 1)}; return true;
    case 'K':
    case 'J': control = {Control::Kind::EraseLine, first}; return first <= 3;
    case 'X': control = {Control::Kind::EraseCharacters, n}; return true;
    case 'P': control = {Control::Kind::DeleteCharacters, n}; return true;
    case '@': control = {Control::Kind::InsertCharacters, n}; return true;
    default: return false;
    }
}

} // namespace terminal

namespace {
template <class Cell>
constexpr Cell blank = ' ';
}

bool holdsControls(std::string_view line)
{
    return std::ranges::any_of(line, isControlByte);
}

namespace {
// Cell operations that one line may spend on erasures, insertions and moves, per byte and per
// cell of its margin: far above what real captures need (a few per byte at most).
constexpr std::int64_t allowancePerCell = 64;

// A line's characters, which set its margin, and the cells they fill when written in turn.
struct Extent {
    std::int64_t characters = 0;
    std::int64_t cells = 0;
};

Extent extentOf(std::string_view line, CharacterRule rule)
{
    if (isSingleByteText(line))
        return {std::ssize(line), std::ssize(line)};
    Extent extent;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = characterLength(rule, line, pos);
        ++extent.characters;
        extent.cells += columnsOf(characterCode(line, pos, length), rule);
        pos += length;
    }
    return extent;
}
} // namespace

template <class Cell>
void TerminalLine<Cell>::begin(std::string_view line, CharacterRule rule)
{
    const Extent extent = extentOf(line, rule);
    emptyFor(cells, static_cast<std::size_t>(std::max(minimumMargin, extent.cells)));
    cursor = 0;
    margin_ = std::max(minimumMargin, extent.characters);
    allowance_ = allowancePerCell * (std::ssize(line) + margin_);
}

template <class Cell>
bool TerminalLine<Cell>::spend(std::int64_t count)
{
    if (count > allowance_)
        return false;
    allowance_ -= count;
    return true;
}

template <class Cell>
void TerminalLine<Cell>::splitAt(std::int64_t column)
{
    if (column > 0 && column < std::ssize(cells) && cells[static_cast<std::size_t>(column)] == wideTail)
        cells[static_cast<std::size_t>(column - 1)] = cells[static_cast<std::size_t>(column)] = blank<Cell>;
}

template <class Cell>
void TerminalLine<Cell>::put(std::uint32_t code, int columns)
{
    splitAt(cursor);
    splitAt(cursor + columns);
    for (int i = 0; i < columns; ++i) {
        const Cell cell = i == 0 ? static_cast<Cell>(code) : wideTail;
        if (atEnd())
            cells.push_back(cell);
        else
            cells[static_cast<std::size_t>(cursor)] = cell;
        ++cursor;
    }
}

template <class Cell>
void TerminalLine<Cell>::removeLast()
{
    const bool tail = cells.back() == wideTail;
    cells.pop_back();
    if (tail)
        cells.back() = blank<Cell>;
    cursor = std::ssize(cells);
}

template <class Cell>
void TerminalLine<Cell>::moveTo(std::int64_t column)
{
    cursor = std::clamp<std::int64_t>(column, 0, margin_ - 1);
    const auto size = std::ssize(cells);
    if (cursor <= size)
        return;
    if (spend(cursor - size))
        cells.resize(static_cast<std::size_t>(cursor), blank<Cell>);
    else
        cursor = size;
}

template <class Cell>
void TerminalLine<Cell>::apply(const Control &control)
{
    const auto size = std::ssize(cells);
    const auto from = std::min(cursor, size);
    const auto upTo = [&](std::int64_t count) { return std::min(cursor + count, size); };
    const auto at = [&](std::int64_t column) { return cells.begin() + static_cast<std::ptrdiff_t>(column); };
    // Where the control's cells begin and end, a wide character cut in two is blanked.
    const auto cut = [&](std::int64_t first, std::int64_t end) {
        splitAt(first);
        splitAt(end);
    };
    switch (control.kind) {
    case Control::Kind::Back:
        break;
    case Control::Kind::Forward:
        moveTo(cursor + control.n);
        break;
    case Control::Kind::Column:
        moveTo(control.n - 1);
        break;
    case Control::Kind::EraseLine:
        if (control.n == 0) {
            splitAt(from);
            cells.resize(static_cast<std::size_t>(from));
        } else if (control.n == 1 && spend(upTo(1))) {
            splitAt(upTo(1));
            std::fill(cells.begin(), at(upTo(1)), blank<Cell>);
        }
        else if (control.n > 1 && spend(size))
            std::fill(cells.begin(), cells.end(), blank<Cell>);
        break;
    case Control::Kind::EraseCharacters:
        if (spend(upTo(control.n) - from)) {
            cut(from, upTo(control.n));
            std::fill(at(from), at(upTo(control.n)), blank<Cell>);
        }
        break;
    case Control::Kind::DeleteCharacters:
        if (spend(size - from)) {
            cut(from, upTo(control.n));
            cells.erase(at(from), at(upTo(control.n)));
        }
        break;
    case Control::Kind::InsertCharacters: {
        const auto count = std::clamp<std::int64_t>(margin_ - from, 0, control.n);
        if (count == 0 || !spend(size - from + count))
            break;
        splitAt(from);
        cells.insert(at(from), static_cast<std::size_t>(count), blank<Cell>);
        const auto kept = std::max(margin_, size);
        if (std::ssize(cells) > kept) {
            splitAt(kept);
            cells.resize(static_cast<std::size_t>(kept));
        }
        break;
    }
    }
}

template <class Cell>
std::string_view TerminalLine<Cell>::text()
{
    if constexpr (sizeof(Cell) == 1) {
        return {cells.data(), cells.size()};
    } else {
        std::size_t bytes = 0;
        for (const Cell code : cells)
            bytes += static_cast<std::size_t>(std::bit_width(code) + 7) / 8; // the tail's 0 takes none
        emptyFor(text_, bytes);
        for (const Cell code : cells) {
            if (code != wideTail)
                appendCharacter(text_, code);
        }
        return text_;
    }
}

template class TerminalLine<char>;
template class TerminalLine<std::uint32_t>;

} // namespace tarnwick
