#pragma once
// Decoder of the compressed stream of core/StreamFormat.h, for the installer runtime.
//
// Two ways in: DecodeStream for a stream held in memory, and CStreamDecoder for files of
// any size, which pulls the input through a read callback and pushes the output through a
// write callback with fixed memory. Both take the uncompressed length that the container
// declares and hold the stream to it: a stream that would write more, or ends before,
// is refused. Both refuse every malformed stream with the same status, never read past
// the input they are given and never write past the declared length.
//
// Decisions where deflate decoders differ:
// - Every Huffman code must be complete (neither over-subscribed nor leaving a bit pattern
//   unused). The one exception is a distance code whose lengths are all zero: such a
//   block is accepted as long as it uses no distance; the first match is an invalid
//   symbol. A distance code with a single code of one bit, which other deflate decoders
//   let through, is refused: the compressor of this format never writes one.
// - HLIT above 29 or HDIST above 29 are refused as invalid code lengths, since they
//   would give lengths to symbols that may never occur.
// - A code-length repeat may run from the literal/length lengths into the distance
//   lengths; the compressor never writes one, but it describes the lengths unambiguously.
// - The bits that skip to a byte boundary before a stored block's length and the padding
//   after the last block are not checked: they carry no data. The stream ends with the
//   byte that holds its last bit; what follows is left to the container.
// - Faults are reported in stream order: a symbol is read before it is placed, so input
//   that ends inside a symbol is truncated input even if the output is also full; a
//   match is checked for its distance before it is checked for room.
//
// Neither needs exceptions, RTTI or the heap.
#include <cstddef>
#include <cstdint>

#include "core/HuffmanTable.h"

namespace sw {

enum class DecodeStatus : std::uint8_t {
    ok,
    truncatedInput,      // the input ended before the last block did
    invalidBlockType,    // a block header of 0-4 or 8-12
    invalidCodeLengths,  // dynamic block: a code over-subscribed or incomplete, a repeat with no
                         // previous length or past the end, no code for end of block,
                         // HLIT or HDIST above 29
    invalidSymbol,       // literal/length 286 or 287, distance 30 or 31, a distance where the
                         // block has no distance code
    distanceTooFar,      // a match reaching back before the first byte of the output
    outputOverflow,      // the stream holds more than the declared length
    outputShort,         // the last block ended before the declared length
    writeAborted,        // the write callback refused data (CStreamDecoder only)
};

// A fixed English name of the status, for logs and test messages.
const char* DecodeStatusName(DecodeStatus status);

struct DecodeResult {
    DecodeStatus status;
    std::size_t inputUsed;   // with ok: the length of the stream (input after it is left alone)
    std::size_t outputUsed;  // bytes decoded into the output
};

// Decodes the stream at `input` into `output`, whose size is the declared length. On an
// error the output holds what was decoded before it, and perhaps a few bytes more that
// are overwritten later in a successful run. Needs about 14 KiB of stack for its tables.
DecodeResult DecodeStream(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* output,
                          std::size_t outputSize);

namespace detail {

// What one run works on: the bit reader, the output pointers and the code tables.
struct DecoderState {
    const std::uint8_t* in;
    const std::uint8_t* inEnd;
    // The next bits of the stream, first bit at the bottom. Only bitCount of them are
    // counted; above them the buffer may hold some low bits of *in, which the next load
    // of that byte sets again.
    std::uint64_t bits;
    unsigned bitCount;
    std::uint8_t* outFloor;  // the first byte a match may copy from
    std::uint8_t* out;
    std::uint8_t* outLimit;  // the end of the room known to be free
    const std::uint32_t* literalTable;
    const std::uint32_t* distanceTable;
    std::uint8_t lengths[kLiteralLengthSymbols + kDistanceSymbols];
    std::uint32_t codeLengthCodes[kCodeLengthTableSize];
    std::uint32_t literalCodes[kLiteralTableSize];
    std::uint32_t distanceCodes[kDistanceTableSize];
};

}  // namespace detail

// Reads up to maxBytes into buffer; returns how many it read, 0 at the end of the input.
using StreamReadFn = std::size_t (*)(void* context, std::uint8_t* buffer, std::size_t maxBytes);
// Takes the next decoded bytes; false stops decoding with writeAborted.
using StreamWriteFn = bool (*)(void* context, const std::uint8_t* data, std::size_t size);

// The decoder of the installer runtime. The object holds all its memory (about 180 KiB:
// keep it off the stack) and can be used for one stream after another.
class CStreamDecoder {
public:
    static constexpr std::size_t kInputBufferSize = 32 * 1024;
    // The last 32 KiB of output stay in the window as history for matches; the rest is
    // room to decode into before the output is written and the history moves down.
    static constexpr std::size_t kWindowSize = 128 * 1024;

    CStreamDecoder() = default;
    CStreamDecoder(const CStreamDecoder&) = delete;
    CStreamDecoder& operator=(const CStreamDecoder&) = delete;

    // Decodes one stream of outputSize bytes. The output reaches `write` in pieces of up to
    // kWindowSize bytes; all of it has been written when ok is returned. The reader may be
    // asked for more than the stream holds; InputUsed tells where the stream ended.
    DecodeStatus Decode(StreamReadFn read, void* readContext, StreamWriteFn write,
                        void* writeContext, std::uint64_t outputSize);

    // After Decode: the bytes of input the stream used (with ok: its length), and the
    // bytes handed to the write callback.
    std::uint64_t InputUsed() const { return m_inputUsed; }
    std::uint64_t OutputWritten() const { return m_outputWritten; }

private:
    struct Io;

    detail::DecoderState m_state;
    StreamReadFn m_read = nullptr;
    void* m_readContext = nullptr;
    StreamWriteFn m_write = nullptr;
    void* m_writeContext = nullptr;
    std::uint64_t m_outputSize = 0;
    std::uint64_t m_windowStart = 0;   // output offset of m_window[0]
    std::uint8_t* m_pending = nullptr; // first byte of the window not written yet
    std::uint64_t m_inputRead = 0;
    bool m_inputEnded = false;
    std::uint64_t m_inputUsed = 0;
    std::uint64_t m_outputWritten = 0;
    std::uint8_t m_input[kInputBufferSize];
    std::uint8_t m_window[kWindowSize];
};

}  // namespace sw
