#include "model/FileItem.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(FileItem, SharedLibrariesCountTheirUsage)
{
    struct Case {
        const char* name;
        int usage;
    } cases[] = {{"LIB.DLL", 1}, {"x.Ocx", 1}, {"sub\\a.dll", 1}, {"dll", 0}, {"a.dll.txt", 0}, {"readme.txt", 0}};
    for (const Case& c : cases) {
        CFileItem item(c.name);
        EXPECT_EQ(item.GetOption(OPT_USAGE_COUNT), c.usage) << c.name;
        EXPECT_EQ(item.GetOption(OPT_INSTALL_MODE), 1) << c.name;
    }
    EXPECT_EQ(CFileItem().GetOption(OPT_USAGE_COUNT), 0);
}

TEST(FileItem, OptionSlotsOutsideTheRangeAreInert)
{
    CFileItem item("a.txt");
    EXPECT_EQ(item.GetOption(7), 0);
    EXPECT_EQ(item.GetOption(-1), 0);
    CFileItem before = item;
    item.SetOption(5, 9);
    item.SetOption(-1, 9);
    EXPECT_EQ(item, before);
    item.SetOption(OPT_SPECIAL, 2);
    EXPECT_EQ(item.GetOption(OPT_SPECIAL), 2);
}

TEST(FileItem, OptionsCode)
{
    struct Case {
        std::array<std::int32_t, 5> options;
        const char* icon;
        const char* shortcut;
        const char* code;
    } cases[] = {
        {{0, 0, 1, 1, 0}, "", "", "......."},  // a new .dll: usage counts only outside the installation folder
        {{3, 0, 0, 1, 0}, "", "", "...f..."},  // a font
        {{2, 0, 1, 0, 0}, "", "", "...sux."},  // system directory, usage count, not uninstalled
        {{1, 1, 0, 2, 1}, "Icon", "Desk", "isvw.Nv"},
        {{0, 2, 0, 1, 2}, "", "Desk", ".sr...o"},
        {{9, 9, 1, 9, 9}, "", "", "....u.."},  // out-of-range values show nothing but the usage
    };
    for (const Case& c : cases) {
        CFileItem item("x");
        item.m_nOptions = c.options;
        item.m_strIconName = c.icon;
        item.m_strShortcutName = c.shortcut;
        EXPECT_EQ(item.GetOptionsCode(), c.code);
    }
}

TEST(FileItem, NamesCompareIgnoringCase)
{
    EXPECT_TRUE(SameFileName("Sub\\A.TXT", "sub\\a.txt"));
    EXPECT_FALSE(SameFileName("a.txt", "a.txt "));
    EXPECT_FALSE(SameFileName("\xC3\xA9", "\xC3\x89"));  // non-ASCII letters compare as written
    EXPECT_EQ(FoldFileName("Sub\\A.TXT"), "sub\\a.txt");
}

}  // namespace
}  // namespace sw
