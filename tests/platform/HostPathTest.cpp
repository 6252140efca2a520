#include "platform/HostPath.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(HostPath, MapsSeparatorsBothWays)
{
    EXPECT_EQ(ToHostRelative("sub\\deeper\\readme.txt"), "sub/deeper/readme.txt");
    EXPECT_EQ(ToProjectRelative("sub/deeper/readme.txt"), "sub\\deeper\\readme.txt");
    EXPECT_EQ(WithTrailingSeparator("/src"), "/src/");
    EXPECT_EQ(WithTrailingSeparator("/src/"), "/src/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

TEST(HostPath, UnsafeNamesAreThoseThatLeaveTheFolder)
{
    struct Case {
        const char* name;
        bool unsafe;
    } cases[] = {
        {"readme.txt", false},    {"sub\\readme.txt", false}, {".\\readme.txt", false},
        {"..txt", false},         {"a..b\\c", false},         {"...hidden", false},
        {"", true},               {"..", true},               {"..\\evil.dll", true},
        {"sub\\..\\..\\x", true}, {"sub/../x", true},         {"\\Windows\\x.dll", true},
        {"/etc/passwd", true},    {"C:\\x.dll", true},        {"C:x.dll", true},
        {"sub\\...\\x", true},    {"sub\\.. \\x", true},      {"sub\\. .\\x", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsUnsafeRelativeName(c.name), c.unsafe) << c.name;
}

}  // namespace
}  // namespace sw
