#include "Log.h"

#include "win32/Heap.h"

namespace sw {

namespace {
HANDLE g_log = INVALID_HANDLE_VALUE;

void Write(const char* bytes, std::size_t length)
{
    if (g_log == INVALID_HANDLE_VALUE || length == 0) return;
    DWORD written = 0;
    WriteFile(g_log, bytes, static_cast<DWORD>(length), &written, nullptr);
}
}  // namespace

// Shared for writing: the cleanup copy opens the log while the uninstaller still holds it
// (and writes only once the uninstaller has ended).
void OpenUninstallLog(const wchar_t* path, bool append)
{
    g_log = CreateFileW(path, append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void CloseUninstallLog()
{
    if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
    g_log = INVALID_HANDLE_VALUE;
}

void LogText(const char* text) { Write(text, win::TextLength(text)); }

void LogLine(const char* prefix, const wchar_t* text)
{
    LogText(prefix);
    std::size_t length = 0;
    char* utf8 = win::NarrowToUtf8(text, length);
    if (utf8) Write(utf8, length);
    win::Release(utf8);
    LogText("\r\n");
}

}  // namespace sw
