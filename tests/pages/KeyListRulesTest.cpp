#include <gtest/gtest.h>

#include "pages/KeyListRules.h"

namespace sw {
namespace {

using Keys = std::vector<std::string>;

TEST(KeyList, RemovingRowsKeepsEveryOtherRowOnItsEntry)
{
    struct Case {
        KeyRowIndexes rows;  // item data of the rows before, in row order
        std::vector<std::size_t> removed;
        Keys keysAfter;
        KeyRowIndexes rowsAfter;
    };
    const Case cases[] = {
        {{0, 1, 2, 3}, {1, 2}, {"A", "D"}, {0, 1}},
        {{0, 1, 2, 3}, {2, 1}, {"A", "D"}, {0, 1}},  // any order
        {{0, 1, 2, 3}, {0, 3}, {"B", "C"}, {0, 1}},
        {{3, 2, 1, 0}, {0}, {"A", "B", "C"}, {2, 1, 0}},  // rows in another order than entries
        {{3, 2, 1, 0}, {1, 3}, {"B", "D"}, {1, 0}},
        {{0, 1, 2, 3}, {}, {"A", "B", "C", "D"}, {0, 1, 2, 3}},
        {{0, 1, 2, 3}, {7}, {"A", "B", "C", "D"}, {0, 1, 2, 3}},
        {{0, 1, 2, 3}, {1, 1}, {"A", "C", "D"}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        Keys keys{"A", "B", "C", "D"};
        KeyRowIndexes rows = c.rows;
        RemoveKeyRows(keys, rows, c.removed);
        EXPECT_EQ(keys, c.keysAfter);
        EXPECT_EQ(rows, c.rowsAfter);
    }
}

TEST(KeyList, EndOfAnEditStoresTheTrimmedKeyOrRemovesTheRow)
{
    struct Case {
        const char* typed;
        std::optional<std::string> label;
        Keys keysAfter;
        KeyRowIndexes rowsAfter;
    };
    const Case cases[] = {
        {"  HKEY_CURRENT_USER\\Software\\Acme \t", "HKEY_CURRENT_USER\\Software\\Acme",
         {"A", "HKEY_CURRENT_USER\\Software\\Acme", "C"}, {0, 1, 2}},
        {"  ", std::nullopt, {"A", "C"}, {0, 1}},
        {"", std::nullopt, {"A", "C"}, {0, 1}},
        {"B", "B", {"A", "B", "C"}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        Keys keys{"A", "B", "C"};
        KeyRowIndexes rows = KeyRowsFor(keys);
        EXPECT_EQ(EndKeyEdit(keys, rows, 1, c.typed), c.label) << c.typed;
        EXPECT_EQ(keys, c.keysAfter);
        EXPECT_EQ(rows, c.rowsAfter);
    }
}

TEST(KeyList, AnAddedKeyLeftBlankLeavesTheListAsItWas)
{
    Keys keys{"A"};
    KeyRowIndexes rows = KeyRowsFor(keys);
    std::size_t row = AddKeyRow(keys, rows);
    EXPECT_EQ(row, 1u);
    EXPECT_EQ(keys, (Keys{"A", ""}));
    EXPECT_EQ(rows, (KeyRowIndexes{0, 1}));
    EXPECT_EQ(EndKeyEdit(keys, rows, row, "  "), std::nullopt);
    EXPECT_EQ(keys, Keys{"A"});
    EXPECT_EQ(rows, KeyRowIndexes{0});
}

TEST(KeyList, TrimRemovesWhiteSpaceAtBothEndsOnly)
{
    EXPECT_EQ(TrimKey(" \tSoftware\\My Product\r\n"), "Software\\My Product");
    EXPECT_EQ(TrimKey("\v\f"), "");
}

}  // namespace
}  // namespace sw
