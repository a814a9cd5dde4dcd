#include "PagerFilter.h"

#include <algorithm>
#include <array>

namespace tarnwick {

namespace {

constexpr std::array<std::string_view, 6> otherPrompts = {
    "--More--", "-- More --", "---- More ----", "---(more)---", "-- MORE --, next page: Space, next line: Enter, quit: Control-C",
    "Press any key to continue (Q to quit)"};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips 1 to `most` digits at the front of text; false when there are none or more.
bool skipDigits(std::string_view &text, std::size_t most)
{
    std::size_t count = 0;
    while (count < text.size() && isDigit(text[count]))
        ++count;
    if (count == 0 || count > most)
        return false;
    text.remove_prefix(count);
    return true;
}

bool skipText(std::string_view &text, std::string_view expected)
{
    if (!text.starts_with(expected))
        return false;
    text.remove_prefix(expected.size());
    return true;
}

} // namespace

bool isOtherPagerPrompt(std::string_view line)
{
    const auto first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    line = line.substr(first, line.find_last_not_of(' ') - first + 1);
    if (std::ranges::find(otherPrompts, line) != otherPrompts.end())
        return true;
    std::string_view rest = line;
    if (skipText(rest, "---(more ") && skipDigits(rest, 3) && rest == "%)---")
        return true;
    rest = line;
    return skipText(rest, "lines ") && skipDigits(rest, std::string_view::npos) && skipText(rest, "-")
        && skipDigits(rest, std::string_view::npos) && rest.empty();
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
