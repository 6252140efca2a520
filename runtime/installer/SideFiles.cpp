#include "SideFiles.h"

#include "win32/Heap.h"
#include "win32/Log.h"

namespace sw {

wchar_t* FreeNameBeside(const wchar_t* path)
{
    std::size_t length = win::WideLength(path);
    auto* name = win::AllocateArray<wchar_t>(length + 12);
    if (!name) return nullptr;
    for (std::size_t i = 0; i < length; ++i) name[i] = path[i];
    for (unsigned n = 0; n < 1000; ++n) {
        const wchar_t tail[] = {L'.', L'~', L's', L'w', static_cast<wchar_t>(L'0' + n / 100), static_cast<wchar_t>(L'0' + n / 10 % 10),
                                static_cast<wchar_t>(L'0' + n % 10), 0};
        for (std::size_t i = 0; i < 8; ++i) name[length + i] = tail[i];
        if (GetFileAttributesW(name) == INVALID_FILE_ATTRIBUTES) return name;
    }
    win::Release(name);
    SetLastError(ERROR_FILE_EXISTS);
    return nullptr;
}

bool SetAside(const wchar_t* path, wchar_t*& kept)
{
    kept = FreeNameBeside(path);
    if (!kept) return false;
    // No MOVEFILE_COPY_ALLOWED: beside its target the rename never copies, and a copy
    // would leave the original where it was.
    if (MoveFileExW(path, kept, 0)) return true;
    DWORD error = GetLastError();
    win::Release(kept);
    kept = nullptr;
    SetLastError(error);
    return false;
}

bool DeleteSetAside(const wchar_t* kept)
{
    // A write-protected file keeps its attribute while set aside.
    DWORD attributes = GetFileAttributesW(kept);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(kept, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (DeleteFileW(kept)) return true;
    if (MoveFileExW(kept, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        LogLine("In use, deleted at the next start: ", kept);
        return true;
    }
    LogLine("Cannot delete ", kept);
    return false;
}

}  // namespace sw
