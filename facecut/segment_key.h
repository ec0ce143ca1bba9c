// A key for a segment's pair of ends, the same in either direction.
#pragma once

#include <cstdint>
#include <utility>

inline std::uint64_t SegmentKey(int a, int b) {
    if (a > b)
        std::swap(a, b);
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
           static_cast<std::uint32_t>(b);
}
