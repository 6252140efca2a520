#include "build/Builder.h"

#include <gtest/gtest.h>

#include "build/BuildFakes.h"
#include "build/InstallProgramReader.h"
#include "build/ProgramReader.h"
#include "build/ProjectRecords.h"
#include "build/RuntimeResources.h"
#include "build/UninstallerPackage.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "support/CorpusGenerator.h"
#include "support/TempDir.h"

namespace sw {
namespace {

using test::CFakeHost;
using test::CFakeReport;
using test::CMemVolumeSystem;
using test::ReadInstallProgram;
using test::ReadProgram;

const std::string kOutput = "/out/Setup.exe";

// A project over a folder of real files, built into memory volumes.
struct Fixture {
    test::TempDir dir;
    CData data;
    CMemVolumeSystem volumes;
    CFakeHost host;
    CFakeReport report;

    Fixture()
    {
        data.m_strSourceDir = dir.Path();
        data.m_strOutputFile = kOutput;
    }
    CFileItem& Add(const std::string& name, const std::string& content)
    {
        dir.Write(ToHost(name), content);
        data.m_files.AddFile(CFileItem(name));
        return data.m_files[data.m_files.size() - 1];
    }
    static std::string ToHost(std::string name)
    {
        for (char& c : name)
            if (c == '\\') c = '/';
        return name;
    }
    void Build() { CBuilder(host, &volumes).Build(data, report); }
    bool HasOutput() const { return volumes.files.count(kOutput) != 0; }
    ReadProgram Read() const { return ReadInstallProgram(volumes.files.at(kOutput)); }
};

std::uint32_t ProjectCheck(const CData& data)
{
    std::span<const std::uint8_t> image = FindRuntimeResource(RES_INSTALLER);
    std::uint32_t check = ReadSeed(image.data(), image.size());
    auto add = [&check](const std::string& text) {
        check = AddToChecksum(check, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    if (!data.m_strDefaultDir.empty()) add(data.m_strDefaultDir);
    if (data.m_nWindowMode != 0) add(data.m_strBackgroundTitle);
    return check;
}

std::uint32_t Checksum(const std::string& bytes)
{
    return AddToChecksum(0, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(Checksum, RotateAndAdd)
{
    EXPECT_EQ(Checksum("abc"), 0x2ABu);
    EXPECT_EQ(Checksum("abcd"), 0x64636261u);
    std::string data = test::GenerateData(test::DataKind::binary, 100003);
    std::uint32_t pieces = 0;
    for (std::size_t at = 0; at < data.size(); at += 32768)
        pieces = AddToChecksum(pieces, reinterpret_cast<const std::uint8_t*>(data.data()) + at, std::min<std::size_t>(32768, data.size() - at));
    EXPECT_EQ(pieces, Checksum(data));
}

TEST(Builder, BuildsAProgramThatHoldsEveryFile)
{
    Fixture f;
    f.data.m_strTitle = "Acme";
    f.data.m_strDefaultDir = "#Program Files#\\Acme";
    f.data.m_strBackgroundTitle = "Acme Background";
    std::string text = test::GenerateData(test::DataKind::text, 150000);
    std::string binary = test::GenerateData(test::DataKind::binary, 70001);
    f.Add("readme.txt", text).m_nOptions[OPT_END_PAGE] = 1;
    CFileItem& lib = f.Add("bin\\Tool.DLL", binary);
    lib.m_nOptions[OPT_TARGET_DIR] = 2;
    lib.m_strIconFolder = "Acme";
    lib.m_strIconName = "Tool";
    lib.m_nIconIndex = 3;
    f.Add("empty.dat", "");
    f.data.m_strUninstallIconFolder = "Acme";
    f.data.m_strUninstallIconName = "Remove Acme";
    f.Build();

    ASSERT_TRUE(f.HasOutput()) << (f.host.messages.empty() ? "" : f.host.messages[0]);
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_FALSE(f.host.progressShown) << "the progress display is removed";
    ReadProgram program = f.Read();
    EXPECT_EQ(program.imageSize, FindRuntimeResource(RES_INSTALLER).size());
    ASSERT_EQ(program.files.size(), 4u);

    const test::ReadFileRecord& uninstaller = program.files[0];
    EXPECT_EQ(uninstaller.flags, kFileIsUninstaller);
    EXPECT_EQ(uninstaller.name, "Uninstal.exe");
    EXPECT_EQ(uninstaller.iconName, "Remove Acme");
    EXPECT_EQ(uninstaller.data, BuildUninstallerPackage(FindRuntimeResource(RES_UNINSTALLER), f.data));
    std::uint32_t project = ProjectCheck(f.data);
    EXPECT_EQ(uninstaller.checkValue, Checksum(uninstaller.data) ^ project) << "checked like every file";
    const test::ReadFileRecord& readme = program.files[1];
    EXPECT_EQ(readme.name, "readme.txt");
    EXPECT_EQ(readme.data, text);
    EXPECT_EQ(readme.checkValue, Checksum(text) ^ project);
    EXPECT_EQ(readme.options[OPT_END_PAGE], 1);
    EXPECT_EQ(readme.flags & kFileHasTimes, kFileHasTimes);
    EXPECT_NE(readme.times[2], 0u);

    const test::ReadFileRecord& tool = program.files[2];
    EXPECT_EQ(tool.name, "bin\\Tool.DLL");
    EXPECT_EQ(tool.data, binary);
    EXPECT_EQ(tool.options[OPT_TARGET_DIR], 2);
    EXPECT_EQ(tool.options[OPT_USAGE_COUNT], 1);
    EXPECT_EQ(tool.iconIndex, 3);
    EXPECT_EQ(tool.iconFolder, "Acme");
    EXPECT_EQ(tool.flags & (kFileHasVersion | kFileHasLanguage), 0) << "not a Windows image";

    EXPECT_EQ(program.files[3].size, 0u);
    EXPECT_EQ(program.files[3].checkValue, Checksum("") ^ project);

    // Project records, in table order.
    std::vector<std::uint16_t> ids;
    for (const test::ReadRecord& record : program.records) ids.push_back(record.id);
    std::vector<std::uint16_t> expected = {REC_DIALOGS, REC_OPTIONS,      REC_DEFAULT_DIR,  REC_TITLE, REC_BACKGROUND_TITLE,
                                           REC_TITLE_FONT, REC_WIZARD_TEXTS, REC_FILE_TABLE, REC_END};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(program.Find(REC_OPTIONS)->payload, std::string("\x03\0\0\0", 4));
    EXPECT_EQ(program.Find(REC_TITLE)->flags, 0) << "short strings are stored as they are";
    EXPECT_EQ(program.Find(REC_TITLE)->payload, std::string("Acme\0", 5));
    EXPECT_EQ(program.Find(REC_DEFAULT_DIR)->flags, kRecordCompressed);
    EXPECT_EQ(program.Find(REC_DEFAULT_DIR)->payload, f.data.m_strDefaultDir + '\0');
    EXPECT_EQ(program.Find(REC_TITLE_FONT)->payload, EncodeLogFont(f.data.m_lfTitleFont));

    ASSERT_EQ(program.wizardTexts.size(), 8u) << "the uninstaller's group travels in its package";
    EXPECT_EQ(program.wizardTexts[0][1], "Welcome to the Acme Install program.");
    EXPECT_EQ(program.wizardTexts[1][1], "") << "blank texts are empty";
    EXPECT_EQ(program.wizardTexts[5][5], "View readme.txt");
    EXPECT_EQ(program.wizardTexts[5][6], "") << "no file to launch";

    std::vector<std::string> lines = f.report.Texts();
    std::vector<std::string> head(lines.begin(), lines.begin() + 5);
    EXPECT_EQ(head, (std::vector<std::string>{"Uninstal.exe", "readme.txt", "bin\\Tool.DLL", "empty.dat", ""}));
    EXPECT_EQ(f.report.lines[1].action, 1081);
    EXPECT_EQ(f.report.lines[1].size, text.size());
    EXPECT_EQ(lines[5], "Result :");
    EXPECT_EQ(lines[6], "    Number of files: 3");
    EXPECT_EQ(lines[9], "    Install program size: " + std::to_string(f.volumes.files.at(kOutput).size()) + " bytes");
}

TEST(Builder, NothingToInstallLeavesNoOutput)
{
    Fixture f;
    f.Add("a.txt", "a").m_nOptions[OPT_INSTALL_MODE] = 2;
    f.data.m_strUninstallerName.clear();
    f.Build();
    EXPECT_FALSE(f.HasOutput());
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Nothing to install! No Install program saved."});
    EXPECT_TRUE(f.report.lines.empty());
}

TEST(Builder, FilesNotInstalledStillGetRecordsWhenTheyHaveAnIcon)
{
    Fixture f;
    CFileItem& item = f.Add("a.txt", "content");
    item.m_nOptions[OPT_INSTALL_MODE] = 2;
    item.m_strIconName = "A";
    item.m_strIconFolder = "#Start Menu#";
    CFileItem& other = f.Add("b.txt", "b");
    other.m_strIconFolder = "ignored without an icon name";
    other.m_nOptions[OPT_INSTALL_MODE] = 2;
    other.m_strShortcutName = "B";
    other.m_strShortcutArgs = "-x";
    f.data.m_strUninstallerName.clear();
    f.Build();
    ReadProgram program = f.Read();
    EXPECT_EQ(program.dataSize, 0u) << "no data section";
    ASSERT_EQ(program.files.size(), 2u);
    EXPECT_EQ(program.files[0].checkValue, 0u);
    EXPECT_EQ(program.files[0].iconFolder, "#Start Menu#");
    EXPECT_EQ(program.files[1].iconFolder, "") << "no icon name, no icon folder";
    EXPECT_EQ(program.files[1].shortcutArgs, "-x");
}

TEST(Builder, SkipsTheOutputFileItself)
{
    Fixture f;
    f.Add("a.txt", "a");
    f.Add("Setup.exe", "old program");
    f.data.m_strOutputFile = f.dir / "SETUP.EXE";
    f.volumes.files.clear();
    f.Build();
    ReadProgram program = ReadInstallProgram(f.volumes.files.at(f.data.m_strOutputFile));
    ASSERT_EQ(program.files.size(), 2u);
    EXPECT_EQ(program.files[1].name, "a.txt");
    EXPECT_EQ(f.report.Texts()[1], "a.txt");
    EXPECT_EQ(f.report.Texts()[2], "");
}

TEST(Builder, IconFolderWarningsAskBeforeBuilding)
{
    Fixture f;
    CFileItem& a = f.Add("a.txt", "a");
    a.m_strIconName = "A";
    CFileItem& b = f.Add("b.txt", "b");
    b.m_strIconName = "B";
    b.m_strIconFolder = "One";
    CFileItem& c = f.Add("c.txt", "c");
    c.m_strIconName = "C";
    c.m_strIconFolder = "#startup#";
    CFileItem& d = f.Add("d.txt", "d");
    d.m_strIconName = "D";
    d.m_strIconFolder = "Two";
    f.data.m_strUninstallIconName = "U";
    f.data.m_strUninstallIconFolder = "one";
    f.host.answer = [](const std::string&, unsigned) { return IDNO; };
    f.Build();
    EXPECT_FALSE(f.HasOutput());
    EXPECT_EQ(f.report.Texts(), (std::vector<std::string>{"Warning; the icon folder of one or more file(s) is empty.",
                                                         "Warning; different icon folders were detected.",
                                                         "Warning: the icon folder of the uninstaller is different from "
                                                         "the icon folder of the files."}));
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Warnings occured. Do you want to continue?"});

    Fixture g;
    g.Add("a.txt", "a");
    g.data.m_strUninstallIconName = "U";
    g.Build();  // the host answers Yes
    EXPECT_EQ(g.report.Texts()[0], "Warning: the icon folder of the uninstaller is empty.");
    EXPECT_TRUE(g.HasOutput());
}

TEST(Builder, RefusesNamesThatLeaveTheInstallationDirectory)
{
    Fixture f;
    f.Add("a.txt", "a");
    f.dir.Write("escape.txt", "x");
    f.data.m_files.AddFile(CFileItem("sub\\..\\..\\escape.txt"));
    f.Build();
    EXPECT_FALSE(f.HasOutput());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_NE(f.host.messages[0].find("sub\\..\\..\\escape.txt cannot be installed: a part of it is only dots or blanks"), std::string::npos);
    EXPECT_EQ(f.report.lines.back().action, 1084);
}

TEST(Builder, RefusesFilesThatWouldReplaceTheUninstaller)
{
    struct Case {
        const char* uninstaller;
        const char* name;
        int target, mode;
        bool refused;
    };
    const Case cases[] = {
        {"Uninstal.exe", "Uninstal.exe", 0, 0, true},
        {"Uninstal.exe", "UNINSTAL.EXE", 0, 1, true},
        {"Uninstal.exe", "Uninstal.dat", 0, 0, true},
        {"bin\\Remove.exe", "BIN\\remove.dat", 0, 0, true},
        {"Uninstal.exe", "Uninstal.exe", 1, 0, false},   // into the Windows folder
        {"Uninstal.exe", "Uninstal.exe", 0, 2, false},   // not installed
        {"Uninstal.exe", "sub\\Uninstal.exe", 0, 0, false},
        {"", "Uninstal.exe", 0, 0, false},               // no uninstaller
    };
    for (const Case& c : cases) {
        Fixture f;
        f.Add("a.txt", "a");
        CFileItem& item = f.Add(c.name, "another product's uninstaller");
        item.m_nOptions[OPT_TARGET_DIR] = c.target;
        item.m_nOptions[OPT_INSTALL_MODE] = c.mode;
        item.m_strShortcutName = c.mode == 2 ? "kept in the table" : "";
        f.data.m_strUninstallerName = c.uninstaller;
        f.Build();
        EXPECT_EQ(f.HasOutput(), !c.refused) << c.name << " beside " << c.uninstaller;
        if (!c.refused) continue;
        ASSERT_EQ(f.host.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.host.messages[0].rfind(std::string("The file ") + c.name + " would replace the uninstaller " + c.uninstaller, 0), 0u)
            << f.host.messages[0];
        EXPECT_EQ(f.report.lines.back().text, c.name);
        EXPECT_EQ(f.report.lines.back().action, 1084);
    }

    Fixture g;
    g.Add("a.txt", "a");
    g.data.m_strUninstallerName = "..\\Uninstal.exe";
    g.Build();
    EXPECT_FALSE(g.HasOutput()) << "an uninstaller outside the installation directory";
    ASSERT_EQ(g.host.messages.size(), 1u);
    EXPECT_NE(g.host.messages[0].find("..\\Uninstal.exe cannot be installed: a part of it is only dots or blanks"), std::string::npos);
    EXPECT_EQ(g.report.lines.back().action, 1084);
}

TEST(Builder, ProgramsAndTheUninstallerCarryTheCheckOfTheirRecords)
{
    auto layout = [](const std::string& bytes) {
        ProgramView view;
        return ReadProgramLayout(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), view);
    };
    Fixture f;
    f.Add("a.txt", test::GenerateData(test::DataKind::text, 5000));
    f.Build();
    ReadProgram program = f.Read();
    ASSERT_EQ(program.files.size(), 2u);
    EXPECT_EQ(layout(f.volumes.files.at(kOutput)), LayoutStatus::ok);
    EXPECT_EQ(layout(program.files[0].data), LayoutStatus::ok) << "the uninstaller checks its own records";

    test::TempDir dir;
    CFakeHost host;
    ASSERT_TRUE(CBuilder(host).TestWizard(f.data, dir / "test.exe", -1));
    EXPECT_EQ(layout(test::ReadFile(dir / "test.exe")), LayoutStatus::ok) << "the wizard test's program";
}

TEST(Builder, StopsForPlatformsWithoutARuntime)
{
    Fixture f;
    f.Add("a.txt", "a");
    f.data.m_nPlatform = 0;
    f.Build();
    EXPECT_FALSE(f.HasOutput());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_NE(f.host.messages[0].find("Windows 3.1"), std::string::npos);
}

TEST(Builder, EscapeConfirmedCancelsAndCleansUp)
{
    Fixture f;
    f.Add("big.bin", test::GenerateData(test::DataKind::random, 300000));
    f.host.escapeDown = true;
    f.Build();
    EXPECT_FALSE(f.HasOutput());
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Do you want to stop?"});
    EXPECT_FALSE(f.host.progressShown);
}

TEST(Builder, SpansSmallRemovableDisks)
{
    Fixture f;
    // Disks that hold the runtime image and 60000 bytes more, and data for three of them,
    // whatever the size of the runtime.
    std::size_t image = FindRuntimeResource(RES_INSTALLER).size();
    std::string data = test::GenerateData(test::DataKind::random, 150000 + 2 * image);
    f.Add("random.bin", data);
    f.volumes.removable = true;
    f.volumes.capacity = 60000 + image;
    f.volumes.files["/out/old.txt"] = "";  // the second disk is not empty
    std::vector<std::string> prompts;
    f.host.answer = [&](const std::string& text, unsigned type) {
        prompts.push_back(text);
        if (text.rfind("Please insert disk number", 0) == 0) f.volumes.SwapDisk();
        return (type & 0xF) == MB_OKCANCEL ? IDOK : IDOK;
    };
    f.Build();
    ASSERT_GE(f.volumes.removedDisks.size(), 2u) << "the program and at least two follow-on volumes";
    EXPECT_EQ(prompts[0], "Please insert disk number 2.");
    std::string program = f.volumes.removedDisks[0].at(kOutput);
    std::vector<std::string> volumes;
    for (std::size_t i = 1; i < f.volumes.removedDisks.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/out/Setup.D%02zu", i);
        volumes.push_back(f.volumes.removedDisks[i].at(name));
    }
    volumes.push_back(f.volumes.files.at("/out/Setup.D" + std::string(f.volumes.removedDisks.size() < 10 ? "0" : "") +
                                         std::to_string(f.volumes.removedDisks.size())));
    ReadProgram read = ReadInstallProgram(program, volumes);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[1].data, data);
    std::uint64_t total = program.size();
    for (const std::string& volume : volumes) total += volume.size();
    EXPECT_EQ(f.report.Texts().back(), "    Install program size: " + std::to_string(total) + " bytes");
}

TEST(Builder, RefusedDiskPromptKeepsOnlyAFirstDiskThatVolumesFollow)
{
    // Refused at the first prompt, no follow-on volume exists: the incomplete program goes.
    Fixture f;
    f.Add("random.bin", test::GenerateData(test::DataKind::random, 150000));
    f.volumes.removable = true;
    f.volumes.capacity = 60000 + FindRuntimeResource(RES_INSTALLER).size();
    f.host.answer = [](const std::string&, unsigned) { return IDCANCEL; };
    f.Build();
    EXPECT_FALSE(f.HasOutput()) << "a program without its volumes installs nothing";
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Please insert disk number 2."});

    // Refused at the second prompt: the program and its first volume stay on their disks.
    Fixture g;
    g.Add("random.bin", test::GenerateData(test::DataKind::random, 150000 + 2 * FindRuntimeResource(RES_INSTALLER).size()));
    g.volumes.removable = true;
    g.volumes.capacity = 60000 + FindRuntimeResource(RES_INSTALLER).size();
    g.host.answer = [&g](const std::string& text, unsigned) {
        if (text == "Please insert disk number 2.") {
            g.volumes.SwapDisk();
            return IDOK;
        }
        return IDCANCEL;
    };
    g.Build();
    EXPECT_EQ(g.host.messages, (std::vector<std::string>{"Please insert disk number 2.", "Please insert disk number 3."}));
    ASSERT_EQ(g.volumes.removedDisks.size(), 1u);
    EXPECT_EQ(g.volumes.removedDisks[0].count("/out/Setup.exe"), 1u) << "the first disk stays as it is";
    EXPECT_EQ(g.volumes.files.count("/out/Setup.D01"), 1u);
}

TEST(Builder, VolumeNames)
{
    EXPECT_EQ(VolumeName("/out/Setup.exe", 1), "/out/Setup.D01");
    EXPECT_EQ(VolumeName("/out/Setup", 12), "/out/Setup.D12");
    EXPECT_EQ(VolumeName("/out.d/Setup", 3), "/out.d/Setup.D03");
}

TEST(Builder, TestProgramHasNoFilesAndAnEmptyEnd)
{
    test::TempDir dir;
    CData data;
    data.m_strTitle.clear();
    CFakeHost host;
    std::string path = dir / "test.exe";
    EXPECT_TRUE(CBuilder(host).TestWizard(data, path, -1));
    ReadProgram program = ReadInstallProgram(test::ReadFile(path));
    EXPECT_EQ(program.Find(REC_FILE_TABLE), nullptr);
    EXPECT_EQ(program.Find(REC_TITLE), nullptr) << "an empty title writes no title";
    ASSERT_NE(program.Find(REC_TEST_PAGE), nullptr);
    EXPECT_EQ(program.Find(REC_TEST_PAGE)->raw, std::string("\xFF\xFF", 2));
    EXPECT_EQ(program.Find(REC_TEST_PAGE)->flags, 0);
    EXPECT_EQ(program.dataSize, 0u);
    EXPECT_EQ(program.records.back().id, REC_END);

    EXPECT_TRUE(CBuilder(host).TestWizard(data, path, 2));
    EXPECT_EQ(ReadInstallProgram(test::ReadFile(path)).Find(REC_TEST_PAGE)->raw, std::string("\x02\x00", 2));
    EXPECT_FALSE(CBuilder(host).TestWizard(data, "", -1));
    EXPECT_TRUE(host.messages.empty());
}

TEST(ProjectRecords, CaptionsAndRegistryKeys)
{
    EXPECT_EQ(FillCaption("View %s", "readme.txt"), "View readme.txt");
    EXPECT_EQ(FillCaption("100%% %s %d %s %n", "x"), "100% x %d %s %n");
    struct Case {
        const char* key;
        std::uint32_t root;
        const char* rest;
    } cases[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\X", kRootLocalMachine, "Software\\X"},
        {"hkey_current_user/Software", kRootCurrentUser, "Software"},
        {"HKEY_USERS\\.DEFAULT\\A/B", kRootUsers, ".DEFAULT\\A/B"},
        {"HKLM\\Software", 0, "HKLM\\Software"},
        {"NoSeparator", 0, "NoSeparator"},
        {"HKEY_CLASSES_ROOT\\", kRootClassesRoot, ""},
    };
    for (const Case& c : cases) {
        auto [root, rest] = SplitRegistryKey(c.key);
        EXPECT_EQ(root, c.root) << c.key;
        EXPECT_EQ(rest, c.rest) << c.key;
    }
}

}  // namespace
}  // namespace sw

namespace sw {
namespace {

TEST(ProgramReader, RefusesDamagedProgramsWithoutCrashing)
{
    Fixture f;
    f.Add("a.txt", test::GenerateData(test::DataKind::text, 5000));
    f.Add("b.bin", test::GenerateData(test::DataKind::binary, 3000));
    f.Build();
    const std::string program = f.volumes.files.at(kOutput);
    EXPECT_NO_THROW(sw::ReadInstallProgram(program));
    for (std::size_t length = 0; length < program.size(); length += 7)
        EXPECT_THROW(sw::ReadInstallProgram(program.substr(0, length)), CProgramError) << length;
    // A flipped bit in the records, the file table or REC_END's size is refused by their check.
    InstallProgram whole = sw::ReadInstallProgram(program);
    std::size_t recordsEnd = static_cast<std::size_t>(whole.records.back().offset) + kRecordHeaderSize;
    for (std::size_t at = whole.imageSize; at < recordsEnd; at += 3) {
        std::string damaged = program;
        damaged[at] = static_cast<char>(damaged[at] ^ (1 << (at % 8)));
        EXPECT_THROW(sw::ReadInstallProgram(damaged), CProgramError) << at;
    }
    // A damaged byte anywhere is refused, or read into something that still holds together.
    for (std::size_t at = 0; at < program.size(); at += 5) {
        std::string damaged = program;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        try {
            InstallProgram read = sw::ReadInstallProgram(damaged);
            for (const ProgramFile& file : read.files)
                if (file.packedSize > 0) read.FileData(file);
        } catch (const CProgramError&) {
        }
    }
}

}  // namespace
}  // namespace sw

namespace sw {
namespace {

TEST(UninstallerPackage, CarriesItsTextsKeysAndEnd)
{
    CData data;
    data.m_strTitle = "acme";
    data.m_regKeysToRemove = {"HKEY_LOCAL_MACHINE\\Software\\X", "HKLM\\Software"};
    std::span<const std::uint8_t> runtime = FindRuntimeResource(RES_UNINSTALLER);
    std::string package = BuildUninstallerPackage(runtime, data);

    // The image comes first with its own length in the size slot.
    std::size_t marker = FindMarker(reinterpret_cast<const std::uint8_t*>(package.data()), package.size(), kSizeMarkerId);
    ASSERT_NE(marker, kMarkerNotFound);
    auto get = [&package](std::size_t at, int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(package[at + static_cast<std::size_t>(i)])) << (8 * i);
        return value;
    };
    EXPECT_EQ(get(marker + 6, 4), runtime.size());
    std::size_t at = runtime.size();

