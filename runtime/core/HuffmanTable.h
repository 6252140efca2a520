#pragma once
// Internal to the decoder: lookup tables for canonical Huffman codes. A code is looked up
// with the next rootBits bits of the stream; codes longer than that go through a link to
// a sub-table indexed by the bits after them. The tables of the fixed block are built at
// compile time, so BuildTable is constexpr.
#include <cstddef>
#include <cstdint>

#include "core/StreamFormat.h"

namespace sw::detail {

// A table entry is 32 bits:
//   bits 0-3    length of the code in bits (a link: index bits of its sub-table)
//   bits 4-7    extra bits that follow the code (lengths and distances)
//   bits 8-15   kind, one of the flags below; no flag at all is a symbol that may not occur
//   bits 16-31  literal byte, code-length symbol, base length or distance, or sub-table offset
inline constexpr std::uint32_t kEntryLiteral = 0x100;  // also a symbol of the code-length code
inline constexpr std::uint32_t kEntryMatch = 0x200;    // a length or a distance: base + extra bits
inline constexpr std::uint32_t kEntryEnd = 0x400;
inline constexpr std::uint32_t kEntryLink = 0x800;

constexpr unsigned EntryCodeBits(std::uint32_t entry) { return entry & 0xF; }
constexpr unsigned EntryExtraBits(std::uint32_t entry) { return (entry >> 4) & 0xF; }
constexpr unsigned EntryValue(std::uint32_t entry) { return entry >> 16; }

inline constexpr unsigned kLiteralRootBits = 10;
inline constexpr unsigned kDistanceRootBits = 8;
inline constexpr unsigned kCodeLengthRootBits = kMaxCodeLengthCodeBits;

// Only complete codes get tables (see BuildTable), and in a complete code the codes below
// one root prefix form a complete subtree: a sub-table of 2^k entries then serves at least
// k + 1 symbols. So the sub-tables hold at most symbols * 2^kmax / (kmax + 1) entries.
constexpr std::size_t TableCapacity(unsigned rootBits, unsigned symbols)
{
    const unsigned subBits = kMaxCodeBits - rootBits;
    return (std::size_t(1) << rootBits) + (std::size_t(symbols) << subBits) / (subBits + 1);
}
inline constexpr std::size_t kLiteralTableSize = TableCapacity(kLiteralRootBits, kLiteralLengthSymbols);
inline constexpr std::size_t kDistanceTableSize = TableCapacity(kDistanceRootBits, kDistanceSymbols);
inline constexpr std::size_t kCodeLengthTableSize = std::size_t(1) << kCodeLengthRootBits;

// Fills `table` for the code whose lengths are given per symbol (0 = symbol unused); the
// entry of symbol s is templates[s] plus its code length. Refuses (false) over-subscribed
// and incomplete codes. An all-zero code is refused too unless allowEmpty: every lookup
// then gives a symbol that may not occur, with a length of 0 bits.
constexpr bool BuildTable(std::uint32_t* table, std::size_t capacity, unsigned rootBits,
                          const std::uint8_t* lengths, unsigned symbols,
                          const std::uint32_t* templates, bool allowEmpty)
{
    const std::size_t rootSize = std::size_t(1) << rootBits;
    unsigned count[kMaxCodeBits + 1] = {};
    for (unsigned s = 0; s < symbols; ++s) {
        if (lengths[s] > kMaxCodeBits) return false;
        ++count[lengths[s]];
    }
    if (count[0] == symbols) {
        if (!allowEmpty) return false;
        for (std::size_t i = 0; i < rootSize; ++i) table[i] = 0;
        return true;
    }
    // The codes must fill the code space exactly: no leftover bit pattern, no overlap.
    std::ptrdiff_t space = 1;
    for (unsigned bits = 1; bits <= kMaxCodeBits; ++bits) {
        space = 2 * space - static_cast<std::ptrdiff_t>(count[bits]);
        if (space < 0) return false;
    }
    if (space != 0) return false;

    // Canonical order: by length, then by symbol.
    unsigned start[kMaxCodeBits + 1] = {};
    for (unsigned bits = 1; bits < kMaxCodeBits; ++bits) start[bits + 1] = start[bits] + count[bits];
    std::uint16_t sorted[kFixedLiteralLengthCodes] = {};
    for (unsigned s = 0; s < symbols; ++s) {
        if (lengths[s] != 0) sorted[start[lengths[s]]++] = static_cast<std::uint16_t>(s);
    }
    const unsigned used = symbols - count[0];

    std::size_t next = rootSize;  // where the next sub-table goes
    std::size_t linkPrefix = rootSize;
    std::size_t subBase = 0;
    unsigned subBits = 0;
    std::uint32_t code = 0;  // canonical code, most significant bit first
    unsigned codeBits = 0;
    for (unsigned i = 0; i < used; ++i) {
        const unsigned symbol = sorted[i];
        const unsigned bits = lengths[symbol];
        code <<= bits - codeBits;
        codeBits = bits;
        // The stream sends the code's first bit first, and the bit buffer holds the first
        // bit at the bottom: index the tables with the code reversed.
        std::size_t reversed = 0;
        for (unsigned b = 0; b < bits; ++b) reversed |= std::size_t((code >> b) & 1) << (bits - 1 - b);
        const std::uint32_t entry = templates[symbol] | bits;
        if (bits <= rootBits) {
            for (std::size_t j = reversed; j < rootSize; j += std::size_t(1) << bits) table[j] = entry;
        } else {
            const std::size_t prefix = reversed & (rootSize - 1);
            if (prefix != linkPrefix) {
                // The codes under this prefix come next in canonical order and fill its
                // subtree; the sub-table is as deep as the last of them.
                unsigned depth = bits - rootBits;
                std::ptrdiff_t slots = std::ptrdiff_t(1) << depth;
                for (;;) {
                    slots -= static_cast<std::ptrdiff_t>(count[rootBits + depth]);
                    if (slots <= 0) break;
                    ++depth;
                    slots <<= 1;
                    if (rootBits + depth > kMaxCodeBits) return false;
                }
                subBits = depth;
                subBase = next;
                next += std::size_t(1) << subBits;
                if (next > capacity) return false;
                table[prefix] = kEntryLink | subBits | static_cast<std::uint32_t>(subBase << 16);
                linkPrefix = prefix;
            }
            for (std::size_t j = reversed >> rootBits; j < (std::size_t(1) << subBits);
                 j += std::size_t(1) << (bits - rootBits)) {
                table[subBase + j] = entry;
            }
        }
        --count[bits];  // from here on: codes of this length not yet placed
        ++code;
    }
    return true;
}

}  // namespace sw::detail
