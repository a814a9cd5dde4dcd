#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace tarnwick {

// The length of the timestamp that a terminal program's log option wrote at the start of the
// line, or 0 when the line has none. Tera Term writes one of these, each followed by one blank:
//   [2026-12-07 10:00:00.123]      [Mon Dec 07 10:00:00.123 2026]
//   [Mon Dec  7 10:00:00.123 2026] [0 00:01:23.456] (the time since the log began)
// The line the device drew begins after it.
std::size_t timestampLength(std::string_view line);

// Their forms: '9' is a digit, 'B' a blank or a digit, '+' one digit or more, 'W' a weekday's
// name, 'M' a month's; every other character stands for itself.
inline constexpr std::array<std::string_view, 3> timestampForms = {"[9999-99-99 99:99:99.999] ", "[W M B9 99:99:99.999 9999] ",
                                                                   "[+ 99:99:99.999] "};

// What every timestamp begins with, so that a line that begins otherwise has none.
inline constexpr char timestampStart = timestampForms.front().front();
static_assert(std::ranges::all_of(timestampForms, [](std::string_view form) { return form.front() == timestampStart; }));

} // namespace tarnwick
