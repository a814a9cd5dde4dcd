#pragma once

#include <optional>
#include <string_view>

namespace tarnwick {

// What the device's pager leaves in a capture.
inline constexpr std::string_view pagerPrompt = "<--- More --->";
inline constexpr std::string_view promptEraser = "              "; // 14 blanks
inline constexpr std::string_view paddedPrompt = "<--- More --->              ";

// The line to write for a line that is free of BackSpaces, or nothing when the line is a
// pager prompt or a bare prompt eraser.
std::optional<std::string_view> filterPager(std::string_view line);

// True when the line, apart from leading and trailing blanks, is the prompt of one of the other
// pagers that terminal-control captures show ("--More--", "---(more 83%)---", "lines 1-20", ...).
bool isOtherPagerPrompt(std::string_view line);

} // namespace tarnwick
