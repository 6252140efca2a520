#include "core/ProgramLayout.h"

#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/StreamDecoder.h"

namespace sw {

namespace {

std::uint32_t Load16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8; }
std::uint32_t Load32(const std::uint8_t* p) { return Load16(p) | Load16(p + 2) << 16; }
std::uint64_t Load64(const std::uint8_t* p) { return Load32(p) | static_cast<std::uint64_t>(Load32(p + 4)) << 32; }

}  // namespace

LayoutStatus ReadProgramLayout(const std::uint8_t* file, std::uint64_t size, ProgramView& view)
{
    view = ProgramView{};
    std::size_t scan = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::size_t>(size);
    std::size_t marker = FindMarker(file, scan, kSizeMarkerId);
    if (marker == kMarkerNotFound || scan - marker < kSizeSlotOffset + 4) return LayoutStatus::noSizeMarker;
    view.imageSize = Load32(file + marker + kSizeSlotOffset);
    if (view.imageSize > size || view.imageSize <= marker) return LayoutStatus::wrongLength;
    view.seed = ReadSeed(file, view.imageSize);
    std::uint64_t pos = view.imageSize;
    for (;;) {
        if (size - pos < kRecordHeaderSize) return LayoutStatus::wrongLength;
        RecordView record{static_cast<std::uint16_t>(Load16(file + pos)), static_cast<std::uint16_t>(Load16(file + pos + 2)),
                          nullptr, Load32(file + pos + 4)};
        pos += kRecordHeaderSize;
        if (record.id == REC_END) {
            view.dataSize = record.size;
            break;
        }
        if (size - pos < record.size) return LayoutStatus::wrongLength;
        if (view.recordCount == kMaxRecords) return LayoutStatus::invalid;
        record.data = file + pos;
        view.records[view.recordCount++] = record;
        pos += record.size;
    }
    if (view.dataSize == 0) return pos == size ? LayoutStatus::ok : LayoutStatus::wrongLength;
    if (size - pos < 4) return LayoutStatus::wrongLength;
    view.dataInFile = Load32(file + pos);
    pos += 4;
    view.data = file + pos;
    if (size - pos != view.dataInFile || view.dataInFile > view.dataSize) return LayoutStatus::wrongLength;
    return view.dataInFile == view.dataSize ? LayoutStatus::ok : LayoutStatus::needsVolumes;
}

const RecordView* FindRecord(const ProgramView& view, std::uint16_t id)
{
    for (std::size_t i = 0; i < view.recordCount; ++i)
        if (view.records[i].id == id) return &view.records[i];
    return nullptr;
}

bool PayloadLength(const RecordView& record, std::uint32_t& length)
{
    if (!(record.flags & kRecordCompressed)) {
        length = record.size;
        return true;
    }
    if (record.size < 4) return false;
    length = Load32(record.data);
    return true;
}

bool ReadPayload(const RecordView& record, std::uint8_t* out, std::uint32_t length)
{
    if (!(record.flags & kRecordCompressed)) {
        if (length != record.size) return false;
        for (std::uint32_t i = 0; i < length; ++i) out[i] = record.data[i];
        return true;
    }
    if (record.size < 4 || Load32(record.data) != length) return false;
    return DecodeStream(record.data + 4, record.size - 4, out, length).status == DecodeStatus::ok;
}

std::uint32_t ProjectCheckValue(std::uint32_t seed, const std::uint8_t* defaultDir, std::uint32_t defaultDirSize,
                                std::uint32_t options, const std::uint8_t* backgroundTitle, std::uint32_t backgroundTitleSize)
{
    std::uint32_t check = seed;
    if (defaultDir && defaultDirSize > 0) check = AddToChecksum(check, defaultDir, defaultDirSize - 1);
    if ((options & kOptionFullScreen) && backgroundTitle && backgroundTitleSize > 0)
        check = AddToChecksum(check, backgroundTitle, backgroundTitleSize - 1);
    return check;
}

void CChecksum::Add(const std::uint8_t* data, std::size_t size)
{
    std::size_t i = 0;
    while (m_pendingCount > 0 && i < size) {
        m_pending[m_pendingCount++] = data[i++];
        if (m_pendingCount == 4) {
            m_sum = AddToChecksum(m_sum, m_pending, 4);
            m_pendingCount = 0;
            break;
        }
    }
    std::size_t whole = (size - i) / 4 * 4;
    m_sum = AddToChecksum(m_sum, data + i, whole);
    for (i += whole; i < size; ++i) m_pending[m_pendingCount++] = data[i];
}

std::uint32_t CChecksum::Value() const { return AddToChecksum(m_sum, m_pending, m_pendingCount); }

CFileTableReader::CFileTableReader(const std::uint8_t* table, std::size_t size) : m_table(table), m_size(size) {}

bool CFileTableReader::Start(std::uint32_t& count)
{
    m_pos = 0;
    m_dataPos = 0;
    if (m_size < 4) return false;
    count = Load32(m_table);
    m_pos = 4;
    return count <= m_size / kFileRecordFixedSize;
}

