#pragma once
// The version numbers and language of a Windows program or DLL, read from its version
// resource. The install-program writer records them so that the installer can decide
// whether a file already on the target machine is older; Linux has no system call for
// this, so the resource is read from the image itself.
//
// Everything read from the image is checked before use: the file may be truncated,
// garbage or hostile. Reading never throws for bad content, never reads outside the
// image, and never allocates more than the version resource it finally reads (at most
// 64 KiB, and never more than the file holds).
#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

struct FileVersionInfo {
    bool hasVersion = false;  // the fixed version information (VS_FIXEDFILEINFO) was found
    std::uint32_t fileVersionMS = 0, fileVersionLS = 0, productVersionMS = 0, productVersionLS = 0;
    bool hasLanguage = false;    // a translation table with at least one entry was found
    std::uint16_t language = 0;  // the language of its first entry (the code page is not kept)
};

// Reads the version resource (RT_VERSION, type 16) of a 32-bit (PE32) or 64-bit (PE32+)
// Windows executable or DLL. Of several version resources or languages the first one in
// the resource directory is taken. A file that is not such an image, has no version
// resource, or cannot be opened gives hasVersion = hasLanguage = false; only regular
// files are read (a pipe or device is never opened for reading).
FileVersionInfo ReadFileVersion(const std::string& path);

// The same from an image in memory.
FileVersionInfo ParseFileVersion(std::string_view image);

}  // namespace sw
