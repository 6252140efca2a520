#pragma once
// The compressed stream that the builder writes and the installer runtime reads. It is
// deflate with three changes: a 4-bit block header, stored blocks without the NLEN copy of
// the length, and another order for the code lengths of the code-length alphabet. Shared
// by the compressor and the decoder, so it depends on nothing but <cstdint>.
//
// Everything else is deflate: bits are packed from the least significant end of each
// byte, Huffman codes are canonical and sent most significant bit first, every Huffman
// block ends with symbol 256, and the last byte is padded with zero bits. The stream has
// no header, trailer or checksum; the container stores the uncompressed length.
#include <cstdint>

namespace sw {

// Block header: bits 0-2 are the block type, bit 3 marks the last block of the stream.
inline constexpr unsigned kBlockHeaderBits = 4;
inline constexpr unsigned kBlockTypeMask = 7;
inline constexpr unsigned kBlockLastFlag = 8;
inline constexpr unsigned kBlockStored = 7;   // then: zero bits to the byte boundary, LEN (16 bits LE), LEN bytes
inline constexpr unsigned kBlockFixed = 5;    // the fixed codes of deflate
inline constexpr unsigned kBlockDynamic = 6;  // code lengths follow, then the symbols

inline constexpr unsigned kMaxStoredLength = 65535;

// Dynamic block header: HLIT (5 bits) = literal/length codes - 257, HDIST (5 bits) =
// distance codes - 1, HCLEN (4 bits) = code-length codes - 4, then HCLEN + 4 code lengths
// of 3 bits each for the code-length symbols in this order.
inline constexpr unsigned kHlitBits = 5;
inline constexpr unsigned kHdistBits = 5;
inline constexpr unsigned kHclenBits = 4;
inline constexpr unsigned kCodeLengthCodeBits = 3;
inline constexpr unsigned kCodeLengthCodes = 19;
inline constexpr std::uint8_t kCodeLengthOrder[kCodeLengthCodes] = {
    18, 17, 16, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// Code-length symbols 0-15 are lengths; these repeat.
inline constexpr unsigned kRepeatPrevious = 16;  // previous length 3-6 times, 2 extra bits
inline constexpr unsigned kRepeatZeroShort = 17; // 3-10 zeros, 3 extra bits
inline constexpr unsigned kRepeatZeroLong = 18;  // 11-138 zeros, 7 extra bits

// Alphabets. Literal/length symbols 286 and 287 and distance symbols 30 and 31 have
// codes in the fixed block but never occur in a valid stream.
inline constexpr unsigned kEndOfBlock = 256;
inline constexpr unsigned kFirstLengthSymbol = 257;
inline constexpr unsigned kLiteralLengthSymbols = 286;  // at most HLIT + 257
inline constexpr unsigned kDistanceSymbols = 30;        // at most HDIST + 1
inline constexpr unsigned kFixedLiteralLengthCodes = 288;
inline constexpr unsigned kFixedDistanceCodes = 32;
inline constexpr unsigned kMaxCodeBits = 15;
inline constexpr unsigned kMaxCodeLengthCodeBits = 7;

inline constexpr unsigned kMinMatch = 3;
inline constexpr unsigned kMaxMatch = 258;
inline constexpr unsigned kMaxDistance = 32768;

// Length symbols 257-285: base length and extra bits.
inline constexpr std::uint16_t kLengthBase[29] = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr std::uint8_t kLengthExtraBits[29] = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// Distance symbols 0-29: base distance and extra bits.
inline constexpr std::uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr std::uint8_t kDistanceExtraBits[30] = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Fixed block code lengths (literal/length symbol ranges; every distance code has 5 bits).
inline constexpr unsigned FixedLiteralLengthBits(unsigned symbol)
{
    return symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
}
inline constexpr unsigned kFixedDistanceBits = 5;

}  // namespace sw
