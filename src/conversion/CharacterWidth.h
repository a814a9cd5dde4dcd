#pragma once

#include "platform/CharacterRule.h"

#include <cstdint>

namespace tarnwick {

// The columns a character (its bytes packed into a code, see characterCode) takes on a terminal:
// 2 for a character of East Asian Width W or F, and under the Shift-JIS rule for a double-byte
// character; 1 for every other (ambiguous width too).
int columnsOf(std::uint32_t code, CharacterRule rule);

} // namespace tarnwick
