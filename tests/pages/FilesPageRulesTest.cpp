#include <gtest/gtest.h>

#include "FileListFixture.h"

#include <filesystem>
#include <fstream>

#include "pages/FilesPageRules.h"
#include "platform/StringTable.h"
#include "support/TempDir.h"

namespace sw {
namespace {

using test::ListOf;

std::vector<std::string> RowNames(const CFileList& files)
{
    std::vector<std::string> names;
    for (int index : FileRowOrder(files)) names.push_back(files[static_cast<std::size_t>(index)].m_strName);
    return names;
}

TEST(FilesPageRows, OrderPutsRootFilesFirstThenFolderAndNameIgnoringCase)
{
    struct Case {
        std::initializer_list<const char*> names;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {{"sub\\c.txt", "B.txt", "a.txt"}, {"B.txt", "a.txt", "sub\\c.txt"}},
        {{"z\\a.txt", "A\\b.txt", "a\\A.txt"}, {"a\\A.txt", "A\\b.txt", "z\\a.txt"}},
        {{"sub\\deep\\x.txt", "sub\\y.txt", "root.txt"}, {"root.txt", "sub\\y.txt", "sub\\deep\\x.txt"}},
        {{"Sub\\b.txt", "sub\\A.txt"}, {"sub\\A.txt", "Sub\\b.txt"}},
    };
    for (const Case& c : cases) EXPECT_EQ(RowNames(ListOf(c.names)), c.rows);
}

TEST(FilesPageRows, SortingLeavesTheProjectListAlone)
{
    CFileList files = ListOf({"sub\\c.txt", "a.txt"});
    FileRowOrder(files);
    EXPECT_EQ(files[0].m_strName, "sub\\c.txt");
}

TEST(FilesPageDirectory, TypedDirectoryGetsOneTrailingSeparator)
{
    EXPECT_EQ(NormalizeDirectoryText("/data"), "/data/");
    EXPECT_EQ(NormalizeDirectoryText("/data/"), "/data/");
    EXPECT_EQ(NormalizeDirectoryText(""), "");
}

class ScanRecorder : public IScanHost {
public:
    void ShowStatusText(const std::string& text) override { texts.push_back(text); }
    bool IsEscapeDown() override { return ++asked >= escapeAt && escapeAt > 0; }
    std::vector<std::string> texts;
    int asked = 0;
    int escapeAt = 0;  // the answer that is Yes, 0 for never
};

class FilesPageScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir / "sub");
        for (const char* name : {"a.txt", "tool.dll", "sub/c.txt"}) std::ofstream(dir / name) << name;
        data.m_strSourceDir = dir.Path();
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const CFileItem& item : data.m_files) names.push_back(item.m_strName);
        std::sort(names.begin(), names.end());
        return names;
    }
    test::TempDir dir;
    CData data;
    ScanRecorder host;
};

TEST_F(FilesPageScan, ScanListsEveryFileShowsProgressAndClearsTheStatusAfterwards)
{
    EXPECT_TRUE(ScanSourceDirectory(data, dir.Path(), &host));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "sub\\c.txt", "tool.dll"}));
    ASSERT_EQ(host.texts.size(), 4u);
    EXPECT_EQ(host.texts[0].rfind(LoadString(IDS_PRESS_ESC_TO_CANCEL) + " ", 0), 0u);
    EXPECT_EQ(host.texts.back(), "");
    EXPECT_EQ(data.m_strSourceDir, dir.Path());
}

