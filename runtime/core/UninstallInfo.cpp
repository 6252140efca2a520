#include "core/UninstallInfo.h"

namespace sw {

namespace {

constexpr std::uint8_t kMagic[4] = {'S', 'W', 'U', 'I'};
constexpr std::size_t kRecordHeaderBytes = 16;  // before the header's check value
constexpr std::size_t kRecordHeadSize = kRecordHeaderBytes + 4;

std::uint32_t Load32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Store32(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

bool KnownKind(std::uint8_t kind)
{
    return kind >= static_cast<std::uint8_t>(UninstallItem::file) &&
           kind <= static_cast<std::uint8_t>(kLastUninstallItem);
}

// A record header whose check value holds and whose fixed bytes are what the writer writes.
bool SoundHeader(const std::uint8_t* head)
{
    return Crc32(0, head, kRecordHeaderBytes) == Load32(head + kRecordHeaderBytes) && KnownKind(head[0]) &&
           head[1] == 0 && head[2] == 0 && head[3] == 0;
}

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size)
{
    // Half-byte table: small enough for the runtimes, fast enough for lists of paths.
    static constexpr std::uint32_t kTable[16] = {
        0x00000000, 0x1DB71064, 0x3B6E20C8, 0x26D930AC, 0x76DC4190, 0x6B6B51F4, 0x4DB26158, 0x5005713C,
        0xEDB88320, 0xF00F9344, 0xD6D6A3E8, 0xCB61B38C, 0x9B64C2B0, 0x86D3D2D4, 0xA00AE278, 0xBDBDF21C};
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        crc = (crc >> 4) ^ kTable[crc & 15];
        crc = (crc >> 4) ^ kTable[crc & 15];
    }
    return ~crc;
}

std::size_t UninstallInfoHeader(std::uint8_t* out, std::size_t capacity)
{
    if (capacity < kUninstallInfoHeaderSize) return 0;
    for (std::size_t i = 0; i < 4; ++i) out[i] = kMagic[i];
    out[4] = static_cast<std::uint8_t>(kUninstallInfoVersion);
    out[5] = static_cast<std::uint8_t>(kUninstallInfoVersion >> 8);
    out[6] = 0;
    out[7] = 0;
    return kUninstallInfoHeaderSize;
}

std::size_t EncodeUninstallRecord(const UninstallRecord& record, std::uint8_t* out, std::size_t capacity)
{
    std::size_t length0 = record.text[0] ? record.length[0] : 0;
    std::size_t length1 = record.text[1] ? record.length[1] : 0;
    if (length0 > 0xFFFFFFFFu || length1 > 0xFFFFFFFFu || capacity < kUninstallRecordFixedSize ||
        length0 > capacity - kUninstallRecordFixedSize || length1 > capacity - kUninstallRecordFixedSize - length0)
        return 0;
    out[0] = static_cast<std::uint8_t>(record.kind);
    out[1] = 0;
    out[2] = 0;
    out[3] = 0;
    Store32(out + 4, record.root);
    Store32(out + 8, static_cast<std::uint32_t>(length0));
    Store32(out + 12, static_cast<std::uint32_t>(length1));
    Store32(out + kRecordHeaderBytes, Crc32(0, out, kRecordHeaderBytes));
    std::size_t n = kRecordHeadSize;
    for (std::size_t i = 0; i < length0; ++i) out[n++] = static_cast<std::uint8_t>(record.text[0][i]);
    for (std::size_t i = 0; i < length1; ++i) out[n++] = static_cast<std::uint8_t>(record.text[1][i]);
    Store32(out + n, Crc32(0, out, n));
    return n + 4;
}

CUninstallInfoReader::CUninstallInfoReader(const std::uint8_t* bytes, std::size_t size)
    : m_bytes(bytes), m_size(size), m_pos(kUninstallInfoHeaderSize), m_stopped(!HeaderOk())
{
}

bool CUninstallInfoReader::HeaderOk() const
{
    if (!m_bytes || m_size < kUninstallInfoHeaderSize) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (m_bytes[i] != kMagic[i]) return false;
    return m_bytes[4] == static_cast<std::uint8_t>(kUninstallInfoVersion) &&
           m_bytes[5] == static_cast<std::uint8_t>(kUninstallInfoVersion >> 8) && m_bytes[6] == 0 && m_bytes[7] == 0;
}

bool CUninstallInfoReader::SoundHeaderAfter(std::size_t from) const
{
    for (std::size_t at = from + 1; at + kRecordHeadSize <= m_size; ++at)
        if (SoundHeader(m_bytes + at)) return true;
    return false;
}

bool CUninstallInfoReader::Next(UninstallRecord& record)
{
    if (m_stopped || m_pos == m_size) return false;
    m_stopped = true;
    const std::uint8_t* head = m_bytes + m_pos;
    std::size_t left = m_size - m_pos;
    // A record that does not hold together is the interrupted last write unless a sound
    // record header follows somewhere after it (a garbled header tells nothing about where
    // the record would end, and a torn write may leave more garbage than the record's size).
    if (left < kRecordHeadSize || !SoundHeader(head)) {
        m_damaged = SoundHeaderAfter(m_pos);
        return false;
    }
    std::uint64_t length0 = Load32(head + 8);
    std::uint64_t length1 = Load32(head + 12);
    std::uint64_t total = kUninstallRecordFixedSize + length0 + length1;
    if (total > left) return false;  // cut short: the installation stopped while writing it
    std::size_t checked = static_cast<std::size_t>(total) - 4;
    if (Crc32(0, head, checked) != Load32(head + checked) || length0 == 0) {
        m_damaged = SoundHeaderAfter(m_pos);
        return false;
    }
    record.kind = static_cast<UninstallItem>(head[0]);
    record.root = Load32(head + 4);
    record.text[0] = reinterpret_cast<const char*>(head + kRecordHeadSize);
    record.length[0] = static_cast<std::size_t>(length0);
    record.text[1] = length1 ? reinterpret_cast<const char*>(head + kRecordHeadSize + length0) : nullptr;
    record.length[1] = static_cast<std::size_t>(length1);
    m_pos += static_cast<std::size_t>(total);
    m_stopped = false;
    return true;
}

}  // namespace sw