    EXPECT_EQ(get(at, 2), REC_UNINST_TEXTS);
    EXPECT_EQ(get(at + 2, 2), 0u);
    std::uint32_t size = get(at + 4, 4);
    EXPECT_EQ(get(at + 8, 2), 1u);
    EXPECT_EQ(get(at + 10, 2), 11u);
    std::string expected = "This program will uninstall acme from your hard drive. Click OK to continue.";
    std::size_t text = at + 12 + 2 + 9;  // past "Uninstall" and its length
    EXPECT_EQ(get(text, 2), expected.size());
    EXPECT_EQ(package.substr(text + 2, expected.size()), expected);
    at += 8 + size;

    EXPECT_EQ(get(at, 2), REC_UNINST_KEYS);
    EXPECT_EQ(get(at + 8, 4), 2u);
    EXPECT_EQ(get(at + 12, 4), kRootLocalMachine);
    EXPECT_EQ(get(at + 16, 2), 10u);
    EXPECT_EQ(package.substr(at + 18, 10), "Software\\X");
    EXPECT_EQ(get(at + 28, 4), 0u);
    EXPECT_EQ(package.substr(at + 34, 13), "HKLM\\Software");
    at += 8 + get(at + 4, 4);

    EXPECT_EQ(get(at, 2), REC_END);
    EXPECT_EQ(get(at + 4, 4), 0u);
    EXPECT_EQ(at + 8, package.size());
}

}  // namespace
}  // namespace sw

namespace sw {
namespace {

TEST(Builder, AVolumeThatCannotBeCreatedIsRetried)
{
    Fixture f;
    std::string data = test::GenerateData(test::DataKind::random, 100000);
    f.Add("random.bin", data);
    f.volumes.removable = true;
    // Room on the first disk for the runtime image and about half of the data, so that
    // the rest fits one follow-on volume whatever the size of the runtime.
    f.volumes.capacity = 60000 + FindRuntimeResource(RES_INSTALLER).size();
    std::vector<std::string> prompts;
    f.host.answer = [&](const std::string& text, unsigned type) {
        prompts.push_back(text);
        if (text.rfind("Please insert disk number", 0) == 0) {
            f.volumes.SwapDisk();
            f.volumes.failCreates = 1;  // the new disk refuses the first file
        }
        return (type & 0xF) == MB_RETRYCANCEL ? IDRETRY : IDOK;
    };
    f.Build();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1], "Error: Permission denied\n\nPlease insert disk number 2.");
    ReadProgram read = ReadInstallProgram(f.volumes.removedDisks.at(0).at(kOutput), {f.volumes.files.at("/out/Setup.D01")});
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_TRUE(read.files[1].data == data);
}

TEST(Builder, AFullFixedDiskEndsTheBuildWithoutOutput)
{
    Fixture f;
    f.Add("random.bin", test::GenerateData(test::DataKind::random, 100000));
    f.volumes.capacity = 50000;  // not removable: no spanning, the write fails
    EXPECT_FALSE(CBuilder(f.host, &f.volumes).Build(f.data, f.report));
    EXPECT_FALSE(f.HasOutput());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_NE(f.host.messages[0].find("No space left on device"), std::string::npos);
    EXPECT_FALSE(f.host.progressShown);
}

}  // namespace
}  // namespace sw

#include <fcntl.h>
#include <sys/stat.h>

namespace sw {
namespace {

TEST(Builder, BuildsAreIdenticalAndLeaveAccessTimesAlone)
{
    Fixture f;
    f.Add("a.txt", test::GenerateData(test::DataKind::text, 20000));
    CFileItem& lib = f.Add("b.dll", test::GenerateData(test::DataKind::binary, 9000));
    lib.m_nOptions[OPT_TARGET_DIR] = 2;  // its version information is read too
    for (const char* name : {"a.txt", "b.dll"}) {
        const timespec times[2] = {{1000000000, 0}, {1100000000, 0}};  // access before write: the next read would move it
        ASSERT_EQ(::utimensat(AT_FDCWD, (f.dir / name).c_str(), times, 0), 0);
    }
    f.Build();
    std::string first = f.volumes.files.at(kOutput);
    f.Build();
    EXPECT_TRUE(f.volumes.files.at(kOutput) == first) << "a second build gives the same bytes";
    struct stat info {};
    ASSERT_EQ(::stat((f.dir / "a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_atim.tv_sec, 1000000000);
}

}  // namespace
}  // namespace sw
