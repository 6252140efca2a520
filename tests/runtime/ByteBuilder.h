#pragma once
// Little-endian values appended to a byte vector: the runtime tests put records together
// by hand, so that each case shows the layout it tests.
#include <cstdint>
#include <vector>

namespace sw::test {

inline void Put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

}  // namespace sw::test
