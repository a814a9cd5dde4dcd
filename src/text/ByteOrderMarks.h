#pragma once

#include <string_view>

namespace tarnwick::byteOrderMark {
// The marks a text may begin with, which tell its encoding.
inline constexpr std::string_view utf8 = "\xEF\xBB\xBF";
inline constexpr std::string_view utf16Le = "\xFF\xFE";
inline constexpr std::string_view utf16Be = "\xFE\xFF";
} // namespace tarnwick::byteOrderMark
