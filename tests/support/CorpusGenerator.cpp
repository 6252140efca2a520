#include "support/CorpusGenerator.h"

#include <array>

namespace sw::test {

namespace {

// A small, fast, well-known generator (xorshift32), so the data never depends on a library.
struct Random {
    std::uint32_t state;
    std::uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    std::uint32_t Below(std::uint32_t n) { return Next() % n; }
};

const std::array<const char*, 24> kWords = {
    "the",     "install", "program", "file",   "directory", "window", "setup",  "of",
    "and",     "to",      "a",       "system", "version",   "copy",   "user",   "disk",
    "license", "click",   "next",    "button", "data",      "in",     "is",     "will"};

std::string Text(Random& rng, std::size_t size)
{
    std::string out;
    while (out.size() < size) {
        // Zipf-like: earlier words far more often.
        std::uint32_t pick = rng.Below(kWords.size());
        pick = rng.Below(pick + 1);
        out += kWords[pick];
        std::uint32_t sep = rng.Below(16);
        out += sep == 0 ? ".\r\n" : sep == 1 ? ", " : " ";
    }
    out.resize(size);
    return out;
}

std::string Source(Random& rng, std::size_t size)
{
    static const char* lines[] = {"    if (count == 0) return;\n", "    for (int i = 0; i < n; ++i) {\n",
                                  "        total += values[i];\n",   "    }\n",
                                  "int Compute(const int* values, int n)\n{\n", "}\n\n",
                                  "    // keep the running total\n", "    return total;\n"};
    std::string out;
    while (out.size() < size) {
        out += lines[rng.Below(8)];
        if (rng.Below(4) == 0) out += "    int v" + std::to_string(rng.Below(1000)) + " = " + std::to_string(rng.Next() % 65536) + ";\n";
    }
    out.resize(size);
    return out;
}

std::string Binary(Random& rng, std::size_t size)
{
    // Records of little-endian integers with small values and repeated opcodes, like code and tables.
    std::string out;
    while (out.size() < size) {
        std::uint32_t kind = rng.Below(4);
        std::uint32_t value = kind == 0 ? rng.Next() : rng.Below(kind == 1 ? 256 : 16);
        out += static_cast<char>(0x8B - kind);
        for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    out.resize(size);
    return out;
}

std::string Runs(Random& rng, std::size_t size)
{
    std::string out;
    while (out.size() < size) out.append(rng.Below(300) + 1, static_cast<char>('A' + rng.Below(3)));
    out.resize(size);
    return out;
}

}  // namespace

std::string GenerateData(DataKind kind, std::size_t size, std::uint32_t seed)
{
    Random rng{seed * 2654435761u + 12345u};
    switch (kind) {
    case DataKind::text: return Text(rng, size);
    case DataKind::source: return Source(rng, size);
    case DataKind::binary: return Binary(rng, size);
    case DataKind::runs: return Runs(rng, size);
    case DataKind::random: break;
    }
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(rng.Next() >> 24);
    return out;
}

}  // namespace sw::test
