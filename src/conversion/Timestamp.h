#pragma once

#include <cstddef>
#include <string_view>

namespace tarnwick {

// The length of the timestamp that a terminal program's log option wrote at the start of the
// line, or 0 when the line has none. Tera Term writes one of these, each followed by one blank:
//   [2026-12-07 10:00:00.123]      [Mon Dec 07 10:00:00.123 2026]
//   [Mon Dec  7 10:00:00.123 2026] [0 00:01:23.456] (the time since the log began)
// The line the device drew begins after it.
std::size_t timestampLength(std::string_view line);

} // namespace tarnwick
