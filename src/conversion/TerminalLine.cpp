#include "TerminalLine.h"

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
    case 'C':
    case 'a': control = {Control::Kind::Forward, n}; return true;
    case 'G':
    case '`': control = {Control::Kind::Column, n}; return true;
    case 'H':
    case 'f': control = {Control::Kind::Position, n, std::max<std::int64_t>(values_[1], 1)}; return true;
    case 'K': control = {Control::Kind::EraseLine, first}; return first <= 2;
    case 'J': control = {Control::Kind::EraseDisplay, first}; return first <= 3;
    case 'A': control = {Control::Kind::Up, n}; return true;
    case 'B': control = {Control::Kind::Down, n}; return true;
    case 'E': control = {Control::Kind::NextLine, n}; return true;
    case 'F': control = {Control::Kind::PreviousLine, n}; return true;
    case 'd': control = {Control::Kind::Row, n}; return true;
    case 'L': control = {Control::Kind::InsertLines, n}; return true;
    case 'M': control = {Control::Kind::DeleteLines, n}; return true;
    case 'S': control = {Control::Kind::ScrollUp, n}; return true;
    case 'T': control = {Control::Kind::ScrollDown, n}; return true;
    case 'X': control = {Control::Kind::EraseCharacters, n}; return true;
    case 'P': control = {Control::Kind::DeleteCharacters, n}; return true;
    case '@': control = {Control::Kind::InsertCharacters, n}; return true;
    case 'I': control = {Control::Kind::TabForward, n}; return true;
    case 'Z': control = {Control::Kind::TabBack, n}; return true;
    case 'h':
    case 'l': control = {Control::Kind::InsertMode, final == 'h'}; return first == 4;
    case 'b': control = {Control::Kind::Repeat, n}; return true;
    case 's': control = {Control::Kind::SaveCursor, 0}; return true;
    case 'u': control = {Control::Kind::RestoreCursor, 0}; return true;
    default: return false;
    }
}

} // namespace terminal

bool holdsControls(std::string_view line)
{
    if (std::ranges::any_of(line, isControlByte))
        return true;
    for (std::size_t pos = line.find(c1Lead); pos != std::string_view::npos; pos = line.find(c1Lead, pos + 1)) {
        if (isC1Control(line, pos))
            return true;
    }
    return false;
}

