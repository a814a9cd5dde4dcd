#include "Screen.h"

#include <algorithm>
#include <array>

namespace tarnwick {

Screen::Screen(int height, CharacterRule rule, RowSink &sink)
    : height_(std::clamp(height, 1, mostHeight))
    , rule_(rule)
    , sink_(sink)
{
}

bool Screen::take(std::string_view line, std::string_view stamp, std::uint64_t before, bool ended, bool erasing, bool hold, bool final)
{
    const bool held = holds();
    if (!held) {
        // The rows above the cursor and above the lines held back were written: final.
        rows_.resize(static_cast<std::size_t>(height_));
        row_ = static_cast<std::int64_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(idleRow_) + (before - idleSince_), static_cast<std::uint64_t>(height_ - 1)));
        for (std::int64_t above = 0; above < row_; ++above)
            rows_[static_cast<std::size_t>(above)].final = true;
        inserting_ = false;
        savedRow_ = -1;
        savedColumn_ = 0;
        quietLines_ = 0;
    }
    ++line_;
    moved_ = false;
    erasing_ = erasing;
    characters_.read(line, rule_);
    allowance_ = TerminalLine<std::uint32_t>::allowanceFor(characters_);
    // Every line begins at column 1: the LF before it stands for CR LF.
    enter(0);
    if (current().stamp.empty())
        current().stamp.assign(stamp);
    readTerminalLine(characters_, *this);
    if (final)
        current().final = true;
    if (!held && !moved_ && !hold) {
        rows_.clear();
        return false;
    }
    if (!ended)
        return true;
    if (row_ == height_ - 1)
        scrollUp(1);
    else
        ++row_;
    quietLines_ = moved_ ? 0 : quietLines_ + 1;
    // A screen's height of lines without a move has taken the cursor to the bottom, on a blank
    // row: the rows above it are held back as the lines after them will be, and the screen goes
    // back to holding nothing.
    if (quietLines_ >= height_) {
        for (auto row = rows_.begin(); row != rows_.end() - 1; ++row)
            sink_.keepRow(row->stamp, row->cells.text(), row->final && !row->cells.showsAnything());
        rows_.clear();
        idleRow_ = height_ - 1;
        idleSince_ = before + 1;
    }
    return true;
}

void Screen::writeHeld()
{
    if (holds())
        writeRows();
}

void Screen::finish()
{
    writeHeld();
    rows_.clear();
}

void Screen::control(const Control &control)
{
    if (actsOnScreen(control))
        moved_ = true;
    const std::int64_t column = current().cells.cursor();
    using Kind = Control::Kind;
    switch (control.kind) {
    case Kind::Back: back(control.n); break;
    case Kind::Position: moveTo(control.n - 1, control.column - 1); break;
    case Kind::Up: moveTo(row_ - control.n); break;
    case Kind::Down: moveTo(row_ + control.n); break;
    case Kind::PreviousLine: moveTo(row_ - control.n, 0); break;
    case Kind::NextLine: moveTo(row_ + control.n, 0); break;
    case Kind::Row: moveTo(control.n - 1); break;
    case Kind::Index:
    case Kind::NewLine:
        if (row_ == height_ - 1)
            scrollUp(1);
        else
            ++row_;
        enter(control.kind == Kind::Index ? column : 0);
        break;
    case Kind::ReverseIndex:
        if (row_ == 0)
            pushDown(0, 1);
        else
            --row_;
        enter(column);
        break;
    case Kind::InsertLines:
        pushDown(row_, control.n);
        enter(column);
        break;
    case Kind::DeleteLines:
        pullUp(row_, control.n);
        enter(column);
        break;
    case Kind::ScrollUp:
        scrollUp(control.n);
        enter(column);
        break;
    case Kind::ScrollDown:
        pushDown(0, control.n);
        enter(column);
        break;
    case Kind::EraseDisplay: eraseDisplay(control.n); break;
    case Kind::SaveCursor:
        savedRow_ = row_;
        savedColumn_ = column;
        break;
    case Kind::RestoreCursor:
        // With none saved, to the home position, as tmux has it.
        moveTo(std::max<std::int64_t>(savedRow_, 0), savedColumn_);
        break;
    case Kind::InsertMode:
        inserting_ = control.n != 0;
        current().cells.apply(control);
        break;
    default: current().cells.apply(control); break;
    }
}

// As the BackSpace rule has it, at the end of the row; else, and with the scroll setting, a move.
void Screen::back(std::int64_t count)
{
    auto &cells = current().cells;
    if (erasing_ && cells.atEnd()) {
        for (auto erased = std::min<std::int64_t>(count, cells.cursor()); erased > 0; --erased)
            cells.removeLast();
    } else {
        cells.moveLeft(count);
    }
}

