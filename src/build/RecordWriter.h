#pragma once
// Writes the tagged records of an installation program to a file.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/File.h"

namespace sw {

// A growing byte buffer with little-endian helpers, for payloads built in memory.
class CByteBuffer {
public:
    void Add8(std::uint8_t value) { m_bytes += static_cast<char>(value); }
    void Add16(std::uint32_t value)
    {
        Add8(static_cast<std::uint8_t>(value));
        Add8(static_cast<std::uint8_t>(value >> 8));
    }
    void Add32(std::uint32_t value)
    {
        Add16(value & 0xFFFF);
        Add16(value >> 16);
    }
    void Add64(std::uint64_t value)
    {
        Add32(static_cast<std::uint32_t>(value));
        Add32(static_cast<std::uint32_t>(value >> 32));
    }
    void AddBytes(std::string_view bytes) { m_bytes += bytes; }
    // The text and its terminating zero byte.
    void AddString(std::string_view text)
    {
        m_bytes += text;
        Add8(0);
    }
    void Put32At(std::size_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) m_bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    const std::string& Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
};

class CRecordWriter {
public:
    explicit CRecordWriter(CFile& output) : m_output(output) {}

    // A payload of fewer than 8 bytes is stored as it is with flags 0; a longer one is
    // compressed (its 32-bit length, then the stream) and flagged 1.
    void WriteRecord(std::uint16_t id, std::string_view payload);
    void WriteString(std::uint16_t id, std::string_view text);  // with its zero byte
    void Write32(std::uint16_t id, std::uint32_t value);
    // A payload already in compressed form is stored as it is and flagged 1.
    void WriteCompressedRecord(std::uint16_t id, std::string_view compressed);
    // Writes only the header, with this size (and flags 0).
    void WriteHeader(std::uint16_t id, std::uint16_t flags, std::uint32_t size);

    // A record filled by direct writes to the file: Open writes a header with size 0,
    // Close measures what was written since and mends the size field when it differs.
    void OpenRecord(std::uint16_t id);
    void CloseRecord();

    CFile& File() { return m_output; }

private:
    CFile& m_output;
    std::uint64_t m_nOpenHeader = 0;
};

// Compresses the bytes into the stored form: 32-bit length, then the stream.
std::string CompressPayload(std::string_view payload);

// Once REC_END's header is written: reads back everything from the end of the runtime
// image (imageSize) up to the current position, and writes its check into the image's
// size marker at markerOffset (core/ImageMarkers.h); then returns to the end. Nothing is
// written when the image had no size marker (markerOffset kMarkerNotFound).
void WriteRecordsCheck(CFile& program, std::size_t markerOffset, std::uint64_t imageSize);

}  // namespace sw
