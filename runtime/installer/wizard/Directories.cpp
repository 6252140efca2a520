// The checks of the directory page: is the typed directory a usable absolute path, does
// it exist, and how much room is there on its disk.
#include "../../win32/Heap.h"
#include "WizardInternal.h"

namespace sw::wizard {
namespace {

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Length of the root: 3 for "C:\", the length of "\\server\share\" (or of "\\server\share"
// at the end); 0 when the path has no root of either kind.
std::size_t RootLength(const wchar_t* path)
{
    if (IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') return 3;
    if (path[0] != L'\\' || path[1] != L'\\') return 0;
    std::size_t i = 2, parts = 0;
    while (parts < 2) {
        std::size_t start = i;
        while (path[i] && path[i] != L'\\') ++i;
        if (i == start) return 0;
        ++parts;
        if (!path[i]) return parts == 2 ? i : 0;
        ++i;
    }
    return i;
}

}  // namespace

void TrimPath(wchar_t* path)
{
    std::size_t start = 0, length = win::WideLength(path);
    while (path[start] == L' ' || path[start] == L'\t') ++start;
    while (length > start && (path[length - 1] == L' ' || path[length - 1] == L'\t')) --length;
    for (std::size_t i = 0; i < length - start; ++i) path[i] = path[start + i];
    length -= start;
    path[length] = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (path[i] == L'/') path[i] = L'\\';
    while (length > 0 && path[length - 1] == L'\\' && length > RootLength(path) && length > 3) path[--length] = 0;
}

bool IsValidDirectory(const wchar_t* path)
{
    const std::size_t root = RootLength(path);
    const std::size_t length = win::WideLength(path);
    if (root == 0 || length >= MAX_PATH) return false;
    for (std::size_t i = 0; i < length; ++i) {
        wchar_t c = path[i];
        if (c < 32 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*') return false;
        if (c == L':' && i != 1) return false;
    }
    // Every part after the root: not empty, not "." or "..", not ending in a dot or blank.
    std::size_t i = root;
    while (i < length) {
        std::size_t start = i;
        while (i < length && path[i] != L'\\') ++i;
        std::size_t partLength = i - start;
        if (partLength == 0) return false;
        if (path[i - 1] == L'.' || path[i - 1] == L' ') return false;
        ++i;
    }
    return true;
}

bool DirectoryExists(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ExistingAncestor(const wchar_t* path, wchar_t* out, std::size_t capacity)
{
    std::size_t length = win::WideLength(path);
    const std::size_t root = RootLength(path);
    if (root == 0 || length + 1 > capacity) return false;
    for (std::size_t i = 0; i <= length; ++i) out[i] = path[i];
    for (;;) {
        if (DirectoryExists(out)) return true;
        if (length <= root) return false;
        while (length > root && out[length - 1] != L'\\') --length;
        if (length > root) --length;  // the backslash, but not the root's
        out[length] = 0;
    }
}

bool AvailableSpace(const wchar_t* path, std::uint64_t& bytes)
{
    wchar_t existing[kPathCapacity];
    if (!ExistingAncestor(path, existing, kPathCapacity)) return false;
    // GetDiskFreeSpaceEx wants a folder with a trailing backslash for a share's root.
    std::size_t length = win::WideLength(existing);
    if (length + 1 < kPathCapacity && existing[length - 1] != L'\\') {
        existing[length] = L'\\';
        existing[length + 1] = 0;
    }
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(existing, &available, &total, &free)) return false;
    bytes = available.QuadPart;
    return true;
}

void FormatNumber(std::uint64_t value, wchar_t* out)
{
    wchar_t reversed[24];
    std::size_t n = 0;
    do {
        reversed[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (std::size_t i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
    out[n] = 0;
}

}  // namespace sw::wizard
