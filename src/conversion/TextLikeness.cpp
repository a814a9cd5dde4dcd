#include "TextLikeness.h"

#include <algorithm>

namespace tarnwick {

bool looksLikeText(std::string_view start)
{
    // What a terminal acts on, and NUL, which it ignores: captures carry NULs as padding.
    constexpr std::string_view shown("\0\b\t\n\v\f\r\a\x1b", 9);
    const auto others = std::ranges::count_if(start, [&](char byte) {
        return (static_cast<unsigned char>(byte) < 0x20 && shown.find(byte) == std::string_view::npos) || byte == '\x7f';
    });
    // One in fifty: the real captures hold none at all, compressed or random bytes one in eleven.
    return others * 50 <= std::ptrdiff_t(start.size());
}

} // namespace tarnwick
