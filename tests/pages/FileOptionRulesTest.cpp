#include <gtest/gtest.h>

#include "FileListFixture.h"

#include "pages/FileOptionRules.h"

namespace sw {
namespace {

using test::ListOf;

TEST(StartMenuPage, FolderIsSharedAndTheOtherFieldsBelongToOneFile)
{
    CFileList files = ListOf({"a.exe", "b.exe", "c.exe"});
    files[0].m_strIconFolder = "Acme";
    files[1].m_strIconFolder = "ACME";
    files[2].m_strIconFolder = "Tools";
    files[0].m_strIconName = "A";
    files[0].m_nIconIndex = -2;
    struct Case {
        std::vector<int> selected;
        bool folderEnabled, singleEnabled;
        std::string folder, name, number;
    };
    const Case cases[] = {
        {{}, false, false, "", "", ""},
        {{0}, true, true, "Acme", "A", "-2"},
        {{0, 1}, true, false, "Acme", "", ""},  // folders equal ignoring case
        {{0, 2}, true, false, "", "", ""},
    };
    for (const Case& c : cases) {
        StartMenuFields fields = FillStartMenuPage(files, c.selected);
        EXPECT_EQ(fields.folderEnabled, c.folderEnabled);
        EXPECT_EQ(fields.singleEnabled, c.singleEnabled);
        EXPECT_EQ(fields.folder, c.folder);
        EXPECT_EQ(fields.name, c.name);
        EXPECT_EQ(fields.iconNumber, c.number);
    }
}

TEST(StartMenuPage, TypingAFolderGivesItToEverySelectedFileAndNothingElse)
{
    CFileList files = ListOf({"a.exe", "b.exe"});
    files[0].m_strIconFolder = "Old";
    files[0].m_strIconName = "A";
    files[1].m_strIconFolder = "Tools";
    EXPECT_EQ(SetIconFolder(files, {0, 1}, "Tools"), std::vector<int>{0});
    EXPECT_EQ(files[0].m_strIconFolder, "Tools");
    EXPECT_EQ(files[0].m_strIconName, "A");
    EXPECT_EQ(SetIconFolder(files, {0, 1}, "tools"), (std::vector<int>{0, 1}));  // case counts here
}

TEST(StartMenuPage, SingleFieldsNeedExactlyOneRow)
{
    CFileList files = ListOf({"a.exe", "b.exe"});
    struct Case {
        std::vector<int> selected;
        FileText field;
        std::string text;
        bool changed;
    };
    const Case cases[] = {
        {{0, 1}, FileText::iconName, "X", false},
        {{0}, FileText::iconName, "X", true},
        {{0}, FileText::iconName, "X", false},  // same text again
        {{0}, FileText::iconArgs, "/q", true},
        {{0}, FileText::iconNumber, "12", true},
        {{0}, FileText::iconNumber, "abc", true},  // unreadable reads as 0
        {{1}, FileText::shortcutName, "B", true},
        {{1}, FileText::shortcutArgs, "-x", true},
    };
    for (const Case& c : cases) EXPECT_EQ(SetSingleFileText(files, c.selected, c.field, c.text), c.changed);
    EXPECT_EQ(files[0].m_strIconName, "X");
    EXPECT_EQ(files[0].m_strIconArgs, "/q");
    EXPECT_EQ(files[0].m_nIconIndex, 0);
    EXPECT_EQ(files[1].GetOptionsCode(), ".s.....");
    EXPECT_EQ(ParseIconNumber("-7"), -7);
}

TEST(StartMenuPage, MacrosAppendToTheFolder)
{
    std::string folder = AppendFolderMacro("Acme", FolderMacro::startMenuRoot);
    EXPECT_EQ(AppendFolderMacro(folder, FolderMacro::startMenuRoot), "Acme#Start Menu##Start Menu#");
    EXPECT_EQ(AppendFolderMacro("", FolderMacro::startup), "#Startup#");
}

TEST(ShortcutAndEndPages, DisabledUnlessExactlyOneRowIsSelected)
{
    CFileList files = ListOf({"a.exe", "b.exe"});
    files[0].m_strShortcutName = "A";
    files[0].SetOption(OPT_END_PAGE, 2);
    EXPECT_FALSE(FillShortcutPage(files, {0, 1}).enabled);
    EXPECT_FALSE(FillEndPagePage(files, {0, 1}).enabled);
    EXPECT_EQ(FillShortcutPage(files, {0}).name, "A");
    EndPageBoxes boxes = FillEndPagePage(files, {0});
    EXPECT_TRUE(boxes.enabled);
    EXPECT_FALSE(boxes.view);
    EXPECT_TRUE(boxes.run);
}

TEST(EndPage, OneViewFileAndOneRunFilePerProject)
{
    CFileList files = ListOf({"a.txt", "b.txt", "c.exe"});
    ClickEndPageBox(files, {0}, 1, true);
    EXPECT_EQ(ClickEndPageBox(files, {1}, 1, true), (std::vector<int>{0, 1}));
    EXPECT_EQ(files[0].GetOptionsCode(), ".......");
    EXPECT_EQ(files[1].GetOptionsCode(), "..v....");

    ClickEndPageBox(files, {2}, 2, true);
    ClickEndPageBox(files, {1}, 2, true);  // the View file becomes the Run file only
    EXPECT_EQ(files[1].GetOption(OPT_END_PAGE), 2);
    EXPECT_EQ(files[2].GetOption(OPT_END_PAGE), 0);
    ClickEndPageBox(files, {1}, 2, false);
    EXPECT_EQ(files[1].GetOption(OPT_END_PAGE), 0);
    EXPECT_TRUE(ClickEndPageBox(files, {0, 1}, 1, true).empty());
}

AdvancedBoxes Checked(std::initializer_list<AdvancedBox> boxes)
{
    AdvancedBoxes result;
    for (AdvancedBox box : boxes) result.checked[box] = true;
    return result;
}

TEST(AdvancedPage, ClicksKeepAtMostOneBoxPerGroupAndWriteTheOption)
{
    struct Case {
        std::initializer_list<AdvancedBox> before;  // the clicked box already in its new state
        AdvancedBox clicked;
        std::initializer_list<AdvancedBox> after;
        int option, value;
    };
    const Case cases[] = {
        {{BOX_WINDOWS, BOX_FONTS}, BOX_FONTS, {BOX_FONTS}, OPT_TARGET_DIR, 3},
        {{BOX_SYSTEM}, BOX_WINDOWS, {BOX_SYSTEM}, OPT_TARGET_DIR, 2},  // Windows unchecked, System still on
        {{}, BOX_SYSTEM, {}, OPT_TARGET_DIR, 0},
        {{BOX_USAGE_COUNT}, BOX_USAGE_COUNT, {BOX_USAGE_COUNT}, OPT_USAGE_COUNT, 1},
        {{}, BOX_USAGE_COUNT, {}, OPT_USAGE_COUNT, 0},
        {{BOX_NO_UNINSTALL, BOX_NO_INSTALL}, BOX_NO_UNINSTALL, {BOX_NO_UNINSTALL}, OPT_INSTALL_MODE, 0},
        {{BOX_NO_INSTALL}, BOX_NO_UNINSTALL, {BOX_NO_INSTALL}, OPT_INSTALL_MODE, 2},
        {{}, BOX_NO_UNINSTALL, {}, OPT_INSTALL_MODE, 1},
        {{BOX_NO_UNINSTALL, BOX_NO_INSTALL}, BOX_NO_INSTALL, {BOX_NO_INSTALL}, OPT_INSTALL_MODE, 2},
        {{BOX_NO_UNINSTALL}, BOX_NO_INSTALL, {BOX_NO_UNINSTALL}, OPT_INSTALL_MODE, 0},
        {{BOX_SCREEN_SAVER, BOX_REGISTER_OCX}, BOX_SCREEN_SAVER, {BOX_SCREEN_SAVER}, OPT_SPECIAL, 1},
        {{BOX_REGISTER_OCX}, BOX_SCREEN_SAVER, {BOX_REGISTER_OCX}, OPT_SPECIAL, 2},
        {{}, BOX_REGISTER_OCX, {}, OPT_SPECIAL, 0},
        {{BOX_SCREEN_SAVER, BOX_REGISTER_OCX}, BOX_REGISTER_OCX, {BOX_REGISTER_OCX}, OPT_SPECIAL, 2},
    };
    for (const Case& c : cases) {
        AdvancedBoxes boxes = Checked(c.before);
        OptionWrite write = ClickAdvancedBox(boxes, c.clicked);
        EXPECT_EQ(boxes.checked, Checked(c.after).checked) << c.clicked;
        EXPECT_EQ(write.option, c.option) << c.clicked;
        EXPECT_EQ(write.value, c.value) << c.clicked;
    }
}

TEST(AdvancedPage, FillingShowsCommonValuesAndTheUsageCountOnlyOutsideTheInstallationDirectory)
{
    CFileList files = ListOf({"a.dll", "b.dll"});
    EXPECT_EQ(FillAdvancedPage(SummarizeSelection(files, {}), false).enabled, AdvancedBoxes().enabled);

    AdvancedBoxes single = FillAdvancedPage(SummarizeSelection(files, {0}), true);
    EXPECT_FALSE(single.enabled[BOX_USAGE_COUNT]);
    EXPECT_FALSE(single.checked[BOX_USAGE_COUNT]);
    EXPECT_TRUE(single.enabled[BOX_SYSTEM]);

    files[0].SetOption(OPT_TARGET_DIR, 2);
    single = FillAdvancedPage(SummarizeSelection(files, {0}), true);
    EXPECT_TRUE(single.enabled[BOX_USAGE_COUNT]);
    EXPECT_TRUE(single.checked[BOX_USAGE_COUNT]);  // .dll files count their usage by default
    EXPECT_TRUE(single.checked[BOX_SYSTEM]);

    files[1].SetOption(OPT_TARGET_DIR, 1);
    files[1].SetOption(OPT_INSTALL_MODE, 2);
    AdvancedBoxes mixed = FillAdvancedPage(SummarizeSelection(files, {0, 1}), true);
    EXPECT_FALSE(mixed.checked[BOX_WINDOWS] || mixed.checked[BOX_SYSTEM] || mixed.checked[BOX_FONTS]);
    EXPECT_FALSE(mixed.checked[BOX_NO_INSTALL]);
    AdvancedBoxes clicked = mixed;
    clicked.checked[BOX_FONTS] = true;
    OptionWrite write = ClickAdvancedBox(clicked, BOX_FONTS);
    SetOptionForSelection(files, {0, 1}, write.option, write.value);
    EXPECT_EQ(files[0].GetOption(OPT_TARGET_DIR), 3);
    EXPECT_EQ(files[1].GetOption(OPT_TARGET_DIR), 3);
}

}  // namespace
}  // namespace sw
