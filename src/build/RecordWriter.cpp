#include "build/RecordWriter.h"

#include <algorithm>
#include <cerrno>

#include "build/Compressor.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/UninstallInfo.h"
#include "platform/FileError.h"
#include "platform/StringTable.h"

namespace sw {

std::string CompressPayload(std::string_view payload)
{
    CByteBuffer length;
    length.Add32(static_cast<std::uint32_t>(payload.size()));
    CMemFile out(length.Bytes());
    out.Seek(4);
    CCompressor().CompressBuffer(out, payload.data(), payload.size());
    return out.Data();
}

void CRecordWriter::WriteHeader(std::uint16_t id, std::uint16_t flags, std::uint32_t size)
{
    CByteBuffer header;
    header.Add16(id);
    header.Add16(flags);
    header.Add32(size);
    m_output.Write(header.Bytes().data(), header.Size());
}

void CRecordWriter::WriteRecord(std::uint16_t id, std::string_view payload)
{
    if (payload.size() < kMinCompressedPayload) {
        WriteHeader(id, 0, static_cast<std::uint32_t>(payload.size()));
        m_output.Write(payload.data(), payload.size());
        return;
    }
    WriteCompressedRecord(id, CompressPayload(payload));
}

void CRecordWriter::WriteCompressedRecord(std::uint16_t id, std::string_view compressed)
{
    WriteHeader(id, kRecordCompressed, static_cast<std::uint32_t>(compressed.size()));
    m_output.Write(compressed.data(), compressed.size());
}

void CRecordWriter::WriteString(std::uint16_t id, std::string_view text)
{
    std::string payload(text);
    payload += '\0';
    WriteRecord(id, payload);
}

void CRecordWriter::Write32(std::uint16_t id, std::uint32_t value)
{
    CByteBuffer payload;
    payload.Add32(value);
    WriteRecord(id, payload.Bytes());
}

void CRecordWriter::OpenRecord(std::uint16_t id)
{
    m_nOpenHeader = m_output.GetPosition();
    WriteHeader(id, 0, 0);
}

void CRecordWriter::CloseRecord()
{
    std::uint64_t end = m_output.GetPosition();
    std::uint64_t size = end - m_nOpenHeader - kRecordHeaderSize;
    if (size != 0) {
        CByteBuffer field;
        field.Add32(static_cast<std::uint32_t>(size));
        m_output.Seek(m_nOpenHeader + 4);
        m_output.Write(field.Bytes().data(), 4);
        m_output.Seek(end);
    }
}

}  // namespace sw

namespace sw {

void WriteRecordsCheck(CFile& program, std::size_t markerOffset, std::uint64_t imageSize)
{
    if (markerOffset == kMarkerNotFound) return;
    std::uint64_t end = program.GetPosition();
    std::uint32_t crc = 0;
    program.Seek(imageSize);
    std::string piece(32768, '\0');
    for (std::uint64_t left = end - imageSize; left > 0;) {
        std::size_t got = program.Read(piece.data(), static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size())));
        if (got == 0) throw CFileError(program.GetFilePath(), IDS_FILE_CANNOT_READ, EIO);
        crc = Crc32(crc, reinterpret_cast<const std::uint8_t*>(piece.data()), got);
        left -= got;
    }
    std::uint8_t marker[kSizeMarkerBytes] = {};
    StoreRecordsCheck(marker, crc);
    program.Seek(markerOffset + kRecordsCrcOffset);
    program.Write(marker + kRecordsCrcOffset, kSizeMarkerBytes - kRecordsCrcOffset);
    program.Seek(end);
}

}  // namespace sw
