#include "core/ProgramLayout.h"

#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/StreamDecoder.h"
#include "core/UninstallInfo.h"

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
    if (marker == kMarkerNotFound || scan - marker < kSizeMarkerBytes) return LayoutStatus::noSizeMarker;
    view.imageSize = Load32(file + marker + kSizeSlotOffset);
    if (view.imageSize > size || view.imageSize < marker + kSizeMarkerBytes) return LayoutStatus::wrongLength;
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
    // Before the length checks: a damaged REC_END size is damage, not a missing volume.
    if (!RecordsCheckHolds(file + marker, file + view.imageSize, static_cast<std::size_t>(pos - view.imageSize)))
        return LayoutStatus::invalid;
    if (view.dataSize == 0) return pos == size ? LayoutStatus::ok : LayoutStatus::wrongLength;
    if (size - pos < 4) return LayoutStatus::wrongLength;
    view.dataInFile = Load32(file + pos);
    pos += 4;
    view.data = file + pos;
    if (size - pos != view.dataInFile || view.dataInFile > view.dataSize) return LayoutStatus::wrongLength;
    return view.dataInFile == view.dataSize ? LayoutStatus::ok : LayoutStatus::needsVolumes;
}

bool RecordsCheckHolds(const std::uint8_t* sizeMarker, const std::uint8_t* records, std::size_t size)
{
    return Load32(sizeMarker + kRecordsTagOffset) == kRecordsCheckTag &&
           Load32(sizeMarker + kRecordsCrcOffset) == Crc32(0, records, size);
}

bool SealProgramRecords(std::uint8_t* program, std::size_t size)
{
    std::size_t marker = FindMarker(program, size, kSizeMarkerId);
    if (marker == kMarkerNotFound || size - marker < kSizeMarkerBytes) return false;
    std::size_t imageSize = Load32(program + marker + kSizeSlotOffset);
    if (imageSize > size || imageSize < marker + kSizeMarkerBytes) return false;
    std::size_t pos = imageSize;
    for (;;) {
        if (size - pos < kRecordHeaderSize) return false;
        std::uint32_t id = Load16(program + pos);
        std::uint32_t recordSize = Load32(program + pos + 4);
        pos += kRecordHeaderSize;
        if (id == REC_END) break;
        if (size - pos < recordSize) return false;
        pos += recordSize;
    }
    StoreRecordsCheck(program + marker, Crc32(0, program + imageSize, pos - imageSize));
    return true;
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

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char FoldedCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The part of a name that starts at `at`, without the dots and spaces it ends with; `at`
// moves past its separator. False once the name is used up.
bool NextNamePart(const char* name, std::size_t length, std::size_t& at, const char*& part, std::size_t& partLength)
{
    if (at > length) return false;
    std::size_t start = at;
    while (at < length && !IsSeparator(name[at])) ++at;
    part = name + start;
    partLength = at - start;
    while (partLength > 0 && (part[partLength - 1] == '.' || part[partLength - 1] == ' ')) --partLength;
    ++at;
    return true;
}

// Two names that Windows takes for the same file.
bool SameWindowsName(const char* a, std::size_t aLength, const char* b, std::size_t bLength)
{
    std::size_t i = 0, j = 0;
    for (;;) {
        const char* p = nullptr;
        const char* q = nullptr;
        std::size_t pLength = 0, qLength = 0;
        bool morePartsA = NextNamePart(a, aLength, i, p, pLength);
        bool morePartsB = NextNamePart(b, bLength, j, q, qLength);
        if (morePartsA != morePartsB) return false;
        if (!morePartsA) return true;
        if (pLength != qLength) return false;
        for (std::size_t k = 0; k < pLength; ++k)
            if (FoldedCase(p[k]) != FoldedCase(q[k])) return false;
    }
}

// Where the last part of a name starts.
std::size_t LastPartStart(const char* name, std::size_t length)
{
    while (length > 0 && !IsSeparator(name[length - 1])) --length;
    return length;
}

// Longer than any name part Windows accepts (255 characters).
constexpr std::size_t kMaxInfoPart = 512;

}  // namespace

bool CollidesWithUninstaller(const char* name, std::size_t length, const char* uninstallerName, std::size_t uninstallerLength)
{
    if (SameWindowsName(name, length, uninstallerName, uninstallerLength)) return true;
    // The information lies in the uninstaller's folder, named after its last part as the
    // installer names it (from the name as written, before Windows drops anything).
    std::size_t folder = LastPartStart(uninstallerName, uninstallerLength);
    char info[kMaxInfoPart];
    std::size_t infoLength = MakeUninstallInfoName(uninstallerName + folder, uninstallerLength - folder, info, sizeof info);
    if (infoLength == 0) return false;
    std::size_t nameFolder = LastPartStart(name, length);
    return SameWindowsName(name, nameFolder, uninstallerName, folder) &&
           SameWindowsName(name + nameFolder, length - nameFolder, info, infoLength);
}

bool FindUninstallerCollision(const std::uint8_t* table, std::size_t size, FileEntry& collision)
{
    CFileTableReader reader(table, size);
    std::uint32_t count = 0;
    FileEntry uninstaller{};
    std::uint32_t uninstallerIndex = 0;
    bool found = false;
    if (!reader.Start(count)) return false;
    for (std::uint32_t i = 0; i < count && !found; ++i) {
        if (!reader.Next(uninstaller)) return false;
        found = PlanFile(uninstaller) == InstallAction::installUninstaller;
        uninstallerIndex = i;
    }
    if (!found || !reader.Start(count)) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!reader.Next(collision)) return false;
        InstallAction action = PlanFile(collision);
        bool intoInstallation = (action == InstallAction::install && collision.options[0] == 0) ||
                                (action == InstallAction::installUninstaller && i != uninstallerIndex);
        if (intoInstallation &&
            CollidesWithUninstaller(collision.name, collision.nameLength, uninstaller.name, uninstaller.nameLength))
            return true;
    }
    return false;
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
