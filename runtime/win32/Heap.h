#pragma once
// Memory and wide-text helpers shared by the Win32 runtimes. The runtimes link no C++
// library code that could throw, so they allocate from the process heap and check every
// result themselves.
#include <windows.h>

#include <cstddef>

namespace sw::win {

inline void* Allocate(std::size_t size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size ? size : 1); }
inline void Release(const void* p)
{
    if (p) HeapFree(GetProcessHeap(), 0, const_cast<void*>(p));
}

template <typename T>
T* AllocateArray(std::size_t count)
{
    return static_cast<T*>(Allocate(count * sizeof(T)));
}

inline std::size_t WideLength(const wchar_t* s)
{
    std::size_t n = 0;
    while (s && s[n]) ++n;
    return n;
}

inline std::size_t TextLength(const char* s)
{
    std::size_t n = 0;
    while (s && s[n]) ++n;
    return n;
}

// A heap copy of `length` characters and a terminating zero.
wchar_t* CopyWide(const wchar_t* text, std::size_t length);
inline wchar_t* CopyWide(const wchar_t* text) { return CopyWide(text, WideLength(text)); }

// Texts of an installation program as UTF-16: UTF-8 when the bytes are valid UTF-8,
// otherwise the system's ANSI code page (settings files from older Windows systems).
wchar_t* WidenText(const char* text, std::size_t length);
// The same for a zero-terminated text.
inline wchar_t* WidenText(const char* text) { return WidenText(text, TextLength(text)); }

// UTF-8 for the log and the uninstall information.
char* NarrowToUtf8(const wchar_t* text, std::size_t& length);

// "a" + "\\" + "b", with one backslash between them whatever `a` ends with.
wchar_t* JoinPath(const wchar_t* folder, const wchar_t* name);

}  // namespace sw::win
