#include "platform/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <limits>

namespace sw {

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::uint64_t kUnitsPerSecond = 10000000;
constexpr std::uint32_t kNanosecondsPerUnit = 100;
constexpr std::uint32_t kNanosecondsPerSecond = 1000000000;
constexpr std::uint64_t kLastFileTime = 0x7FFFFFFFFFFFFFFF;

}  // namespace

std::uint64_t ToFileTime(std::int64_t unixSeconds, std::uint32_t nanoseconds)
{
    // Whole seconds hidden in an unnormalised nanosecond count move to the seconds.
    const std::int64_t carry = nanoseconds / kNanosecondsPerSecond;
    nanoseconds %= kNanosecondsPerSecond;
    if (unixSeconds > std::numeric_limits<std::int64_t>::max() - kSecondsFrom1601To1970 - carry) return kLastFileTime;
    // Before 1970 timespec counts whole seconds down and the fraction up, so a negative
    // second plus the fraction is still the true time and the sum truncates toward 1601.
    const std::int64_t since1601 = unixSeconds + kSecondsFrom1601To1970 + carry;
    if (since1601 < 0) return 0;
    const std::uint64_t seconds = static_cast<std::uint64_t>(since1601);
    const std::uint64_t fraction = nanoseconds / kNanosecondsPerUnit;
    if (seconds > (kLastFileTime - fraction) / kUnitsPerSecond) return kLastFileTime;
    return seconds * kUnitsPerSecond + fraction;
}

std::optional<FileTimes> ReadFileTimes(const std::string& path)
{
    FileTimes times;
    struct statx extended {};
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_ATIME | STATX_MTIME | STATX_BTIME, &extended) == 0) {
        times.lastAccess = ToFileTime(extended.stx_atime.tv_sec, extended.stx_atime.tv_nsec);
        times.lastWrite = ToFileTime(extended.stx_mtime.tv_sec, extended.stx_mtime.tv_nsec);
        times.creation = (extended.stx_mask & STATX_BTIME) != 0
                             ? ToFileTime(extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec)
                             : times.lastWrite;
        return times;
    }
    // Kernels before 4.11, and sandboxes that filter the call, refuse statx itself; stat
    // then gives everything but the birth time. A file that is missing fails here too.
    struct stat basic {};
    if (::stat(path.c_str(), &basic) != 0) return std::nullopt;
    times.lastAccess = ToFileTime(basic.st_atim.tv_sec, static_cast<std::uint32_t>(basic.st_atim.tv_nsec));
    times.lastWrite = ToFileTime(basic.st_mtim.tv_sec, static_cast<std::uint32_t>(basic.st_mtim.tv_nsec));
    times.creation = times.lastWrite;
    return times;
}

}  // namespace sw
