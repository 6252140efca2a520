#pragma once
// The compressor: turns a memory buffer or the rest of a file into one compressed stream
// (deflate with 4-bit block headers, stored blocks without NLEN and the code-length order
// 18, 17, 16, 0, 1, ...), written at the output's current position in pieces of up to
// 4,096 bytes. It always runs at one setting, the strongest; the same input always gives
// the same bytes.
#include <cstdint>
#include <functional>

#include "platform/File.h"

namespace sw {

class CCompressorInput;  // where the bytes come from: memory or a file

class CCompressor {
public:
    // Called after every refill read (not after the first one) with the input bytes consumed
    // so far and the user value. It may throw to abandon the compression.
    using ProgressFunction = std::function<void(std::uint64_t consumed, std::uint32_t userValue)>;

    void SetProgress(ProgressFunction progress, std::uint32_t userValue)
    {
        m_progress = std::move(progress);
        m_nUserValue = userValue;
    }

    // Compresses `length` bytes from memory.
    void CompressBuffer(CFile& output, const void* data, std::size_t length);
    // Compresses from the input's current position to its end.
    void CompressFile(CFile& output, CFile& input);

private:
    void Compress(CFile& output, CCompressorInput& input);

    ProgressFunction m_progress;
    std::uint32_t m_nUserValue = 0;
};

}  // namespace sw
