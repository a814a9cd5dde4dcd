#include "PagerFilter.h"

#include <algorithm>
#include <array>

namespace tarnwick {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether the text is the form: '#' stands for a number (one digit or more), '~' for one of at
// most three digits; every other character for itself.
bool matchesForm(std::string_view text, std::string_view form)
{
    for (const char expected : form) {
        if (expected == '#' || expected == '~') {
            std::size_t digits = 0;
            while (digits < text.size() && isDigit(text[digits]))
                ++digits;
            if (digits == 0 || (expected == '~' && digits > 3))
                return false;
            text.remove_prefix(digits);
        } else if (text.empty() || text.front() != expected) {
            return false;
        } else {
            text.remove_prefix(1);
        }
    }
    return text.empty();
}

} // namespace

bool isOtherPagerPrompt(std::string_view line)
{
    const auto first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    line = line.substr(first, line.find_last_not_of(' ') - first + 1);
    return std::ranges::any_of(otherPagerPrompts, [&](std::string_view form) { return matchesForm(line, form); });
}

// The pager texts are ASCII, and an ASCII byte is always a character of its own under both
// character rules, so comparing bytes compares characters.
std::optional<std::string_view> filterPager(std::string_view line)
{
    if (line.empty() || (line.front() != '<' && line.front() != ' '))
        return line;
    if (line.starts_with(paddedPrompt))
        return line.substr(paddedPrompt.size());
    if (line.starts_with(pagerPrompt) || line == promptEraser)
        return std::nullopt;
    return line;
}

} // namespace tarnwick