TEST_F(FilesPageScan, RescanKeepsTheOptionsAndStoredNameOfFilesThatStillExist)
{
    ScanSourceDirectory(data, dir.Path(), nullptr);
    CFileItem& a = data.m_files[static_cast<std::size_t>(data.m_files.FindFile("a.txt"))];
    a.m_strName = "A.TXT";  // the case the project had before the disk's name changed
    a.m_strIconName = "Read me";
    a.SetOption(OPT_TARGET_DIR, 2);
    std::filesystem::remove(dir / "tool.dll");
    std::ofstream(dir / "new.txt") << "new";

    ScanSourceDirectory(data, dir.Path(), nullptr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.TXT", "new.txt", "sub\\c.txt"}));
    const CFileItem& kept = data.m_files[static_cast<std::size_t>(data.m_files.FindFile("a.txt"))];
    EXPECT_EQ(kept.m_strIconName, "Read me");
    EXPECT_EQ(kept.GetOption(OPT_TARGET_DIR), 2);
}

TEST_F(FilesPageScan, SubDirectoriesOffDropTheirItemsAndOnBringThemBackWithDefaults)
{
    ScanSourceDirectory(data, dir.Path(), nullptr);
    data.m_files[static_cast<std::size_t>(data.m_files.FindFile("sub\\c.txt"))].m_strIconName = "C";
    data.m_bIncludeSubdirs = 0;
    ScanSourceDirectory(data, dir.Path(), nullptr);
    EXPECT_EQ(data.m_files.FindFile("sub\\c.txt"), -1);
    data.m_bIncludeSubdirs = 1;
    ScanSourceDirectory(data, dir.Path(), nullptr);
    EXPECT_EQ(data.m_files[static_cast<std::size_t>(data.m_files.FindFile("sub\\c.txt"))], CFileItem("sub\\c.txt"));
}

TEST_F(FilesPageScan, EscapeEmptiesTheListButKeepsTheDirectory)
{
    ScanSourceDirectory(data, dir.Path(), nullptr);
    host.escapeAt = 2;
    EXPECT_FALSE(ScanSourceDirectory(data, dir.Path(), &host));
    EXPECT_TRUE(data.m_files.empty());
    EXPECT_EQ(data.m_strSourceDir, dir.Path());
    EXPECT_EQ(host.texts.back(), "");
}

TEST_F(FilesPageScan, EmptyOrMissingDirectoryGivesAnEmptyList)
{
    std::filesystem::create_directories(dir / "empty");
    for (const std::string& directory : {std::string(), dir / "empty/", dir / "missing/"}) {
        data.m_files = ListOf({"old.txt"});
        ScanSourceDirectory(data, directory, nullptr);
        EXPECT_TRUE(data.m_files.empty()) << directory;
    }
}

TEST(FilesPageSelection, SummaryGivesCommonValuesAndEnablesUsageCountOnlyOutsideTheInstallationDirectory)
{
    CFileList files = ListOf({"a.dll", "b.dll", "c.txt"});
    files[0].SetOption(OPT_TARGET_DIR, 2);
    files[1].SetOption(OPT_TARGET_DIR, 1);
    files[1].SetOption(OPT_SPECIAL, 2);
    struct Case {
        std::vector<int> selected;
        std::array<int, OPT_COUNT> common;
        bool anyEnabled, usageEnabled;
    };
    const Case cases[] = {
        {{}, {-1, -1, -1, -1, -1}, false, false},
        {{0}, {2, 0, 1, 1, 0}, true, true},
        {{0, 1}, {-1, 0, 1, 1, -1}, true, true},
        {{0, 2}, {-1, 0, -1, 1, 0}, true, false},
        {{2}, {0, 0, 0, 1, 0}, true, false},
    };
    for (const Case& c : cases) {
        OptionSummary summary = SummarizeSelection(files, c.selected);
        EXPECT_EQ(summary.common, c.common) << c.selected.size();
        EXPECT_EQ(summary.enabled[OPT_TARGET_DIR], c.anyEnabled);
        EXPECT_EQ(summary.enabled[OPT_USAGE_COUNT], c.usageEnabled);
    }
}

TEST(FilesPageSelection, SetOptionWritesEverySelectedItemAndIgnoresMinusOne)
{
    CFileList files = ListOf({"a.txt", "b.txt", "c.txt"});
    EXPECT_FALSE(SetOptionForSelection(files, {0, 2}, OPT_TARGET_DIR, -1));
    EXPECT_TRUE(SetOptionForSelection(files, {0, 2}, OPT_TARGET_DIR, 3));
    EXPECT_EQ(files[0].GetOptionsCode(), "...f...");
    EXPECT_EQ(files[1].GetOptionsCode(), ".......");
    EXPECT_EQ(files[2].GetOption(OPT_TARGET_DIR), 3);
}

TEST(FilesPageSelection, ContextMenuGreysWhatCannotApply)
{
    struct Case {
        int rows, selected;
        bool selectAll, unselect;
    };
    const Case cases[] = {{0, 0, false, false}, {3, 0, true, false}, {3, 2, true, true}};
    for (const Case& c : cases) {
        FilesMenuState state = GetFilesMenuState(c.rows, c.selected);
        EXPECT_EQ(state.selectAll, c.selectAll);
        EXPECT_EQ(state.unselect, c.unselect);
        EXPECT_TRUE(state.refresh);
    }
}

TEST(FilesPageWizard, ChoicesApplyToTheFilesTheyNameInsideTheSourceDirectory)
{
    CData data;
    data.m_strSourceDir = "/src/product/";
    data.m_strTitle = "Acme";
    data.m_files = ListOf({"acme.exe", "doc\\readme.txt", "other.txt"});
    data.m_strWizIconFile = "/SRC/Product/acme.exe";
    data.m_strWizIconName = "Acme";
    data.m_bWizDesktopShortcut = 1;
    data.m_strWizViewFile = "/src/product/doc/readme.txt";
    data.m_strWizRunFile = "/elsewhere/other.txt";
    ApplyWizardChoices(data);

    EXPECT_EQ(data.m_files[0].m_strIconFolder, "Acme");
    EXPECT_EQ(data.m_files[0].m_strIconName, "Acme");
    EXPECT_EQ(data.m_files[0].m_strShortcutName, "Acme");
    EXPECT_EQ(data.m_files[1].GetOption(OPT_END_PAGE), 1);
    EXPECT_EQ(data.m_texts[5][2], LoadString(IDS_WIZ_VIEW_FILE_TEXT));
    EXPECT_EQ(data.m_files[2].GetOption(OPT_END_PAGE), 0);  // outside the source directory
    EXPECT_EQ(data.m_texts[5][3], CData().m_texts[5][3]);
}

}  // namespace
}  // namespace sw
