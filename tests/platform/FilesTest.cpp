#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/FileError.h"
#include "support/TempDir.h"

namespace sw {
namespace {

using test::TempDir;

TEST(Files, ReadWholeFileReadsEveryByteAndRefusesWhatItCannot)
{
    TempDir dir;
    std::string content(200000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    std::string path = dir.Write("data.bin", content);
    EXPECT_EQ(ReadWholeFile(path), content);
    EXPECT_THROW(ReadWholeFile(path, 1000), CFileError);
    EXPECT_THROW(ReadWholeFile(dir / "missing"), CFileError);
    EXPECT_THROW(ReadWholeFile(dir.Path()), CFileError);
}

TEST(Files, ReplacingWriteLeavesNoTemporaryFiles)
{
    TempDir dir;
    std::string path = dir.Write("project.kft", "old");
    ::chmod(path.c_str(), 0640);
    WriteFileReplacing(path, "new content");
    EXPECT_EQ(test::ReadFile(path), "new content");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file keeps its mode";
    auto entries = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    EXPECT_EQ(entries, 1);
}

TEST(Files, FailedReplacingWriteKeepsWhatWasThere)
{
    TempDir dir;
    // The target is a non-empty directory: the rename fails after the data was written.
    dir.Write("target/keep.txt", "kept");
    EXPECT_THROW(WriteFileReplacing(dir / "target", "data"), CFileError);
    EXPECT_EQ(test::ReadFile(dir / "target/keep.txt"), "kept");
    auto entries = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    EXPECT_EQ(entries, 1) << "the temporary file is removed";
    // A folder that does not exist: nothing is created.
    EXPECT_THROW(WriteFileReplacing(dir / "no/such/folder/x.kft", "data"), CFileError);
}

TEST(Files, ListDirectoryKeepsFilesAndDirectoriesOnly)
{
    TempDir dir;
    dir.Write("a.txt", "a");
    dir.Write("sub/b.txt", "b");
    ASSERT_EQ(::symlink("a.txt", (dir / "link-to-file").c_str()), 0);
    ASSERT_EQ(::symlink("sub", (dir / "link-to-dir").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);

    auto entries = ListDirectory(dir.Path());
    std::vector<std::pair<std::string, bool>> seen;
    for (const DirEntry& e : entries) seen.emplace_back(e.name, e.isDirectory);
    std::sort(seen.begin(), seen.end());
    std::vector<std::pair<std::string, bool>> expected = {{"a.txt", false}, {"link-to-file", false}, {"sub", true}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(ListDirectory(dir / "missing").empty());
}

TEST(Files, ExecutableDirIsTheFolderOfThisProgram)
{
    std::string dir = ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(IsDirectory(dir));
}

}  // namespace
}  // namespace sw
