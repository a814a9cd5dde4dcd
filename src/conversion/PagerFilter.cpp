#include "PagerFilter.h"

namespace tarnwick {

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
