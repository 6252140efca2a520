#include "platform/StringTable.h"

#include <vector>

#include <gtest/gtest.h>


namespace sw {
namespace {

struct Row {
    int number;
    const char* text;
};

constexpr Row kRows[] = {
#define SW_STRING(symbol, number, text) {number, text},
#include "strings.def"
#undef SW_STRING
};

TEST(StringTable, NumbersAscendSoLookupsFindEveryText)
{
    for (std::size_t i = 1; i < std::size(kRows); ++i)
        EXPECT_LT(kRows[i - 1].number, kRows[i].number) << "after " << kRows[i - 1].number;
    for (const Row& row : kRows) EXPECT_EQ(LoadString(row.number), row.text) << row.number;
    EXPECT_EQ(LoadString(1), "");
    EXPECT_FALSE(HasString(19999));
}

}  // namespace
}  // namespace sw
