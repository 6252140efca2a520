#include "win32/Log.h"

#include "win32/Heap.h"

namespace sw {
namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
CRITICAL_SECTION g_lock;

void Write(const char* bytes, std::size_t length)
{
    if (g_log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    EnterCriticalSection(&g_lock);
    WriteFile(g_log, bytes, static_cast<DWORD>(length), &written, nullptr);
    LeaveCriticalSection(&g_lock);
}

}  // namespace

void OpenLog(const wchar_t* path, bool append)
{
    InitializeCriticalSection(&g_lock);
    g_log = CreateFileW(path, append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void CloseLog()
{
    if (g_log == INVALID_HANDLE_VALUE) return;
    CloseHandle(g_log);
    g_log = INVALID_HANDLE_VALUE;
    DeleteCriticalSection(&g_lock);
}

void LogText(const char* text) { Write(text, win::TextLength(text)); }

void LogWide(const wchar_t* text)
{
    if (g_log == INVALID_HANDLE_VALUE) return;
    std::size_t length = 0;
    char* utf8 = win::NarrowToUtf8(text, length);
    if (utf8) Write(utf8, length);
    win::Release(utf8);
}

void LogLine(const char* prefix, const wchar_t* text)
{
    LogText(prefix);
    LogWide(text);
    LogText("\r\n");
}

}  // namespace sw