bool CFileTableReader::Next(FileEntry& entry)
{
    entry = FileEntry{};
    if (m_size - m_pos < kFileRecordFixedSize) return false;
    const std::uint8_t* p = m_table + m_pos;
    std::uint32_t length = Load32(p);
    if (length < kFileRecordFixedSize || length > m_size - m_pos) return false;
    entry.iconIndex = static_cast<std::uint16_t>(Load16(p + 6));
    for (int i = 0; i < 5; ++i) entry.options[i] = p[8 + i];
    entry.flags = p[13];
    entry.checkValue = Load32(p + 14);
    entry.size = Load32(p + 18);
    entry.packedSize = Load32(p + 22);
    std::size_t at = kFileRecordFixedSize;
    if (entry.flags & (kFileHasVersion | kFileHasLanguage)) {
        if (length - at < kFileVersionBlockSize) return false;
        for (int i = 0; i < 4; ++i) entry.version[i] = Load32(p + at + 4 * i);
        entry.language = Load32(p + at + 16);
        at += kFileVersionBlockSize;
    }
    if (entry.flags & kFileHasTimes) {
        if (length - (at < length ? at : length) < kFileTimesBlockSize) return false;
        entry.hasTimes = true;
        for (int i = 0; i < 3; ++i) entry.times[i] = Load64(p + at + 8 * i);
        at += kFileTimesBlockSize;
    }
    // Six zero-terminated strings fill the rest of the record exactly.
    for (int s = 0; s < 6; ++s) {
        std::size_t start = at;
        while (at < length && p[at] != 0) ++at;
        if (at >= length) return false;
        if (s == 0) {
            entry.name = reinterpret_cast<const char*>(p + start);
            entry.nameLength = at - start;
        }
        ++at;
    }
    if (at != length) return false;
    entry.dataOffset = m_dataPos;
    m_dataPos += entry.packedSize;
    m_pos += length;
    return true;
}

bool IsSafeInstallName(const char* name, std::size_t length)
{
    if (length == 0) return false;
    std::size_t partStart = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        char c = i < length ? name[i] : '\\';
        if (c == ':' || c == '\0') return false;
        if (c != '\\' && c != '/') continue;
        bool onlyDotsAndSpaces = true;
        for (std::size_t j = partStart; j < i; ++j)
            if (name[j] != '.' && name[j] != ' ') onlyDotsAndSpaces = false;
        if (onlyDotsAndSpaces) return false;  // also an empty part, and so a leading separator
        partStart = i + 1;
    }
    return true;
}

bool FileTargetFolder(const FileEntry& entry, TargetFolder& folder)
{
    if (entry.options[0] > 3) return false;
    folder = static_cast<TargetFolder>(entry.options[0]);
    return true;
}

InstallAction PlanFile(const FileEntry& entry)
{
    if (entry.packedSize == 0) return InstallAction::skipNoData;
    if (!(entry.flags & kFileIsUninstaller) && entry.options[3] == 2) return InstallAction::skipMode;
    if (!IsSafeInstallName(entry.name, entry.nameLength)) return InstallAction::refuseName;
    if (entry.flags & kFileIsUninstaller) return InstallAction::installUninstaller;
    TargetFolder folder;
    if (!FileTargetFolder(entry, folder)) return InstallAction::refuseTarget;
    return InstallAction::install;
}

bool ReadWizardTextGroup(const std::uint8_t* raw, std::size_t size, unsigned group, std::uint8_t* out,
                         std::size_t capacity, std::size_t& length)
{
    if (size < 2) return false;
    std::uint32_t groups = Load16(raw);
    if (group >= groups) return false;
    std::size_t pos = 2;
    for (unsigned g = 0; g <= group; ++g) {
        if (size - pos < 4) return false;
        std::uint32_t declared = Load32(raw + pos);
        pos += 4;
        if (declared > capacity) return false;
        DecodeResult result = DecodeStream(raw + pos, size - pos, out, declared);
        if (result.status != DecodeStatus::ok) return false;
        pos += result.inputUsed;
        length = declared;
    }
    return true;
}

bool FindTextInGroup(const std::uint8_t* group, std::size_t size, unsigned index, const char*& text, std::size_t& length)
{
    if (size < 2 || index >= Load16(group)) return false;
    std::size_t pos = 2;
    for (unsigned i = 0;; ++i) {
        std::size_t start = pos;
        while (pos < size && group[pos] != 0) ++pos;
        if (pos >= size) return false;
        if (i == index) {
            text = reinterpret_cast<const char*>(group + start);
            length = pos - start;
            return true;
        }
        ++pos;
    }
}

}  // namespace sw

namespace sw {

bool ReadVolume(const std::uint8_t* file, std::uint64_t size, std::uint64_t remaining, const std::uint8_t*& data,
                std::uint32_t& count)
{
    data = nullptr;
    count = 0;
    if (size < 4) return false;
    std::uint32_t declared = Load32(file);
    if (size - 4 != declared || declared > remaining) return false;
    data = file + 4;
    count = declared;
    return true;
}

bool CSpannedInput::Start(std::uint64_t offset, std::uint64_t length)
{
    m_piece = 0;
    m_at = offset;
    m_left = length;
    while (m_piece < m_count && m_at >= m_pieces[m_piece].size) m_at -= m_pieces[m_piece++].size;
    std::uint64_t room = 0;
    for (std::size_t i = m_piece; i < m_count && room < length; ++i) room += m_pieces[i].size - (i == m_piece ? m_at : 0);
    return room >= length;
}

std::size_t CSpannedInput::Read(void* self, std::uint8_t* buffer, std::size_t maxBytes)
{
    auto* in = static_cast<CSpannedInput*>(self);
    std::size_t done = 0;
    while (done < maxBytes && in->m_left > 0 && in->m_piece < in->m_count) {
        const DataPiece& piece = in->m_pieces[in->m_piece];
        std::uint64_t here = piece.size - in->m_at;
        if (here == 0) {
            ++in->m_piece;
            in->m_at = 0;
            continue;
        }
        std::uint64_t n = maxBytes - done;
        if (n > here) n = here;
        if (n > in->m_left) n = in->m_left;
        for (std::uint64_t i = 0; i < n; ++i) buffer[done + i] = piece.data[in->m_at + i];
        done += static_cast<std::size_t>(n);
        in->m_at += n;
        in->m_left -= n;
    }
    return done;
}

}  // namespace sw
