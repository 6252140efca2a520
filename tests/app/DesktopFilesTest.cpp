#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DesktopFiles.h"
#include "support/TempDir.h"

namespace sw {
namespace {

std::string Read(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DesktopFiles, SettingsFilesOpenWithTheProgram)
{
    std::string entry = DesktopEntryText("/opt/sw/setwright");
    EXPECT_NE(entry.find("Exec=\"/opt/sw/setwright\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-setwright-settings;"), std::string::npos);
    EXPECT_NE(entry.find("Name=Quorvix Setwright\n"), std::string::npos);
    std::string mime = MimeTypeText();
    EXPECT_NE(mime.find("<glob pattern=\"*.kft\"/>"), std::string::npos);
    EXPECT_NE(mime.find("<comment>Quorvix Setwright Settings</comment>"), std::string::npos);
}

TEST(DesktopFiles, WrittenOnlyWhenMissingOrDifferent)
{
    test::TempDir home;
    EXPECT_TRUE(RegisterSettingsFileType(home.Path(), "/a/setwright"));
    EXPECT_EQ(Read(home / "applications/setwright.desktop"), DesktopEntryText("/a/setwright"));
    EXPECT_EQ(Read(home / "mime/packages/setwright-settings.xml"), MimeTypeText());
    EXPECT_FALSE(RegisterSettingsFileType(home.Path(), "/a/setwright"));
    EXPECT_TRUE(RegisterSettingsFileType(home.Path(), "/b/setwright"));  // the program moved
    EXPECT_FALSE(RegisterSettingsFileType("", "/a/setwright"));
}

TEST(DesktopFiles, InstalledFilesMatchTheGeneratedOnes)
{
    std::string source = SETWRIGHT_SOURCE_DIR;
    EXPECT_EQ(Read(source + "/res/desktop/setwright-settings.xml"), MimeTypeText());
    std::string installed = Read(source + "/res/desktop/setwright.desktop");
    std::string generated = DesktopEntryText("setwright");
    // The installed entry finds the program on PATH.
    generated.replace(generated.find("\"setwright\""), 11, "setwright");
    EXPECT_EQ(installed, generated);
}

}  // namespace
}  // namespace sw
