// Writing one file of the installation: decoded into a temporary file beside its target
// and checked against its check value first, so that a damaged stream never replaces a
// good file; then moved into place, the file it replaces kept beside it until the
// installation ends (see Rollback.h), or, when the old file is in use, scheduled to
// replace it at the next start.
#include "ExitCodes.h"
#include "InstallRun.h"
#include "PendingRenames.h"
#include "SideFiles.h"
#include "win32/Log.h"
#include "core/InstallFormat.h"
#include "win32/Heap.h"
#include "win32/SystemLibrary.h"

namespace sw {
namespace {

constexpr unsigned kTextWriteProtected = 7;
constexpr unsigned kTextAccessDenied = 9;
constexpr unsigned kTextInUse = 10;
constexpr unsigned kTextOutOfMemory = 12;
constexpr unsigned kTextCreateFailed = 17;
constexpr unsigned kTextWriteFailed = 19;
constexpr unsigned kTextDiskFull = 20;
constexpr unsigned kTextNewerVersion = 29;
constexpr unsigned kTextOtherLanguage = 30;

struct Output {
    HANDLE file;
    CChecksum sum;
    CInstallRun* run;
    IInstallObserver* observer;
    std::uint64_t* done;
    std::uint64_t total;
    bool stopped;
    DWORD error;
};

bool WriteDecoded(void* context, const std::uint8_t* data, std::size_t size)
{
    auto* out = static_cast<Output*>(context);
    out->sum.Add(data, size);
    DWORD written = 0;
    if (!::WriteFile(out->file, data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
        out->error = GetLastError();
        if (out->error == ERROR_SUCCESS) out->error = ERROR_DISK_FULL;
        return false;
    }
    *out->done += size;
    out->observer->OnProgress(*out->done, out->total);
    if (out->observer->StopRequested()) {
        out->stopped = true;
        return false;
    }
    return true;
}

// The version and language of an installed file, from its version resource.
bool InstalledVersion(const wchar_t* path, std::uint64_t& version, std::uint32_t& language)
{
    using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    auto GetFileVersionInfoSizeW = win::SystemFunction<SizeFunction>(L"version.dll", "GetFileVersionInfoSizeW");
    auto GetFileVersionInfoW = win::SystemFunction<InfoFunction>(L"version.dll", "GetFileVersionInfoW");
    auto VerQueryValueW = win::SystemFunction<QueryFunction>(L"version.dll", "VerQueryValueW");
    if (!GetFileVersionInfoSizeW || !GetFileVersionInfoW || !VerQueryValueW) return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return false;
    void* block = win::Allocate(size);
    bool ok = false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (block && GetFileVersionInfoW(path, 0, size, block) &&
        VerQueryValueW(block, L"\\", reinterpret_cast<void**>(&fixed), &fixedLength) && fixed &&
        fixedLength >= sizeof(VS_FIXEDFILEINFO)) {
        version = static_cast<std::uint64_t>(fixed->dwFileVersionMS) << 32 | fixed->dwFileVersionLS;
        language = 0;
        WORD* translation = nullptr;
        UINT translationLength = 0;
        if (VerQueryValueW(block, L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &translationLength) &&
            translation && translationLength >= 4)
            language = translation[0];
        ok = true;
    }
    win::Release(block);
    return ok;
}

}  // namespace

bool CInstallRun::KeepNewerInstalledFile(const FileEntry& entry, const wchar_t* path)
{
    if (!(entry.flags & (kFileHasVersion | kFileHasLanguage))) return false;
    std::uint64_t installed = 0;
    std::uint32_t installedLanguage = 0;
    if (!InstalledVersion(path, installed, installedLanguage)) return false;
    std::uint64_t ours = static_cast<std::uint64_t>(entry.version[0]) << 32 | entry.version[1];
    // Unattended, the installed file stays: replacing a newer or other-language system
    // file can break the programs that put it there.
    if ((entry.flags & kFileHasVersion) && installed > ours && !Confirm(kTextNewerVersion, path, MB_YESNO | MB_ICONQUESTION, IDNO))
        return true;
    if ((entry.flags & kFileHasLanguage) && installedLanguage && entry.language && installedLanguage != entry.language &&
        !Confirm(kTextOtherLanguage, path, MB_YESNO | MB_ICONQUESTION, IDNO))
        return true;
    return false;
}

bool CInstallRun::DecodeInto(HANDLE file, const FileEntry& entry, const wchar_t* displayName, bool& stopped)
{
    CSpannedInput input(m_setup.Pieces(), m_setup.PieceCount());
    Output out{file, CChecksum(0), this, &m_observer, &m_done, m_total, false, ERROR_SUCCESS};
    if (!input.Start(entry.dataOffset, entry.packedSize)) {
        Fail(kExitInvalidData, kTextInvalidData, nullptr);
        return false;
    }
    DecodeStatus status = m_decoder->Decode(CSpannedInput::Read, &input, WriteDecoded, &out, entry.size);
    stopped = out.stopped;
    if (out.stopped) return false;
    if (status == DecodeStatus::writeAborted) {
        Fail(kExitWriteFailed, out.error == ERROR_DISK_FULL || out.error == ERROR_HANDLE_DISK_FULL ? kTextDiskFull : kTextWriteFailed,
             displayName);
        return false;
    }
    // A damaged stream is as much a wrong check value as a wrong byte is; the uninstaller's
    // package is checked like every file.
    bool checked = (out.sum.Value() ^ m_setup.ProjectCheck()) == entry.checkValue;
    if (status != DecodeStatus::ok || m_decoder->InputUsed() != entry.packedSize || !checked) {
        Fail(kExitCrcError, kTextCrcError, displayName);
        return false;
    }
    if (entry.hasTimes) {
        FILETIME times[3];
        for (int i = 0; i < 3; ++i) times[i] = FILETIME{static_cast<DWORD>(entry.times[i]), static_cast<DWORD>(entry.times[i] >> 32)};
        SetFileTime(file, &times[0], &times[1], &times[2]);
    }
    return true;
}

FileResult CInstallRun::InstallFileData(const FileEntry& entry, const wchar_t* path, const wchar_t* displayName)
{
    m_observer.OnFile(displayName);
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A folder where the file goes is never set aside: it holds what it holds.
            Fail(kExitWriteFailed, kTextCreateFailed, path);
            return FileResult::failed;
        }
        if (KeepNewerInstalledFile(entry, path)) {
            LogLine("Kept the installed ", path);
            m_done += entry.size;
            return FileResult::kept;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            // Asked once for all the write-protected files of the installation.
            if (!m_askedReadOnly) {
                m_overwriteReadOnly = Confirm(kTextWriteProtected, nullptr, MB_YESNO | MB_ICONQUESTION, IDYES);
                m_askedReadOnly = true;
            }
            if (!m_overwriteReadOnly) {
                LogLine("Kept the write-protected ", path);
                m_done += entry.size;
                return FileResult::kept;
            }
        }
    }

