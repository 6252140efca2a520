#pragma once
// The three times of a file in the form Windows keeps them (FILETIME), which the
// install-program writer records so that the installer can give installed files the
// times they had on the build machine.
//
// Linux has no creation time in stat(). Where the file system records a birth time
// (statx with STATX_BTIME: ext4, btrfs, xfs and others) that is the creation time.
// Elsewhere the last write time stands in for it: it is when the content was made, and
// unlike the change time (ctime) it does not move with every chmod or rename on the
// build machine.
#include <cstdint>
#include <optional>
#include <string>

namespace sw {

// Win32 FILETIME values: 100 ns units since 1601-01-01 UTC.
struct FileTimes {
    std::uint64_t creation = 0, lastAccess = 0, lastWrite = 0;
};

// The times of a file (symbolic links are followed); nullopt when the file cannot be
// examined. Sub-second parts are kept to the 100 ns unit, truncated.
std::optional<FileTimes> ReadFileTimes(const std::string& path);

// A Unix time (seconds since 1970-01-01 UTC and nanoseconds, as in struct timespec) as a
// FILETIME, truncated to 100 ns. Times before 1601 give 0. Times past the last FILETIME
// Windows accepts give 0x7FFFFFFFFFFFFFFF, never a value with the high bit set: the
// all-ones value means "leave this time alone" to SetFileTime.
std::uint64_t ToFileTime(std::int64_t unixSeconds, std::uint32_t nanoseconds);

}  // namespace sw
