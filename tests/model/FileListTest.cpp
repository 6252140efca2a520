#include "model/FileList.h"

#include <algorithm>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "model/ScanHost.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace sw {
namespace {

using test::TempDir;

// Records the status texts; holds Escape down from the given status line on.
class RecordingHost : public IScanHost {
public:
    explicit RecordingHost(std::size_t escapeAt = SIZE_MAX) : m_escapeAt(escapeAt) {}
    void ShowStatusText(const std::string& text) override { texts.push_back(text); }
    bool IsEscapeDown() override { return texts.size() > m_escapeAt; }
    std::vector<std::string> texts;

private:
    std::size_t m_escapeAt;
};

std::vector<std::string> Names(const CFileList& list)
{
    std::vector<std::string> names;
    for (const CFileItem& item : list) names.push_back(item.m_strName);
    return names;
}

TEST(FileList, NamesAreUniqueIgnoringCase)
{
    CFileList list;
    EXPECT_EQ(list.AddFile(CFileItem("a.txt")), 0);
    EXPECT_EQ(list.AddFile(CFileItem("sub\\b.txt")), 1);
    EXPECT_EQ(list.AddFile(CFileItem("A.TXT")), -1);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.FindFile("SUB\\B.txt"), 1);
    EXPECT_EQ(list.FindFile("c.txt"), -1);
}

TEST(FileList, CopiesCollapseDuplicates)
{
    CFileList loaded;  // a settings file may hold the same name twice
    CFileItem first("a.txt");
    first.m_strIconName = "First";
    loaded.push_back(first);
    loaded.push_back(CFileItem("b.txt"));
    loaded.push_back(CFileItem("A.txt"));
    CFileList copy = loaded;
    EXPECT_EQ(Names(copy), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(copy[0].m_strIconName, "First");
    copy = copy;
    EXPECT_EQ(copy.size(), 2u);
}

TEST(FileList, AddFileWithProgressShowsTheNameAndCancelsOnEscape)
{
    CFileList list;
    list.AddFile(CFileItem("kept-until-cancel.txt"));
    RecordingHost host(1);
    EXPECT_EQ(list.AddFile(CFileItem("one.txt"), &host), 1);
    EXPECT_EQ(host.texts.back(), "Press ESC to cancel : one.txt");
    EXPECT_THROW(list.AddFile(CFileItem("two.txt"), &host), CUserCancel);
    EXPECT_TRUE(list.empty()) << "a cancel empties the whole list";
}

TEST(FileList, ScanListsFilesWhereTheirDirectoryWasMet)
{
    TempDir dir;
    dir.Write("a.txt", "");
    dir.Write("sub/b.dll", "");
    dir.Write("sub/deeper/c.txt", "");
    dir.Write("sub/d.txt", "");
    dir.Write("z.txt", "");
    dir.Write("empty/.keep-not", "");
    std::filesystem::remove(dir / "empty/.keep-not");

    CFileList list;
    list.AddFile(CFileItem("Z.TXT"));  // already listed: kept once, with its options
    list[0].m_strIconName = "Zed";
    RecordingHost host;
    list.AddDirectory(dir.Path(), dir.Path(), true, &host);

    // Expected order: walk the folders in the order the file system lists them.
    std::vector<std::string> expected = {"Z.TXT"};
    std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& path,
                                                                            const std::string& prefix) {
        for (const DirEntry& e : ListDirectory(path)) {
            if (e.isDirectory)
                walk(path + e.name + "/", prefix + e.name + "\\");
            else if (prefix + e.name != "z.txt")
                expected.push_back(prefix + e.name);
        }
    };
    walk(dir.Path(), "");
    EXPECT_EQ(Names(list), expected);
    EXPECT_EQ(list[0].m_strIconName, "Zed");
    EXPECT_EQ(list[static_cast<std::size_t>(list.FindFile("sub\\b.dll"))].GetOption(OPT_USAGE_COUNT), 1);
    EXPECT_EQ(host.texts.size(), 5u) << "every file met is shown, the duplicate too";

    CFileList flat;
    flat.AddDirectory(dir.Path(), dir.Path(), false, nullptr);
    std::vector<std::string> top = Names(flat);
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"a.txt", "z.txt"}));
}

TEST(FileList, ScanOfAnEmptyDirectoryShowsNothing)
{
    TempDir dir;
    CFileList list;
    RecordingHost host;
    list.AddDirectory(dir.Path(), dir.Path(), true, &host);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(host.texts.empty());
}

TEST(FileList, EscapeDuringAScanEmptiesTheList)
{
    TempDir dir;
    for (int i = 0; i < 5; ++i) dir.Write("f" + std::to_string(i), "");
    CFileList list;
    RecordingHost host(2);
    EXPECT_THROW(list.AddDirectory(dir.Path(), dir.Path(), true, &host), CUserCancel);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(host.texts.size(), 3u);
}

}  // namespace
}  // namespace sw
