#include "model/SettingsFile.h"

#include <cstring>

#include <gtest/gtest.h>

#include "model/Archive.h"
#include "model/SettingsVersion.h"
#include "model/WizardTexts.h"
#include "platform/FileError.h"
#include "support/TempDir.h"

namespace sw {
namespace {

// A small writer of our own, so that the expected bytes do not come from the code under test.
struct Bytes {
    std::string out;
    Bytes& Int(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& Word(std::uint32_t v)
    {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
        return *this;
    }
    Bytes& Byte(int v)
    {
        out += static_cast<char>(v);
        return *this;
    }
    Bytes& Str(const std::string& s)
    {
        if (s.size() < 255)
            Byte(static_cast<int>(s.size()));
        else
            Byte(0xFF).Word(static_cast<std::uint32_t>(s.size()));
        out += s;
        return *this;
    }
    Bytes& Raw(const std::string& s)
    {
        out += s;
        return *this;
    }
};

std::string NewProjectBytes()
{
    Bytes b;
    b.Int(0x10002).Str("").Int(1).Word(0).Str("MyProduct").Word(9);
    for (int g = 0; g < kTextGroupCount; ++g) {
        b.Word(static_cast<std::uint32_t>(TextTableGroup(g).size()));
        for (std::size_t t = 0; t < TextTableGroup(g).size(); ++t) b.Str(GetDefaultText(g, static_cast<int>(t)));
    }
    b.Str("Uninstal.exe").Str("").Str("").Word(0);
    b.Str("").Str("").Str("MyProduct").Str("").Int(1);
    b.Int(50).Int(0).Int(0).Int(0).Int(900);
    b.Byte(1).Byte(0).Byte(0).Byte(1).Byte(0).Byte(0).Byte(2).Byte(0);
    b.Raw(std::string("Arial") + std::string(27, '\0'));
    b.Int(2).Str("").Int(0).Str("").Str("").Str("").Str("").Str("").Str("").Int(1);
    return b.out;
}

CData RichProject()
{
    CData data;
    data.m_strSourceDir = "/home/author/product/";
    data.m_bIncludeSubdirs = 0;
    CFileItem app("Product.exe");
    app.m_nOptions = {0, 2, 0, 1, 0};
    app.m_strIconFolder = "#Start Menu#\\Product";
    app.m_strIconName = "Product";
    app.m_strIconArgs = "/quiet";
    app.m_nIconIndex = 3;
    app.m_strShortcutName = "Product on the desktop";
    app.m_strShortcutArgs = "--desktop";
    data.m_files.AddFile(app);
    CFileItem lib("system\\Shared.DLL");
    lib.m_nOptions = {2, 0, 1, 0, 2};
    data.m_files.AddFile(lib);
    data.m_files.AddFile(CFileItem("fonts\\Face.ttf"));
    data.m_files[2].SetOption(OPT_TARGET_DIR, 3);
    data.m_files.AddFile(CFileItem("..\\outside.txt"));  // kept as it is; the build refuses it
    data.m_files.AddFile(CFileItem(std::string(300, 'n') + ".txt"));
    data.m_strTitle = "Acme Widgets";
    data.m_texts[0][1] = "Hello\nworld";
    data.m_texts[1][1] = std::string(70000, 'L');  // a long licence text
    data.m_texts[8][10] = "";
    data.m_strWizardBitmap = "wizard.bmp";
    data.m_strBackgroundBitmap = "pattern.bmp";
    data.m_strAttachedFile = "attached.bin";
    data.m_strBackgroundTitle = "Acme";
    data.m_nWindowMode = 0;
    data.m_nDirFlags = DIR_USER_CAN_CHANGE | DIR_WRITE_REGISTRY | DIR_WRITE_INI;
    data.m_lfTitleFont.lfHeight = -24;
    data.m_lfTitleFont.lfUnderline = 1;
    std::memcpy(data.m_lfTitleFont.lfFaceName, "Serif\0junk", 10);
    data.m_strUninstallerName = "Remove.exe";
    data.m_strUninstallIconFolder = "Acme";
    data.m_strUninstallIconName = "Remove Acme";
    data.m_regKeysToRemove = {"HKEY_CURRENT_USER\\Software\\Acme", "HKEY_LOCAL_MACHINE\\Software\\Acme"};
    data.m_strDefaultDir = "#Program Files#\\Acme";
    data.m_nRegRoot = 2;
    data.m_strRegKey = "Software\\Acme";
    data.m_strRegValue = "InstallDir";
    data.m_strIniFile = "acme.ini";
    data.m_strIniSection = "Setup";
    data.m_strIniEntry = "Dir";
    data.m_strOutputFile = "/tmp/AcmeSetup.exe";
    data.m_nPlatform = 2;
    return data;
}

void SetTransients(CData& data)
{
    data.m_bApplyWizardResults = 1;
    data.m_bBuildPending = 1;
    data.m_strWizIconFile = "icon.exe";
    data.m_strWizIconName = "Icon";
    data.m_bWizDesktopShortcut = 1;
    data.m_strWizViewFile = "view.txt";
    data.m_strWizRunFile = "run.exe";
    data.m_bCommandLineBuild = 1;
}

TEST(SettingsFile, NewProjectSavesToTheKnownBytes)
{
    std::string bytes = StoreSettings(CData());
    const char prefix[] = "\x02\x00\x01\x00" "\x00" "\x01\x00\x00\x00" "\x00\x00" "\x09MyProduct" "\x09\x00"
                          "\x05\x00" "\x07Welcome";
    ASSERT_GE(bytes.size(), sizeof prefix - 1);
    EXPECT_EQ(bytes.substr(0, sizeof prefix - 1), std::string(prefix, sizeof prefix - 1));
    EXPECT_EQ(bytes, NewProjectBytes());
}

TEST(SettingsFile, SavedProjectLoadsEqual)
{
    test::TempDir dir;
    CData saved = RichProject();
    SetTransients(saved);
    SaveSettingsFile(saved, dir / "rich.kft");

    CData fresh;
    LoadSettingsFile(fresh, dir / "rich.kft");
    CData expected = saved;
    expected.m_bApplyWizardResults = 0;
    expected.m_bBuildPending = 0;
    expected.m_strWizIconFile = expected.m_strWizIconName = expected.m_strWizViewFile = expected.m_strWizRunFile = "";
    expected.m_bWizDesktopShortcut = 0;
    expected.m_bCommandLineBuild = 0;
    EXPECT_EQ(fresh, expected);
    EXPECT_TRUE(fresh.m_files[3].HasUnsafeName());

    // Loading into a project that holds transient values keeps them, but the pending build.
    CData existing;
    SetTransients(existing);
    LoadSettingsFile(existing, dir / "rich.kft");
    expected = saved;
    expected.m_bBuildPending = 0;
    EXPECT_EQ(existing, expected);

    // Saving what was loaded gives the same bytes again.
    EXPECT_EQ(StoreSettings(existing), test::ReadFile(dir / "rich.kft"));
}

// The fields that follow the window mode, in the form a version writes them.
std::string OldTail(std::int32_t version, std::int32_t readOnlyOrFlags)
{
    Bytes b;
    if (version == 0x10002) {
        b.Int(10).Int(0).Int(0).Int(0).Int(400).Raw(std::string(8, '\0')).Raw(std::string("Old") + std::string(29, '\0'));
    }
    b.Int(static_cast<std::uint32_t>(readOnlyOrFlags)).Str("C:\\Old");
    if (version >= 0x10001) b.Int(1).Str("Key").Str("Value").Str("old.ini").Str("Section").Str("Entry");
    b.Str("out.exe").Int(1);
    return b.out;
}

std::string OldFile(std::int32_t version, const std::string& fileRecords, std::size_t fileCount,
                    std::int32_t readOnlyOrFlags)
{
    Bytes b;
    b.Int(static_cast<std::uint32_t>(version)).Str("C:\\src\\").Int(1).Word(static_cast<std::uint32_t>(fileCount));
    b.Raw(fileRecords).Str("Old").Word(1).Word(1).Str("Hi");
    b.Str("Un.exe").Str("").Str("").Word(0).Str("").Str("").Str("Old").Str("").Int(1);
    b.Raw(OldTail(version, readOnlyOrFlags));
    return b.out;
}

TEST(SettingsFile, OlderVersionsLeaveWhatTheyLackAlone)
{
    CData before;
    before.m_lfTitleFont.lfHeight = 77;
    before.m_strRegKey = "kept";
    before.m_strIniEntry = "kept too";

    CData v0 = before;
    LoadSettings(v0, OldFile(0x10000, "", 0, 5));
    EXPECT_EQ(v0.m_nDirFlags, DIR_USER_CAN_CHANGE);
    EXPECT_EQ(v0.m_lfTitleFont, before.m_lfTitleFont);
    EXPECT_EQ(v0.m_strRegKey, "kept");
    EXPECT_EQ(v0.m_strIniEntry, "kept too");
    EXPECT_EQ(v0.m_strDefaultDir, "C:\\Old");
    EXPECT_EQ(v0.m_strOutputFile, "out.exe");
    EXPECT_EQ(v0.m_texts[0][0], "Hi");
    EXPECT_EQ(v0.m_texts[0][1], GetDefaultText(0, 1));

    CData v1 = before;
    LoadSettings(v1, OldFile(0x10001, "", 0, 0));
    EXPECT_EQ(v1.m_nDirFlags, 0);
    EXPECT_EQ(v1.m_lfTitleFont, before.m_lfTitleFont);
    EXPECT_EQ(v1.m_strRegKey, "Key");
    EXPECT_EQ(v1.m_strIniEntry, "Entry");
    EXPECT_EQ(v1.m_nRegRoot, 1);

    CData v2 = before;
    LoadSettings(v2, OldFile(0x10002, "", 0, 0xC));
    EXPECT_EQ(v2.m_nDirFlags, 0xC);
    EXPECT_EQ(v2.m_lfTitleFont.lfWeight, 400);
    EXPECT_STREQ(v2.m_lfTitleFont.lfFaceName, "Old");
}

TEST(SettingsFile, UnknownVersionsAreRefusedAndLoadNothing)
{
    for (std::int32_t version : {0x10003, 0xFFFF, 0, -1, 0x20002}) {
        CData data;
        data.m_strTitle = "unchanged";
        std::string file = OldFile(0x10002, "", 0, 2);
        file.replace(0, 4, Bytes().Int(static_cast<std::uint32_t>(version)).out);
        try {
            LoadSettings(data, file);
            ADD_FAILURE() << version;
        } catch (const CIncorrectVersion& e) {
            EXPECT_STREQ(e.what(), "Incorrect version");
            EXPECT_EQ(e.Version(), version);
        }
        EXPECT_EQ(data.m_strTitle, "unchanged");
    }
}

TEST(SettingsFile, OlderFileRecordForms)
{
    Bytes records;
    // 0x7001: two options, then icon folder, name, arguments, index, shortcut name and arguments.
    records.Str("two.dll").Int(0x7001).Int(2).Int(1).Str("F").Str("I").Str("A").Int(4).Str("S").Str("SA");
    // Below 0x7001: an ignored int, a count, the options (the sixth dropped), no shortcut.
    records.Str("old.txt").Int(0x7000).Int(99).Int(6).Int(1).Int(2).Int(1).Int(0).Int(2).Int(7);
    records.Str("F2").Str("I2").Str("A2").Int(5);
    // A count of 0 or less reads no options and leaves the defaults.
    records.Str("none.txt").Int(0x7000).Int(0).Int(0xFFFFFFFF).Str("F3").Str("I3").Str("A3").Int(6);
    // Above 0x7002: read as the current form.
    records.Str("new.txt").Int(0x7003).Int(3).Int(0).Int(0).Int(1).Int(0).Str("").Str("").Str("").Int(0).Str("").Str("");

    CData data;
    LoadSettings(data, OldFile(0x10002, records.out, 4, 2));
    ASSERT_EQ(data.m_files.size(), 4u);
    const CFileItem& two = data.m_files[0];
    EXPECT_EQ(two.m_nOptions, (std::array<std::int32_t, 5>{2, 1, 0, 1, 0})) << "no .dll rule on load";
    EXPECT_EQ(two.m_strShortcutArgs, "SA");
    EXPECT_EQ(two.m_nIconIndex, 4);
    const CFileItem& old = data.m_files[1];
    EXPECT_EQ(old.m_nOptions, (std::array<std::int32_t, 5>{1, 2, 1, 0, 2}));
    EXPECT_EQ(old.m_nIconIndex, 5);
    EXPECT_EQ(old.m_strShortcutName, "");
    const CFileItem& none = data.m_files[2];
    EXPECT_EQ(none.m_nOptions, CFileItem().m_nOptions);
    EXPECT_EQ(none.m_strIconArgs, "A3");
    EXPECT_EQ(none.m_nIconIndex, 6);
    EXPECT_EQ(data.m_files[3].GetOption(OPT_TARGET_DIR), 3);
}

TEST(SettingsFile, StoredTextsMergeIntoTheCurrentShape)
{
    auto withTexts = [](const std::vector<std::vector<std::string>>& groups) {
        Bytes b;
        b.Int(0x10002).Str("").Int(1).Word(0).Str("T").Word(static_cast<std::uint32_t>(groups.size()));
        for (const auto& group : groups) {
            b.Word(static_cast<std::uint32_t>(group.size()));
            for (const auto& text : group) b.Str(text);
        }
        b.Str("Un.exe").Str("").Str("").Word(0).Str("").Str("").Str("").Str("").Int(1);
        return b.out + OldTail(0x10002, 2);
    };
    CData data;
    data.m_texts[0][4] = "edited before the load";
    LoadSettings(data, withTexts({{"a", "b", "c"}}));
    EXPECT_EQ(data.m_texts[0][2], "c");
    EXPECT_EQ(data.m_texts[0][3], GetDefaultText(0, 3));
    EXPECT_EQ(data.m_texts[0][4], GetDefaultText(0, 4)) << "texts missing from the file are reset";
    EXPECT_EQ(data.m_texts[5], CData().m_texts[5]);

    std::vector<std::vector<std::string>> tooMany(11, std::vector<std::string>(40, "x"));
    LoadSettings(data, withTexts(tooMany));
    ASSERT_EQ(data.m_texts.size(), 9u);
    for (int g = 0; g < 9; ++g) {
        EXPECT_EQ(data.m_texts[static_cast<std::size_t>(g)].size(), TextTableGroup(g).size());
        EXPECT_EQ(data.m_texts[static_cast<std::size_t>(g)].back(), "x");
    }
    EXPECT_EQ(data.m_descriptions, CData().m_descriptions);
}

TEST(SettingsFile, EveryTruncationIsRefusedAndChangesNothing)
{
    std::string file = StoreSettings(RichProject());
    CData untouched;
    untouched.m_strTitle = "untouched";
    for (std::size_t length = 0; length < file.size(); length += (length < 400 ? 1 : 997)) {
        CData data = untouched;
        EXPECT_THROW(LoadSettings(data, std::string_view(file).substr(0, length)), CArchiveException) << length;
        EXPECT_EQ(data, untouched) << length;
    }
}

TEST(SettingsFile, ImpossibleCountsAreRefusedBeforeAllocating)
{
    Bytes files;
    files.Int(0x10002).Str("").Int(1).Word(0xFFFF).Int(0x7FFFFFFF);
    CData data;
    EXPECT_THROW(LoadSettings(data, files.out + std::string(100, '\0')), CArchiveException);

    Bytes options;  // an old record claiming two billion options
    options.Int(0x10002).Str("").Int(1).Word(1).Str("a").Int(0x10).Int(0).Int(0x7FFFFFFF);
    EXPECT_THROW(LoadSettings(data, options.out + std::string(100, '\0')), CArchiveException);
}

TEST(SettingsFile, MissingFileAndFailedSaveLeaveThingsAsTheyWere)
{
    test::TempDir dir;
    CData data;
    EXPECT_THROW(LoadSettingsFile(data, dir / "missing.kft"), CFileError);
    EXPECT_EQ(data, CData());

    std::string path = dir.Write("keep.kft", StoreSettings(RichProject()));
    CData broken;
    EXPECT_THROW(LoadSettingsFile(broken, dir / "no-folder/x.kft"), CFileError);
    EXPECT_THROW(SaveSettingsFile(CData(), dir / "no-folder/x.kft"), CFileError);
    EXPECT_EQ(test::ReadFile(path), StoreSettings(RichProject()));
}

}  // namespace
}  // namespace sw
