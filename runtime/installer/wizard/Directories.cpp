// The checks of the directory page: is the typed directory a usable absolute path, does
// it exist, and how much room is there on its disk.
#include "../../win32/Heap.h"
#include "WizardInternal.h"
#include "core/WizardChecks.h"

namespace sw::wizard {

// The unattended installer judges /D= by the same rule (Main.cpp).
void TrimPath(wchar_t* path) { CanonicalDirectoryPath(path); }

bool IsValidDirectory(const wchar_t* path) { return IsValidDirectoryPath(path, MAX_PATH); }

bool DirectoryExists(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ExistingAncestor(const wchar_t* path, wchar_t* out, std::size_t capacity)
{
    std::size_t length = win::WideLength(path);
    if (DirectoryRootLength(path) == 0 || length + 1 > capacity) return false;
    for (std::size_t i = 0; i <= length; ++i) out[i] = path[i];
    for (;;) {
        if (DirectoryExists(out)) return true;
        length = ParentDirectoryLength(out, length);
        if (length == 0) return false;
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