void Screen::moveTo(std::int64_t row)
{
    moveTo(row, current().cells.cursor());
}

void Screen::moveTo(std::int64_t row, std::int64_t column)
{
    row_ = std::clamp<std::int64_t>(row, 0, height_ - 1);
    enter(column);
}

void Screen::enter(std::int64_t column)
{
    Row &row = current();
    if (row.line != line_) {
        row.cells.resume(characters_, allowance_);
        row.line = line_;
    }
    row.cells.moveTo(column);
    if (row.cells.inserting() != inserting_)
        row.cells.apply({Control::Kind::InsertMode, inserting_});
}

void Screen::scrollUp(std::int64_t count)
{
    count = std::min(count, height_);
    for (std::int64_t top = 0; top < count; ++top)
        write(rows_[static_cast<std::size_t>(top)]);
    std::rotate(rows_.begin(), rows_.begin() + count, rows_.end());
    std::fill(rows_.end() - count, rows_.end(), Row{});
}

void Screen::pushDown(std::int64_t first, std::int64_t count)
{
    count = std::min(count, height_ - first);
    const auto begin = rows_.begin() + first;
    std::rotate(begin, rows_.end() - count, rows_.end());
    std::fill(begin, begin + count, Row{});
}

void Screen::pullUp(std::int64_t first, std::int64_t count)
{
    count = std::min(count, height_ - first);
    const auto begin = rows_.begin() + first;
    std::rotate(begin, begin + count, rows_.end());
    std::fill(rows_.end() - count, rows_.end(), Row{});
}

void Screen::eraseDisplay(std::int64_t mode)
{
    const std::int64_t column = current().cells.cursor();
    // A row written already stays final, and nothing on it comes out again.
    const auto blank = [](Row &row) { row = Row{{}, {}, row.final, 0}; };
    if (mode == 2 || (mode == 0 && row_ == 0 && column == 0)) {
        // The log keeps what the screen showed.
        writeRows();
        std::fill(rows_.begin(), rows_.end(), Row{});
        enter(column);
    } else if (mode == 0) {
        current().cells.apply({Control::Kind::EraseLine, 0});
        std::for_each(rows_.begin() + row_ + 1, rows_.end(), blank);
    } else if (mode == 1) {
        current().cells.apply({Control::Kind::EraseLine, 1});
        std::for_each(rows_.begin(), rows_.begin() + row_, blank);
    }
    // ED 3 clears the terminal's scrollback, which the log is.
}

void Screen::write(Row &row)
{
    if (!row.final || row.cells.showsAnything()) {
        text_.assign(row.stamp);
        text_.append(row.cells.text());
        sink_.writeRow(text_);
    }
    row.final = true;
    row.stamp.clear();
    row.cells.clear();
}

void Screen::writeRows()
{
    std::int64_t last = -1;
    for (std::int64_t row = 0; row < height_; ++row) {
        if (rows_[static_cast<std::size_t>(row)].cells.showsAnything())
            last = row;
    }
    for (std::int64_t row = 0; row <= last; ++row)
        write(rows_[static_cast<std::size_t>(row)]);
}

namespace {

// The finals of the CSIs that may need the screen, by what the reading makes of each.
const auto screenFinals = [] {
    std::array<bool, 0x80> finals{};
    for (char final = 0x40; final < 0x7F; ++final) {
        Control control{};
        finals[static_cast<std::size_t>(final)] = terminal::CsiReader().control(final, control)
                                                  && (actsOnScreen(control) || control.kind == Control::Kind::EraseDisplay);
    }
    return finals;
}();

} // namespace

bool mayActOnScreen(std::string_view line)
{
    return screenControlAt(line) != std::string_view::npos;
}

std::size_t screenControlAt(std::string_view text)
{
    using namespace terminal;
    const std::size_t size = text.size();
    for (std::size_t pos = text.find(escape); pos != std::string_view::npos && pos + 1 < size; pos = text.find(escape, pos + 1)) {
        Control control{};
        if (screenEscape(text[pos + 1], control))
            return pos;
        if (text[pos + 1] != '[')
            continue;
        // The parameters, and the C0 controls that a CSI reads through.
        CsiReader csi;
        std::size_t end = pos + 2;
        for (; end < size && static_cast<unsigned char>(text[end]) < 0x40; ++end) {
            const auto byte = static_cast<unsigned char>(text[end]);
            if (byte == escape || byte == cancel || byte == substitute)
                break;
            if (byte >= 0x20)
                csi.take(text[end]);
        }
        const std::size_t final = end < size ? static_cast<unsigned char>(text[end]) : 0;
        if (final < screenFinals.size() && screenFinals[final] && csi.control(text[end], control) && actsOnScreen(control))
            return pos;
    }
    return std::string_view::npos;
}

} // namespace tarnwick
