#pragma once

#include <algorithm>
#include <array>
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

// The prompts of the other pagers that terminal-control captures show, each as a line holds it
// alone: '#' stands for a number, '~' for one of at most three digits.
inline constexpr std::array<std::string_view, 12> otherPagerPrompts = {
    "--More--", "-- More --", "---- More ----", "---(more)---", "---(more ~%)---", "lines #-#",
    "-- MORE --, next page: Space, next line: Enter, quit: Control-C", "Press any key to continue (Q to quit)",
    "--More-- or (q)uit",                    // Cisco WLC
    "Press any key to continue..",           // Cisco WLC
    "---- More ( Press 'Q' to break ) ----", // Huawei SmartAX
    "-- [Q quit|D dump|right|up|down]",      // MikroTik RouterOS
};

// The first characters of those prompts, each once: what the fast path of the cleaning pass
// looks for at a line's start or after a blank (see LineCleaning::untouchedPrefix).
inline constexpr auto otherPagerPromptStarts = [] {
    std::array<char, otherPagerPrompts.size()> starts{};
    std::size_t count = 0;
    for (const std::string_view prompt : otherPagerPrompts) {
        if (std::find(starts.begin(), starts.begin() + count, prompt.front()) == starts.begin() + count)
            starts[count++] = prompt.front();
    }
    for (std::size_t i = count; i < starts.size(); ++i)
        starts[i] = starts[0]; // the unused places repeat a start: the set stays the same
    return starts;
}();

// True when the line, apart from leading and trailing blanks, is one of otherPagerPrompts.
bool isOtherPagerPrompt(std::string_view line);

} // namespace tarnwick
