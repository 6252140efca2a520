#include "platform/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace sw {
namespace {

using test::TempDir;

constexpr std::uint64_t kUnixEpoch = 116444736000000000;  // 1970-01-01 as a FILETIME

TEST(FileTimes, ToFileTimeKnownValues)
{
    constexpr std::int64_t kMaxSeconds = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::int64_t seconds;
        std::uint32_t nanoseconds;
        std::uint64_t fileTime;
    };
    const Case cases[] = {
        {0, 0, kUnixEpoch},
        {0, 1, kUnixEpoch},                // below 100 ns: truncated
        {0, 99, kUnixEpoch},
        {0, 100, kUnixEpoch + 1},
        {0, 199, kUnixEpoch + 1},
        {0, 999999999, kUnixEpoch + 9999999},
        {1, 0, kUnixEpoch + 10000000},
        {0, 1500000000, kUnixEpoch + 15000000},  // an unnormalised count carries into the seconds
        {1000000000, 123456789, 126444736001234567},  // 2001-09-09 01:46:40.1234567
        {-1, 500000000, kUnixEpoch - 5000000},        // half a second before 1970
        {-11644473600, 0, 0},                         // 1601-01-01 itself
        {-11644473600, 100, 1},
        {-11644473601, 999999999, 0},  // just before 1601: clamped
        {std::numeric_limits<std::int64_t>::min(), 0, 0},
        {kMaxSeconds, 999999999, 0x7FFFFFFFFFFFFFFF},  // beyond the last FILETIME: clamped, high bit clear
        {922337203685 - 11644473600, 0, 0x7FFFFFFFFFFFFFFF - 4775807},  // the last whole second that fits
        {922337203685 - 11644473600, 477580700, 0x7FFFFFFFFFFFFFFF},
        {922337203685 - 11644473600, 477580800, 0x7FFFFFFFFFFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToFileTime(c.seconds, c.nanoseconds), c.fileTime) << c.seconds << " s " << c.nanoseconds << " ns";
}

TEST(FileTimes, ReadsTheTimesOfAFileToTheHundredNanoseconds)
{
    TempDir dir;
    const std::string path = dir.Write("program.exe", "MZ");
    const timespec times[2] = {{1000000000, 123456789}, {1600000000, 987654321}};  // access, write
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    const std::optional<FileTimes> read = ReadFileTimes(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->lastAccess, 126444736001234567u);
    EXPECT_EQ(read->lastWrite, 132444736009876543u);

    // The creation time is the birth time where the file system keeps one, else the
    // last write time.
    struct statx status {};
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &status), 0);
    if ((status.stx_mask & STATX_BTIME) != 0)
        EXPECT_EQ(read->creation, ToFileTime(status.stx_btime.tv_sec, status.stx_btime.tv_nsec));
    else
        EXPECT_EQ(read->creation, read->lastWrite);
}

TEST(FileTimes, FollowsLinksAndFailsOnlyWhenNothingIsThere)
{
    TempDir dir;
    const std::string path = dir.Write("data.bin", "x");
    const timespec times[2] = {{0, 0}, {86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_EQ(::symlink(path.c_str(), (dir / "link").c_str()), 0);

    const std::optional<FileTimes> viaLink = ReadFileTimes(dir / "link");
    ASSERT_TRUE(viaLink.has_value());
    EXPECT_EQ(viaLink->lastWrite, kUnixEpoch + 86400ull * 10000000);
    EXPECT_EQ(viaLink->lastAccess, kUnixEpoch);

    EXPECT_TRUE(ReadFileTimes(dir.Path()).has_value()) << "folders have times too";
    EXPECT_FALSE(ReadFileTimes(dir / "missing").has_value());
    EXPECT_FALSE(ReadFileTimes(dir / "data.bin/below").has_value());
    ASSERT_EQ(::symlink((dir / "missing").c_str(), (dir / "dangling").c_str()), 0);
    EXPECT_FALSE(ReadFileTimes(dir / "dangling").has_value());
}

}  // namespace
}  // namespace sw
