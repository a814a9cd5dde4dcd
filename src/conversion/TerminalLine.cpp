#include "TerminalLine.h"

#include <algorithm>

namespace tarnwick {

namespace terminal {

namespace {
constexpr std::int64_t parameterLimit = 1 << 20;
}

Parameters parseParameters(std::string_view text)
{
    Parameters parameters;
    if (!text.empty() && (text.front() == '?' || text.front() == '=' || text.front() == '<' || text.front() == '>')) {
        parameters.isPrivate = true;
        return parameters;
    }
    std::int64_t *value = &parameters.first;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            *value = std::min(*value * 10 + (c - '0'), parameterLimit);
        } else if (c == ';') {
            if (value == &parameters.second)
                break;
            value = &parameters.second;
        }
    }
    return parameters;
}

bool csiControl(const Parameters &parameters, char final, Control &control)
{
    if (parameters.isPrivate)
        return false;
    const std::int64_t n = std::max<std::int64_t>(parameters.first, 1);
    switch (final) {
    case 'D': control = {Control::Kind::Back, n}; return true;
    case 'C': control = {Control::Kind::Forward, n}; return true;
    case 'G':
    case '`': control = {Control::Kind::Column, n}; return true;
    case 'H':
    case 'f': control = {Control::Kind::Column, std::max<std::int64_t>(parameters.second, 1)}; return true;
    case 'K':
    case 'J': control = {Control::Kind::EraseLine, parameters.first}; return parameters.first <= 3;
    case 'X': control = {Control::Kind::EraseCharacters, n}; return true;
    case 'P': control = {Control::Kind::DeleteCharacters, n}; return true;
    case '@': control = {Control::Kind::InsertCharacters, n}; return true;
    default: return false;
    }
}

} // namespace terminal

namespace {
constexpr std::uint32_t blank = ' ';
}

bool holdsControls(std::string_view line)
{
    return std::ranges::any_of(line, isControlByte);
}

void TerminalLine::put(std::uint32_t code)
{
    if (atEnd())
        cells.push_back(code);
    else
        cells[static_cast<std::size_t>(cursor)] = code;
    ++cursor;
}

void TerminalLine::moveTo(std::int64_t column)
{
    cursor = std::clamp<std::int64_t>(column, 0, std::max<std::int64_t>(std::ssize(cells), margin));
    if (cursor > std::ssize(cells))
        cells.resize(static_cast<std::size_t>(cursor), blank);
}

void TerminalLine::apply(const Control &control)
{
    const auto size = std::ssize(cells);
    const auto from = static_cast<std::size_t>(std::min(cursor, size));
    const auto upTo = [&](std::int64_t count) { return static_cast<std::size_t>(std::min(cursor + count, size)); };
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
        if (control.n == 0)
            cells.resize(from);
        else if (control.n == 1)
            std::fill(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(upTo(1)), blank);
        else
            std::fill(cells.begin(), cells.end(), blank);
        break;
    case Control::Kind::EraseCharacters:
        std::fill(cells.begin() + static_cast<std::ptrdiff_t>(from), cells.begin() + static_cast<std::ptrdiff_t>(upTo(control.n)), blank);
        break;
    case Control::Kind::DeleteCharacters:
        cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(from), cells.begin() + static_cast<std::ptrdiff_t>(upTo(control.n)));
        break;
    case Control::Kind::InsertCharacters:
        cells.insert(cells.begin() + static_cast<std::ptrdiff_t>(from), static_cast<std::size_t>(std::min(control.n, margin)), blank);
        break;
    }
}

std::string_view TerminalLine::text()
{
    text_.clear();
    for (const std::uint32_t code : cells)
        appendCharacter(text_, code);
    return text_;
}

} // namespace tarnwick
