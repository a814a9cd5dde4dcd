#pragma once

#include <array>
#include <cstdint>

namespace tarnwick {

// The number of bits set in a mask of 16 bits (one for each byte of a 16-byte block).
// std::popcount becomes a library call where the CPU baseline has no population-count
// instruction (plain x86-64), and that call costs more than the rest of a block's scan.
inline unsigned bitsIn16(unsigned mask)
{
    static constexpr auto bytes = [] {
        std::array<std::uint8_t, 256> table{};
        for (unsigned i = 1; i < 256; ++i)
            table[i] = static_cast<std::uint8_t>(table[i / 2] + (i & 1));
        return table;
    }();
    return bytes[mask & 0xFF] + bytes[(mask >> 8) & 0xFF];
}

} // namespace tarnwick
