#include "BackspaceEraser.h"

#include <cstring>

namespace tarnwick {

std::string_view BackspaceEraser::erase(std::string_view line)
{
    if (!std::memchr(line.data(), '\b', line.size()))
        return line;
    kept_.clear();
    keptLengths_.clear();
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

} // namespace tarnwick
