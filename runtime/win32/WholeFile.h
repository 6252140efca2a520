#pragma once
// A whole file read into the process heap, so that nothing holds the file open while its
// bytes are in use (the uninstaller deletes files it has read).
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace sw::win {

struct WholeFile {
    std::uint8_t* bytes = nullptr;  // release with win::Release
    std::size_t size = 0;
};

// False when the file cannot be opened or read, or is larger than `limit` bytes.
bool ReadWholeFile(const wchar_t* path, std::size_t limit, WholeFile& file);

}  // namespace sw::win
