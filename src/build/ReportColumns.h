#pragma once
// The result columns of a report line: packed size, size and ratio, as the Build page and
// the command-line build show them.
#include <cstdint>
#include <string>

namespace sw {

struct ResultColumns {
    std::string packed;
    std::string size;
    std::string ratio;
};

// 1234567 -> "1,234,567"; 0 -> "".
std::string GroupedNumber(std::uint64_t value);

ResultColumns FormatResultColumns(int actionId, std::uint64_t size, std::uint64_t packedSize);

}  // namespace sw
