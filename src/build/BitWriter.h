#pragma once
// Bits packed least significant first into bytes, collected in a 4,096-byte buffer that
// goes to the output file whenever it fills.
#include <cstdint>
#include <cstring>

#include "platform/File.h"

namespace sw {

class CBitWriter {
public:
    static constexpr std::size_t kBufferSize = 4096;

    explicit CBitWriter(CFile& output) : m_output(output) {}

    // Appends the low `count` bits of value (count <= 32).
    void PutBits(std::uint32_t value, int count)
    {
        m_bits |= static_cast<std::uint64_t>(value) << m_nBits;
        m_nBits += count;
        if (m_nBits >= 32) {
            PutByte(static_cast<std::uint8_t>(m_bits));
            PutByte(static_cast<std::uint8_t>(m_bits >> 8));
            PutByte(static_cast<std::uint8_t>(m_bits >> 16));
            PutByte(static_cast<std::uint8_t>(m_bits >> 24));
            m_bits >>= 32;
            m_nBits -= 32;
        }
    }

    // Pads with zero bits to the next byte boundary.
    void AlignToByte()
    {
        while (m_nBits > 0) {
            PutByte(static_cast<std::uint8_t>(m_bits));
            m_bits >>= 8;
            m_nBits = m_nBits > 8 ? m_nBits - 8 : 0;
        }
        m_bits = 0;
    }

    // Raw bytes; only at a byte boundary.
    void PutBytes(const std::uint8_t* data, std::size_t count)
    {
        while (count > 0) {
            std::size_t room = kBufferSize - m_nUsed;
            std::size_t n = count < room ? count : room;
            std::memcpy(m_buffer + m_nUsed, data, n);
            m_nUsed += n;
            data += n;
            count -= n;
            if (m_nUsed == kBufferSize) Flush();
        }
    }

    void PutByte(std::uint8_t byte)
    {
        m_buffer[m_nUsed++] = byte;
        if (m_nUsed == kBufferSize) Flush();
    }

    // Writes what the buffer holds (only whole bytes: align first at the end of a stream).
    void Flush()
    {
        if (m_nUsed > 0) m_output.Write(m_buffer, m_nUsed);
        m_nUsed = 0;
    }

private:
    CFile& m_output;
    std::uint64_t m_bits = 0;
    int m_nBits = 0;
    std::size_t m_nUsed = 0;
    std::uint8_t m_buffer[kBufferSize];
};

}  // namespace sw
