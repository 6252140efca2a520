// Feeds arbitrary bytes to both stream decoders: the one-shot decoder and the streaming
// decoder must agree on the status, the output and the input used, and neither may read
// past its input or write past the declared length (the sanitizers watch that).
//
// Input: 3 bytes of declared length (little-endian, up to 1 MiB, more than the streaming
// decoder's window), 1 byte choosing the streaming read size, then the stream.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/StreamDecoder.h"

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
    std::size_t readSize;
    static std::size_t Read(void* context, std::uint8_t* buffer, std::size_t maxBytes)
    {
        auto* self = static_cast<Reader*>(context);
        std::size_t n = self->size - self->pos;
        if (n > maxBytes) n = maxBytes;
        if (n > self->readSize) n = self->readSize;
        std::memcpy(buffer, self->data + self->pos, n);
        self->pos += n;
        return n;
    }
};

// Compares what the streaming decoder writes with what the one-shot decoder wrote.
struct Checker {
    const std::uint8_t* expected;
    std::size_t expectedSize;
    std::size_t pos;
    static bool Write(void* context, const std::uint8_t* data, std::size_t size)
    {
        auto* self = static_cast<Checker*>(context);
        if (size == 0 || size > self->expectedSize - self->pos) __builtin_trap();
        if (std::memcmp(data, self->expected + self->pos, size) != 0) __builtin_trap();
        self->pos += size;
        return true;
    }
};

void DecodeBoth(const std::uint8_t* stream, std::size_t streamSize, std::size_t declared, std::size_t readSize)
{
    // Exactly the declared size, so that a write past it is a heap overflow.
    std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[declared ? declared : 1]);
    const sw::DecodeResult one = sw::DecodeStream(stream, streamSize, output.get(), declared);
    if (one.inputUsed > streamSize || one.outputUsed > declared) __builtin_trap();
    if (one.status == sw::DecodeStatus::ok && one.outputUsed != declared) __builtin_trap();

    static sw::CStreamDecoder* decoder = new sw::CStreamDecoder;
    Reader reader{stream, streamSize, 0, readSize};
    Checker checker{output.get(), one.outputUsed, 0};
    const sw::DecodeStatus status = decoder->Decode(&Reader::Read, &reader, &Checker::Write, &checker, declared);
    if (status != one.status) __builtin_trap();
    if (decoder->OutputWritten() != checker.pos) __builtin_trap();
    if (status == sw::DecodeStatus::ok) {
        if (checker.pos != declared || decoder->InputUsed() != one.inputUsed) __builtin_trap();
    }

    // A declared length that is too large: decode again with the length the stream holds,
    // so that the paths to success are fuzzed too.
    if (one.status == sw::DecodeStatus::outputShort) DecodeBoth(stream, streamSize, one.outputUsed, readSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) return 0;
    const std::size_t declared = (data[0] | std::size_t(data[1]) << 8 | std::size_t(data[2]) << 16) & 0xFFFFF;
    const std::size_t readSize = std::size_t(1) << (data[3] % 17);
    DecodeBoth(data + 4, size - 4, declared, readSize);
    return 0;
}
