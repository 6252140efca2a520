#include "win32/WholeFile.h"

#include "win32/Heap.h"

namespace sw::win {

bool ReadWholeFile(const wchar_t* path, std::size_t limit, WholeFile& file)
{
    file = WholeFile{};
    HANDLE handle = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(handle, &size) && static_cast<unsigned long long>(size.QuadPart) <= limit;
    if (ok) {
        file.size = static_cast<std::size_t>(size.QuadPart);
        file.bytes = static_cast<std::uint8_t*>(Allocate(file.size));
        ok = file.bytes != nullptr;
    }
    for (std::size_t done = 0; ok && done < file.size;) {
        DWORD piece = file.size - done > 0x100000 ? 0x100000 : static_cast<DWORD>(file.size - done);
        DWORD read = 0;
        ok = ReadFile(handle, file.bytes + done, piece, &read, nullptr) && read == piece;
        done += read;
    }
    CloseHandle(handle);
    if (!ok) {
        Release(file.bytes);
        file = WholeFile{};
    }
    return ok;
}

}  // namespace sw::win
