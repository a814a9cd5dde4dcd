#include "Timestamp.h"

#include <algorithm>
#include <array>

namespace tarnwick {

namespace {

constexpr std::array<std::string_view, 7> weekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

template <std::size_t N>
bool takeName(std::string_view &text, const std::array<std::string_view, N> &names)
{
    const std::string_view name = text.substr(0, 3);
    if (std::ranges::find(names, name) == names.end())
        return false;
    text.remove_prefix(3);
    return true;
}

std::size_t matchLength(std::string_view line, std::string_view form)
{
    std::string_view rest = line;
    for (const char expected : form) {
        if (expected == 'W' || expected == 'M') {
            if (!(expected == 'W' ? takeName(rest, weekdays) : takeName(rest, months)))
                return 0;
            continue;
        }
        if (rest.empty())
            return 0;
        const char c = rest.front();
        if (expected == '+') {
            if (!isDigit(c))
                return 0;
            while (!rest.empty() && isDigit(rest.front()))
                rest.remove_prefix(1);
            continue;
        }
        const bool matches = expected == '9' ? isDigit(c) : expected == 'B' ? (isDigit(c) || c == ' ') : c == expected;
        if (!matches)
            return 0;
        rest.remove_prefix(1);
    }
    return line.size() - rest.size();
}

} // namespace

std::size_t timestampLength(std::string_view line)
{
    if (line.empty() || line.front() != timestampStart)
        return 0;
    for (const std::string_view form : timestampForms) {
        if (const std::size_t length = matchLength(line, form))
            return length;
    }
    return 0;
}

} // namespace tarnwick
