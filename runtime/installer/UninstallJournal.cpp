#include "UninstallJournal.h"

#include "SideFiles.h"
#include "win32/Heap.h"
#include "win32/Log.h"
#include "win32/WholeFile.h"

namespace sw {
namespace {

// Records reach the disk at least this often, and when the installation ends. Each is
// written to the file as soon as it is noted, so a killed installer loses none; only a
// power cut can lose the last second's records, and with them the files written in that
// second, which nothing flushes either.
constexpr ULONGLONG kFlushInterval = 1000;  // milliseconds

bool WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t size)
{
    DWORD written = 0;
    return size == 0 || (WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
}

// Where the sound records of an earlier installation into the same place end (0 when
// there is no readable information there), and a copy of the bytes after them.
bool ReadEarlier(const wchar_t* path, std::size_t& end, std::uint8_t*& tail, std::size_t& tailSize)
{
    end = 0;
    tail = nullptr;
    tailSize = 0;
    win::WholeFile earlier;
    if (!win::ReadWholeFile(path, 64 * 1024 * 1024, earlier)) return true;
    CUninstallInfoReader reader(earlier.bytes, earlier.size);
    UninstallRecord record;
    while (reader.HeaderOk() && reader.Next(record)) {
    }
    bool ok = true;
    if (reader.HeaderOk() && !reader.Damaged()) {
        end = reader.End();
        tailSize = earlier.size - end;
        if (tailSize) {
            tail = static_cast<std::uint8_t*>(win::Allocate(tailSize));
            ok = tail != nullptr;
            for (std::size_t i = 0; ok && i < tailSize; ++i) tail[i] = earlier.bytes[end + i];
        }
    }
    win::Release(earlier.bytes);
    return ok;
}

}  // namespace

CUninstallJournal::~CUninstallJournal()
{
    Close();
    win::Release(m_path);
    win::Release(m_memory);
    win::Release(m_tail);
    win::Release(m_earlierCopy);
}

void CUninstallJournal::Close()
{
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
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
    if (!WriteAll(m_file, bytes, size)) return false;
    ULONGLONG now = GetTickCount64();
    if (now - m_lastFlush < kFlushInterval) return true;
    m_lastFlush = now;
    return FlushFileBuffers(m_file) != FALSE;
}

bool CUninstallJournal::OpenFile(const wchar_t* path)
{
    m_path = win::CopyWide(path);
    if (!m_path || !ReadEarlier(path, m_earlierEnd, m_tail, m_tailSize)) return false;
    m_made = GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES;
    // A repeated installation into the same place keeps the first one's records (the
    // folders it made, the uses it counted) and appends its own after them; the file is
    // never truncated before them, so a crash now cannot lose them. Information that
    // cannot be read is set aside, so that a failed installation can put it back.
    if (!m_made && m_earlierEnd == 0 && !SetAside(path, m_earlierCopy)) return false;
    m_file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, m_earlierEnd ? OPEN_EXISTING : CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        if (m_earlierCopy && MoveFileExW(m_earlierCopy, path, 0)) {
            win::Release(m_earlierCopy);
            m_earlierCopy = nullptr;
        }
        return false;
    }
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(m_earlierEnd);
    bool ok = SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) && SetEndOfFile(m_file);
    if (ok && m_earlierEnd == 0) {
        std::uint8_t header[64];
        std::size_t headerSize = UninstallInfoHeader(header, sizeof(header));
        ok = headerSize > 0 && WriteAll(m_file, header, headerSize);
    }
    ok = ok && WriteAll(m_file, m_memory, m_size) && FlushFileBuffers(m_file);
    m_lastFlush = GetTickCount64();
    return ok;
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

bool CUninstallJournal::Finish()
{
    bool ok = m_file == INVALID_HANDLE_VALUE || FlushFileBuffers(m_file);
    Close();
    if (m_earlierCopy) DeleteSetAside(m_earlierCopy);
    return ok;
}

void CUninstallJournal::Abandon()
{
    if (!m_path || (m_file == INVALID_HANDLE_VALUE && !m_earlierCopy)) return;
    bool ok = true;
    if (m_made || m_earlierCopy) {
        Close();
        ok = DeleteFileW(m_path) && (!m_earlierCopy || MoveFileExW(m_earlierCopy, m_path, 0));
    } else {
        // Back to the earlier installation's bytes: its records, then what followed them.
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(m_earlierEnd);
        ok = SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) && SetEndOfFile(m_file) && WriteAll(m_file, m_tail, m_tailSize) &&
             FlushFileBuffers(m_file);
        Close();
    }
    LogLine(ok ? (m_made ? "Rolled back: removed " : "Rolled back: restored ") : "Rollback cannot restore ", m_path);
}

}  // namespace sw
