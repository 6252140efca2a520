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

}  // namespace
}  // namespace sw
