#include "build/ReportColumns.h"

#include <gtest/gtest.h>

#include "platform/StringTable.h"

namespace sw {
namespace {

TEST(ReportColumns, SizesAndRatios)
{
    struct Case {
        int action;
        std::uint64_t size, packed;
        const char* packedText;
        const char* sizeText;
        const char* ratio;
    } cases[] = {
        {IDS_ACTION_ADD, 1000, 400, "400", "1,000", "60%"},
        {IDS_ACTION_ADD, 999, 999, "999", "999", "0%"},
        {IDS_ACTION_ADD, 1000000, 5000, "5,000", "1,000,000", "99%"},
        {IDS_ACTION_ADD, 1000000, 9999, "9,999", "1,000,000", "99%"},   // below 1 %: 99, never 100
        {IDS_ACTION_ADD, 1000, 1000, "1,000", "1,000", "0%"},
        {IDS_ACTION_ADD, 1000, 1050, "1,050", "1,000", "-5%"},
        {IDS_ACTION_ADD, 1234567890, 1001, "1,001", "1,234,567,890", "99%"},
        {IDS_ACTION_ADD, 0, 0, "0", "", "-"},                           // a file that is not installed
        {IDS_ACTION_INVALID_NAME, 0, 0, "-", "", "-"},
        {IDS_ACTION_ADD, 0, 12, "12", "", ""},                          // an empty file's stream
    };
    for (const Case& c : cases) {
        ResultColumns columns = FormatResultColumns(c.action, c.size, c.packed);
        EXPECT_EQ(columns.packed, c.packedText) << c.size << "/" << c.packed;
        EXPECT_EQ(columns.size, c.sizeText) << c.size << "/" << c.packed;
        EXPECT_EQ(columns.ratio, c.ratio) << c.size << "/" << c.packed;
    }
    EXPECT_EQ(GroupedNumber(1001001), "1,001,001");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
}

}  // namespace
}  // namespace sw