    wchar_t* temporary = FreeNameBeside(path);
    HANDLE file = temporary ? CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)
                            : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        Fail(kExitWriteFailed, GetLastError() == ERROR_ACCESS_DENIED ? kTextAccessDenied : kTextCreateFailed, path);
        win::Release(temporary);
        return FileResult::failed;
    }
    bool stopped = false;
    bool decoded = DecodeInto(file, entry, displayName, stopped);
    CloseHandle(file);
    FileResult result = FileResult::failed;
    if (!decoded) {
        DeleteFileW(temporary);
        if (stopped) Stopped();
    } else if (attributes == INVALID_FILE_ATTRIBUTES) {
        result = PlaceNewFile(temporary, path);
    } else {
        result = ReplaceExisting(temporary, path, attributes);
    }
    win::Release(temporary);
    return result;
}

FileResult CInstallRun::PlaceNewFile(const wchar_t* temporary, const wchar_t* path)
{
    // Never over a file that appeared meanwhile: the rollback would take it away.
    if (!MoveFileExW(temporary, path, 0)) {
        DeleteFileW(temporary);
        Fail(kExitWriteFailed, kTextWriteFailed, path);
        return FileResult::failed;
    }
    if (!m_rollback.CreatedFile(path)) {
        DeleteFileW(path);
        Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
        return FileResult::failed;
    }
    LogLine("Installed ", path);
    return FileResult::written;
}

FileResult CInstallRun::ReplaceExisting(const wchar_t* temporary, const wchar_t* path, DWORD attributes)
{
    wchar_t* kept = nullptr;
    FileResult result = FileResult::failed;
    if (SetAside(path, kept)) {
        if (!MoveFileExW(temporary, path, 0)) {
            MoveFileExW(kept, path, 0);
            DeleteFileW(temporary);
            Fail(kExitWriteFailed, kTextWriteFailed, path);
        } else if (!m_rollback.ReplacedFile(path, kept, attributes)) {
            MoveFileExW(kept, path, MOVEFILE_REPLACE_EXISTING);
            Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
        } else {
            LogLine("Installed ", path);
            result = FileResult::written;
        }
        win::Release(kept);
        return result;
    }
    DWORD error = GetLastError();
    bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
    // Replaced at the next start, the file must not be write-protected then.
    if (inUse && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (inUse && MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT)) {
        LogLine("In use, replaced at the next start: ", path);
        result = FileResult::scheduled;
        if (!m_rollback.ScheduledFile(path, temporary, attributes)) {
            if (CancelPendingRename(temporary)) DeleteFileW(temporary);
            Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
            result = FileResult::failed;
        }
    } else {
        SetFileAttributesW(path, attributes);
        DeleteFileW(temporary);
        Fail(kExitWriteFailed, inUse ? kTextInUse : kTextWriteFailed, path);
    }
    return result;
}

}  // namespace sw
