#include "UninstallJournal.h"

#include "win32/Log.h"
#include "win32/Heap.h"
#include "win32/WholeFile.h"

namespace sw {

CUninstallJournal::~CUninstallJournal()
{
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    win::Release(m_path);
    win::Release(m_memory);
}

bool CUninstallJournal::Append(const std::uint8_t* bytes, std::size_t size)
{
    if (m_size + size > m_capacity) {
        std::size_t capacity = (m_capacity + size) * 2 + 4096;
        auto* grown = static_cast<std::uint8_t*>(win::Allocate(capacity));
        if (!grown) return false;
        for (std::size_t i = 0; i < m_size; ++i) grown[i] = m_memory[i];
        win::Release(m_memory);
        m_memory = grown;
        m_capacity = capacity;
    }
    for (std::size_t i = 0; i < size; ++i) m_memory[m_size + i] = bytes[i];
    m_size += size;
    if (m_file == INVALID_HANDLE_VALUE) return true;
    DWORD written = 0;
    // Each record reaches the disk before the next thing is created, so that the
    // information never lags behind the installation.
    return WriteFile(m_file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size &&
           FlushFileBuffers(m_file);
}

namespace {

bool WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t size)
{
    DWORD written = 0;
    return size == 0 || (WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
}

// Where the sound records of an earlier installation into the same place end, or 0 when
// there is no readable information there (then the file starts afresh).
std::size_t EarlierRecordsEnd(const wchar_t* path)
{
    win::WholeFile earlier;
    if (!win::ReadWholeFile(path, 64 * 1024 * 1024, earlier)) return 0;
    CUninstallInfoReader reader(earlier.bytes, earlier.size);
    UninstallRecord record;
    while (reader.HeaderOk() && reader.Next(record)) {
    }
    std::size_t end = reader.HeaderOk() && !reader.Damaged() ? reader.End() : 0;
    win::Release(earlier.bytes);
    return end;
}

}  // namespace

bool CUninstallJournal::OpenFile(const wchar_t* path)
{
    // A repeated installation into the same place keeps the first one's records (the
    // folders it made, the uses it counted) and appends its own after them; the file is
    // never truncated before them, so a crash now cannot lose them.
    std::size_t end = EarlierRecordsEnd(path);
    m_file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) return false;
    m_path = win::CopyWide(path);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(end);
    bool ok = SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) && SetEndOfFile(m_file);
    if (ok && end == 0) {
        std::uint8_t header[64];
        std::size_t headerSize = UninstallInfoHeader(header, sizeof(header));
        ok = headerSize > 0 && WriteAll(m_file, header, headerSize);
    }
    ok = ok && WriteAll(m_file, m_memory, m_size);
    return ok && FlushFileBuffers(m_file);
}

bool CUninstallJournal::Note(UninstallItem kind, const wchar_t* text, const wchar_t* second, std::uint32_t root)
{
    std::size_t lengths[2] = {0, 0};
    char* first = win::NarrowToUtf8(text, lengths[0]);
    char* other = second ? win::NarrowToUtf8(second, lengths[1]) : nullptr;
    UninstallRecord record{kind, root, {first, other}, {lengths[0], other ? lengths[1] : 0}};
    std::size_t capacity = lengths[0] + lengths[1] + 64;
    auto* encoded = static_cast<std::uint8_t*>(win::Allocate(capacity));
    std::size_t size = first && encoded ? EncodeUninstallRecord(record, encoded, capacity) : 0;
    bool ok = size > 0 && Append(encoded, size);
    win::Release(encoded);
    win::Release(first);
    win::Release(other);
    return ok;
}

void CUninstallJournal::TakeBack()
{
    // Read the records back in order, then undo them newest first.
    std::uint8_t header[64];
    std::size_t headerSize = UninstallInfoHeader(header, sizeof(header));
    auto* whole = static_cast<std::uint8_t*>(win::Allocate(headerSize + m_size));
    if (!whole) return;
    for (std::size_t i = 0; i < headerSize; ++i) whole[i] = header[i];
    for (std::size_t i = 0; i < m_size; ++i) whole[headerSize + i] = m_memory[i];
    std::size_t count = 0;
    UninstallRecord record;
    for (CUninstallInfoReader reader(whole, headerSize + m_size); reader.Next(record);) ++count;
    auto* records = win::AllocateArray<UninstallRecord>(count ? count : 1);
    if (records) {
        std::size_t n = 0;
        for (CUninstallInfoReader reader(whole, headerSize + m_size); n < count && reader.Next(records[n]);) ++n;
        for (std::size_t i = n; i-- > 0;) {
            const UninstallRecord& r = records[i];
            wchar_t* path = win::WidenText(r.text[0], r.length[0]);
            if (!path) continue;
            switch (r.kind) {
            case UninstallItem::file:
            case UninstallItem::shortcut:
                if (DeleteFileW(path)) LogLine("Removed ", path);
                break;
            case UninstallItem::folder:
                if (RemoveDirectoryW(path)) LogLine("Removed ", path);
                break;
            default:
                // Registrations are only noted after every file is in place, so a
                // failed installation has none to take back.
                break;
            }
            win::Release(path);
        }
        win::Release(records);
    }
    win::Release(whole);
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        DeleteFileW(m_path);
    }
}

}  // namespace sw
