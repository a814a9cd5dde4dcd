#pragma once

#include <cstdint>

namespace tarnwick {

// The number of bits set in a mask (one bit for each byte of a block that a scan looked at).
// std::popcount becomes a library call where the CPU baseline has no population-count
// instruction (plain x86-64), and that call costs more than the rest of a block's scan.
inline unsigned bitCount(std::uint64_t mask)
{
    mask -= (mask >> 1) & 0x5555555555555555u;
    mask = (mask & 0x3333333333333333u) + ((mask >> 2) & 0x3333333333333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<unsigned>((mask * 0x0101010101010101u) >> 56);
}

} // namespace tarnwick