namespace {

// DEC Special Graphics from 0x60 on, as xterm shows it: ◆▒␉␌␍␊°±␤␋┘┐┌└┼⎺⎻─⎼⎽├┤┴┬│≤≥π≠£·
constexpr char16_t specialGraphics[] = u"\u25C6\u2592\u2409\u240C\u240D\u240A\u00B0\u00B1\u2424\u240B\u2518\u2510\u250C\u2514"
                                       u"\u253C\u23BA\u23BB\u2500\u23BC\u23BD\u251C\u2524\u2534\u252C\u2502\u2264\u2265\u03C0"
                                       u"\u2260\u00A3\u00B7";
constexpr std::size_t specialGraphicsCount = std::size(specialGraphics) - 1;
constexpr std::uint32_t firstSpecialGraphic = 0x60;

std::string utf8Text(char16_t c)
{
    std::string text;
    if (c < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else {
        text.push_back(static_cast<char>(0xE0 | (c >> 12)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    return text;
}

} // namespace

std::uint32_t lineDrawingCode(std::uint32_t code, CharacterRule rule)
{
    static const auto codes = [] {
        std::array<std::array<std::uint32_t, specialGraphicsCount>, 2> table{};
        for (std::size_t i = 0; i < specialGraphicsCount; ++i) {
            const std::string utf8 = utf8Text(specialGraphics[i]);
            table[0][i] = characterCode(utf8, 0, utf8.size());
            const auto sjis = shiftJisText(std::u16string_view(&specialGraphics[i], 1));
            const bool one = sjis && !sjis->empty() && sjis->size() <= 2 && characterLength(CharacterRule::ShiftJis, *sjis, 0) == sjis->size();
            table[1][i] = one ? characterCode(*sjis, 0, sjis->size()) : firstSpecialGraphic + static_cast<std::uint32_t>(i);
        }
        return table;
    }();
    if (code < firstSpecialGraphic || code >= firstSpecialGraphic + specialGraphicsCount)
        return code;
    return codes[rule == CharacterRule::ShiftJis ? 1 : 0][code - firstSpecialGraphic];
}

namespace {
// Cell operations that one line may spend on erasures, insertions and moves, per byte and per
// cell of its margin: far above what real captures need (a few per byte at most).
constexpr std::int64_t allowancePerCell = 64;
// A terminal's tab stops, at its start.
constexpr std::int64_t tabWidth = 8;
} // namespace

template <class Cell>
void TerminalLine<Cell>::begin(const LineCharacters &characters)
{
    // Room for the line's characters written in turn.
    emptyFor(cells_, static_cast<std::size_t>(std::max(minimumMargin, characters.columns())));
    cursor_ = 0;
    saved_ = 0;
    inserting_ = false;
    tabs_ = false;
    combined_.clear();
    combinedAt_.clear();
    margin_ = std::max(minimumMargin, static_cast<std::int64_t>(characters.count()));
    allowance_ = allowanceFor(characters);
    sharedAllowance_ = nullptr;
}

template <class Cell>
std::int64_t TerminalLine<Cell>::allowanceFor(const LineCharacters &characters)
{
    return allowancePerCell * (std::ssize(characters.bytes()) + std::max(minimumMargin, static_cast<std::int64_t>(characters.count())));
}

template <class Cell>
void TerminalLine<Cell>::resume(const LineCharacters &characters, std::int64_t &allowance)
{
    margin_ = std::max(margin_, static_cast<std::int64_t>(characters.count()));
    sharedAllowance_ = &allowance;
}

template <class Cell>
void TerminalLine<Cell>::clear()
{
    cells_.assign(static_cast<std::size_t>(cursor_), blank);
    tabs_ = false;
    combined_.clear();
    combinedAt_.clear();
}

template <class Cell>
std::string_view TerminalLine<Cell>::combinedBytes(std::uint32_t code) const
{
    const std::size_t index = (code >> 8) - 1;
    const std::size_t end = index + 1 < combinedAt_.size() ? combinedAt_[index + 1] : combined_.size();
    return std::string_view(combined_).substr(combinedAt_[index], end - combinedAt_[index]);
}

template <class Cell>
void TerminalLine<Cell>::combine(std::uint32_t mark)
{
    if constexpr (sizeof(Cell) > 1) {
        std::int64_t column = cursor_ - 1;
        if (column > 0 && cells_[static_cast<std::size_t>(column)] == wideTail)
            --column;
        if (column < 0 || combinedAt_.size() + 1 >= (std::size_t(1) << 24))
            return;
        Cell &cell = cells_[static_cast<std::size_t>(column)];
        // The bytes the cell holds, then the mark's: in place where they are the last of
        // combined_, else as its new last.
        std::string bytes;
        if (holdsMarks(cell))
            bytes = combinedBytes(cell);
        else
            appendCharacter(bytes, cell == tabStart || cell == tabFill ? blank : cell);
        const std::size_t markSize = static_cast<std::size_t>(std::bit_width(mark) + 7) / 8;
        if (bytes.size() + markSize > combinedMost)
            return;
        if (!holdsMarks(cell) || (cell >> 8) != combinedAt_.size()) {
            combinedAt_.push_back(static_cast<std::uint32_t>(combined_.size()));
            combined_.append(bytes);
            cell = combinedCode(combinedAt_.size() - 1);
        }
        appendCharacter(combined_, mark);
    } else {
        (void)mark;
    }
}

template <class Cell>
bool TerminalLine<Cell>::spend(std::int64_t count)
{
    std::int64_t &left = sharedAllowance_ ? *sharedAllowance_ : allowance_;
    if (count > left)
        return false;
    left -= count;
    return true;
}

template <class Cell>
void TerminalLine<Cell>::splitAt(std::int64_t column)
{
    if (column > 0 && column < std::ssize(cells_) && cells_[static_cast<std::size_t>(column)] == wideTail)
        cells_[static_cast<std::size_t>(column - 1)] = cells_[static_cast<std::size_t>(column)] = blank;
}

template <class Cell>
void TerminalLine<Cell>::overwrite(std::uint32_t code, int columns)
{
    if (inserting_ && !atEnd())
        apply({Control::Kind::InsertCharacters, columns});
    splitAt(cursor_);
    splitAt(cursor_ + columns);
    for (int i = 0; i < columns; ++i) {
        const Cell cell = i == 0 ? static_cast<Cell>(code) : wideTail;
        if (atEnd())
            cells_.push_back(cell);
        else
            cells_[static_cast<std::size_t>(cursor_)] = cell;
        ++cursor_;
    }
}

template <class Cell>
void TerminalLine<Cell>::tab()
{
    const auto stop = std::min((cursor_ / tabWidth + 1) * tabWidth, margin_ - 1);
    if (stop <= cursor_)
        return;
    if (!atEnd()) {
        moveTo(stop);
    } else if (spend(stop - cursor_)) {
        cells_.push_back(tabStart);
        cells_.resize(static_cast<std::size_t>(stop), tabFill);
        cursor_ = stop;
        tabs_ = true;
    }
}

template <class Cell>
std::size_t TerminalLine<Cell>::appendTab(std::size_t first)
{
    std::size_t end = first + 1;
    while (end < cells_.size() && cells_[end] == tabFill)
        ++end;
    if (cells_[first] == tabStart && static_cast<std::int64_t>(end) == (static_cast<std::int64_t>(first) / tabWidth + 1) * tabWidth)
        text_.push_back('\t');
    else
        text_.append(end - first, ' ');
    return end;
}

template <class Cell>
void TerminalLine<Cell>::removeLast()
{
    const bool tail = cells_.back() == wideTail;
    cells_.pop_back();
    if (tail)
        cells_.back() = blank;
    cursor_ = std::ssize(cells_);
}

template <class Cell>
void TerminalLine<Cell>::moveTo(std::int64_t column)
{
    cursor_ = std::clamp<std::int64_t>(column, 0, margin_ - 1);
    const auto size = std::ssize(cells_);
    if (cursor_ <= size)
        return;
    if (spend(cursor_ - size))
        cells_.resize(static_cast<std::size_t>(cursor_), blank);
    else
        cursor_ = size;
}

template <class Cell>
void TerminalLine<Cell>::apply(const Control &control)
{
    const auto size = std::ssize(cells_);
    const auto from = std::min(cursor_, size);
    const auto upTo = [&](std::int64_t count) { return std::min(cursor_ + count, size); };
    const auto at = [&](std::int64_t column) { return cells_.begin() + static_cast<std::ptrdiff_t>(column); };
    // Where the control's cells begin and end, a wide character cut in two is blanked.
    const auto cut = [&](std::int64_t first, std::int64_t end) {
        splitAt(first);
        splitAt(end);
    };
    switch (control.kind) {
    case Control::Kind::Back:
        break;
    case Control::Kind::Forward:
        moveTo(cursor_ + control.n);
        break;
    case Control::Kind::Column:
        moveTo(control.n - 1);
        break;
    case Control::Kind::EraseLine:
        if (control.n == 0) {
            splitAt(from);
            cells_.resize(static_cast<std::size_t>(from));
        } else if (control.n == 1 && spend(upTo(1))) {
            splitAt(upTo(1));
            std::fill(cells_.begin(), at(upTo(1)), blank);
        }
        else if (control.n > 1 && spend(size))
            std::fill(cells_.begin(), cells_.end(), blank);
        break;
    case Control::Kind::EraseCharacters:
        if (spend(upTo(control.n) - from)) {
            cut(from, upTo(control.n));
            std::fill(at(from), at(upTo(control.n)), blank);
        }
        break;
    case Control::Kind::DeleteCharacters:
        if (spend(size - from)) {
            cut(from, upTo(control.n));
            cells_.erase(at(from), at(upTo(control.n)));
        }
        break;
    case Control::Kind::TabForward:
        moveTo((cursor_ / tabWidth + control.n) * tabWidth);
        break;
    case Control::Kind::Tab:
        tab();
        break;
    case Control::Kind::TabBack:
        cursor_ = cursor_ == 0 ? 0 : std::max<std::int64_t>((cursor_ - 1) / tabWidth - (control.n - 1), 0) * tabWidth;
        break;
    case Control::Kind::Repeat: // the reading writes the characters itself
        break;
    case Control::Kind::InsertMode:
        inserting_ = control.n != 0;
        break;
    case Control::Kind::SaveCursor:
        saved_ = cursor_;
        break;
    case Control::Kind::RestoreCursor:
        moveTo(saved_);
        break;
    case Control::Kind::Position:
        moveTo(control.column - 1);
        break;
    case Control::Kind::EraseDisplay:
        if (control.n < 3)
            apply({Control::Kind::EraseLine, control.n});
        break;
    case Control::Kind::Up:
    case Control::Kind::Down:
    case Control::Kind::PreviousLine:
    case Control::Kind::NextLine:
    case Control::Kind::Row:
    case Control::Kind::Index:
    case Control::Kind::NewLine:
    case Control::Kind::ReverseIndex:
    case Control::Kind::InsertLines:
    case Control::Kind::DeleteLines:
    case Control::Kind::ScrollUp:
    case Control::Kind::ScrollDown:
        break;
    case Control::Kind::InsertCharacters: {
        const auto count = std::clamp<std::int64_t>(margin_ - from, 0, control.n);
        if (count == 0 || !spend(size - from + count))
            break;
        splitAt(from);
        cells_.insert(at(from), static_cast<std::size_t>(count), blank);
        const auto kept = std::max(margin_, size);
        if (std::ssize(cells_) > kept) {
            splitAt(kept);
            cells_.resize(static_cast<std::size_t>(kept));
        }
        break;
    }
    }
}

template <class Cell>
std::string_view TerminalLine<Cell>::text()
{
    if constexpr (sizeof(Cell) == 1) {
        if (!tabs_)
            return {cells_.data(), cells_.size()};
        emptyFor(text_, cells_.size());
    } else {
        std::size_t bytes = 0;
        for (const Cell code : cells_)
            bytes += static_cast<std::size_t>(std::bit_width(code) + 7) / 8; // the tail's 0 takes none
        emptyFor(text_, bytes + combined_.size());
    }
    for (std::size_t at = 0; at < cells_.size();) {
        const Cell code = cells_[at];
        if (tabs_ && (code == tabStart || code == tabFill)) {
            at = appendTab(at);
            continue;
        }
        if constexpr (sizeof(Cell) == 1)
            text_.push_back(code);
        else if (holdsMarks(code))
            text_.append(combinedBytes(code));
        else if (code != wideTail)
            appendCharacter(text_, code);
        ++at;
    }
    return text_;
}

template class TerminalLine<char>;
template class TerminalLine<std::uint32_t>;

} // namespace tarnwick
