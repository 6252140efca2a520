#include "SelfRemoval.h"

#include "ExitCodes.h"
#include "win32/Log.h"
#include "core/UninstallInfo.h"
#include "win32/Heap.h"

namespace sw {

namespace {

// How long the copy gives Windows to let go of the file of a program that has ended.
constexpr int kDeleteTries = 50;
constexpr DWORD kDeleteRetryMs = 100;

// Decimal digits of `value` appended at `out`; returns the new end.
wchar_t* AppendNumber(wchar_t* out, unsigned long long value)
{
    wchar_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    while (n) *out++ = digits[--n];
    return out;
}

wchar_t* Append(wchar_t* out, const wchar_t* text)
{
    while (*text) *out++ = *text++;
    return out;
}

// The part of `path` before its last backslash (the path itself when it has none).
std::size_t FolderLength(const wchar_t* path, std::size_t length)
{
    for (std::size_t i = length; i > 0; --i)
        if (path[i - 1] == L'\\' || path[i - 1] == L'/') return i - 1;
    return length;
}

// Deletes a file that a process that just ended may still hold for a moment; failing
// that, at the next start of Windows.
void DeleteEndedFile(const wchar_t* path)
{
    for (int attempt = 0; attempt < kDeleteTries; ++attempt) {
        if (DeleteFileW(path)) {
            LogLine("Removed ", path);
            return;
        }
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
        Sleep(kDeleteRetryMs);
    }
    if (MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        LogLine("Removed at the next start of Windows: ", path);
    else
        LogLine("Cannot remove ", path);
}

}  // namespace

bool StartSelfRemoval(const wchar_t* self, unsigned levels, const wchar_t* logPath)
{
    std::size_t selfLength = win::WideLength(self);
    const wchar_t* name = self + FolderLength(self, selfLength);
    if (*name == L'\\' || *name == L'/') ++name;
    wchar_t temp[MAX_PATH + 1];
    DWORD tempLength = GetTempPathW(MAX_PATH + 1, temp);
    if (tempLength == 0 || tempLength > MAX_PATH) {
        LogText("Cannot find the temporary folder: the uninstaller stays.\r\n");
        return false;
    }
    std::size_t capacity = tempLength + win::WideLength(name) + win::WideLength(logPath) + selfLength + 128;
    wchar_t* folder = win::AllocateArray<wchar_t>(capacity);
    wchar_t* copy = win::AllocateArray<wchar_t>(capacity);
    wchar_t* command = win::AllocateArray<wchar_t>(capacity * 2);
    bool started = false;
    bool madeFolder = false;
    if (folder && copy && command) {
        // A folder of its own, named after this process, so that two uninstallers that run
        // at once never share one.
        for (unsigned attempt = 0; attempt < 100 && !madeFolder; ++attempt) {
            wchar_t* end = Append(Append(folder, temp), L"Setwright-uninstall-");
            end = AppendNumber(end, GetCurrentProcessId());
            *end++ = L'-';
            *AppendNumber(end, attempt) = 0;
            madeFolder = CreateDirectoryW(folder, nullptr) != 0;
        }
        *Append(Append(Append(copy, folder), L"\\"), name) = 0;
    }
    HANDLE me = nullptr;
    if (madeFolder && CopyFileW(self, copy, TRUE) &&
        DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &me, SYNCHRONIZE, TRUE, 0)) {
        wchar_t* end = Append(Append(Append(command, L"\""), copy), L"\" /CLEANUP=");
        end = AppendNumber(end, reinterpret_cast<ULONG_PTR>(me));
        end = AppendNumber(Append(end, L" /LEVELS="), levels);
        if (logPath) end = Append(Append(Append(end, L" \"/LOG="), logPath), L"\"");
        *Append(Append(Append(end, L" \"/ORIGINAL="), self), L"\"") = 0;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        started = CreateProcessW(copy, command, nullptr, nullptr, TRUE, 0, nullptr, folder, &startup, &process) != 0;
        if (started) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            LogLine("The uninstaller is removed after it ends, by ", copy);
        }
        CloseHandle(me);
    }
    if (!started) {
        LogText("Cannot start the copy that removes the uninstaller: the uninstaller stays.\r\n");
        if (copy) DeleteFileW(copy);
        if (madeFolder) RemoveDirectoryW(folder);
    }
    win::Release(command);
    win::Release(copy);
    win::Release(folder);
    return started;
}

int RunSelfRemoval(const CleanupArguments& arguments)
{
    // Only the uninstaller starts this, handing over its own process: without one the
    // arguments were typed by hand, and nothing is deleted.
    if (!arguments.original || !arguments.originalPath ||
        WaitForSingleObject(arguments.original, INFINITE) != WAIT_OBJECT_0) {
        LogText("The cleanup copy was started without its uninstaller: nothing removed.\r\n");
        return kUninstallInvalidInfo;
    }
    CloseHandle(arguments.original);
    const wchar_t* original = arguments.originalPath;
    std::size_t length = win::WideLength(original);
    DeleteEndedFile(original);
    wchar_t* info = win::AllocateArray<wchar_t>(length + 8);
    if (info && MakeUninstallInfoName(original, length, info, length + 8)) DeleteEndedFile(info);
    win::Release(info);

    wchar_t* folder = win::CopyWide(original, length);
    std::size_t folderLength = folder ? FolderLength(folder, length) : 0;
    for (unsigned level = 0; folder && level < arguments.levels && folderLength > 0; ++level) {
        folder[folderLength] = 0;
        if (!RemoveDirectoryW(folder)) {
            LogLine("Not empty, kept: ", folder);
            break;
        }
        LogLine("Removed ", folder);
        folderLength = FolderLength(folder, folderLength);
    }
    win::Release(folder);

    wchar_t self[MAX_PATH * 2];
    DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    if (selfLength > 0 && selfLength < MAX_PATH * 2 && MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        self[FolderLength(self, selfLength)] = 0;
        MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        LogLine("The cleanup copy goes at the next start of Windows: ", self);
    }
    return kUninstallDone;
}

}  // namespace sw
