#pragma once
// Test support for the stream decoder: a bit writer to build streams by hand, block
// writers that know the codes, and a re-packer that turns zlib's raw deflate output
// into our stream format, which gives valid streams of every block type from real data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/StreamDecoder.h"

namespace sw::test {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text);
std::string ToString(const Bytes& bytes);

class BitWriter {
public:
    // A field of `count` bits, least significant bit first.
    BitWriter& Bits(unsigned value, unsigned count);
    // A Huffman code of `length` bits, most significant bit first.
    BitWriter& Code(unsigned code, unsigned length);
    // Zero bits up to the next byte boundary.
    BitWriter& Align();
    BitWriter& Byte(std::uint8_t value) { return Bits(value, 8); }
    // The bytes written, the last one padded with `padding` (its low bits are unused).
    Bytes Finish(unsigned padding = 0) const;

private:
    Bytes m_bytes;
    unsigned m_bitCount = 0;  // bits used in the last byte, 0 = none open
};

// Canonical codes (most significant bit first) of a list of code lengths.
std::vector<unsigned> CanonicalCodes(const std::vector<std::uint8_t>& lengths);

// Writes the symbols of one Huffman block with the given codes.
class HuffmanBlockWriter {
public:
    HuffmanBlockWriter(BitWriter& out, std::vector<std::uint8_t> literalLengths,
                       std::vector<std::uint8_t> distanceLengths);
    static HuffmanBlockWriter Fixed(BitWriter& out);

    HuffmanBlockWriter& Symbol(unsigned literalLengthSymbol);
    HuffmanBlockWriter& DistanceSymbol(unsigned distanceSymbol);
    HuffmanBlockWriter& Literals(const std::string& text);
    HuffmanBlockWriter& Match(unsigned length, unsigned distance);
    HuffmanBlockWriter& End() { return Symbol(kEndOfBlock); }

private:
    BitWriter& m_out;
    std::vector<std::uint8_t> m_literalLengths, m_distanceLengths;
    std::vector<unsigned> m_literalCodes, m_distanceCodes;
};

// The code-length code of the hand-made dynamic headers: complete, every symbol usable
// (0-12 with 4 bits, 13-18 with 5 bits).
std::vector<std::uint8_t> PlainCodeLengthLengths();

// A dynamic header: HLIT, HDIST and HCLEN from the sizes given, the code-length code
// (lengths indexed by symbol, sent for the first `sent` positions of the order), then
// the code-length symbols with their extra bits, as listed.
struct CodeLengthItem {
    unsigned symbol;
    unsigned extra = 0;
};
void WriteDynamicHeader(BitWriter& out, unsigned literalCodes, unsigned distanceCodes,
                        const std::vector<std::uint8_t>& codeLengthLengths, unsigned sent,
                        const std::vector<CodeLengthItem>& items);
// The common case: the plain code-length code, every length sent as itself.
void WriteDynamicHeader(BitWriter& out, const std::vector<std::uint8_t>& literalLengths,
                        const std::vector<std::uint8_t>& distanceLengths);

// zlib raw deflate (windowBits -15). With flushEvery, the input goes in pieces of that
// size and the compressor's level and strategy cycle through stored, fixed, dynamic and
// Huffman-only between pieces, so that one stream mixes every block type.
Bytes ZlibDeflate(const Bytes& data, int level, int strategy, std::size_t flushEvery = 0);

// Re-packs a raw deflate stream into our format, field by field; throws on a stream
// it cannot read. Counts the blocks of each type when asked.
struct BlockCounts {
    unsigned stored = 0, fixed = 0, dynamic = 0;
};
Bytes RepackDeflate(const Bytes& deflate, BlockCounts* counts = nullptr);

// Test data, the same for the same seed.
Bytes TextData(std::size_t size, std::uint32_t seed);
Bytes RunsData(std::size_t size, std::uint32_t seed);
Bytes RandomData(std::size_t size, std::uint32_t seed);

// The streaming decoder over memory: reads of at most readSize bytes, output collected.
struct StreamRun {
    DecodeStatus status;
    Bytes output;
    std::uint64_t inputUsed;
};
StreamRun DecodeStreaming(const Bytes& stream, std::uint64_t declared, std::size_t readSize = 65536,
                          std::size_t acceptWrites = static_cast<std::size_t>(-1));
// The one-shot decoder into a buffer of exactly the declared size (plus guard bytes that
// it checks are untouched).
struct OneShotRun {
    DecodeStatus status;
    Bytes output;  // the first outputUsed bytes
    std::size_t inputUsed;
};
OneShotRun DecodeOneShot(const Bytes& stream, std::size_t declared);

}  // namespace sw::test

namespace sw {
// gtest prints statuses by name.
void PrintTo(DecodeStatus status, std::ostream* os);
}
