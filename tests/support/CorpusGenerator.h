#pragma once
// Deterministic test data of several kinds, the same on every machine.
#include <cstdint>
#include <string>

namespace sw::test {

enum class DataKind { text, binary, runs, random, source };

// `size` bytes of the given kind; the same seed and size always give the same bytes.
std::string GenerateData(DataKind kind, std::size_t size, std::uint32_t seed = 1);

}  // namespace sw::test
