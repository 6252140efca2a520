// The uninstaller's reading of its own records (texts, registry keys to remove) and the
// checks that stop it from removing what no installation owns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/InstallFormat.h"
#include "core/UninstallerRecords.h"
#include "runtime/ByteBuilder.h"

namespace sw {
namespace {

using Bytes = std::vector<std::uint8_t>;

using test::Put16;
using test::Put32;
void PutBytes(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

Bytes Texts(const std::vector<std::string>& texts, std::uint32_t first = 1)
{
    Bytes b;
    Put16(b, first);
    Put16(b, static_cast<std::uint32_t>(texts.size()));
    for (const std::string& text : texts) {
        Put16(b, static_cast<std::uint32_t>(text.size()));
        PutBytes(b, text);
    }
    return b;
}

std::string Text(const TextView& view) { return std::string(view.text, view.length); }

TEST(UninstallerRecords, TextsAreReadInOrderAndMissingOnesAreEmpty)
{
    std::vector<std::string> all;
    for (int i = 0; i < 12; ++i) all.push_back("text " + std::to_string(i));
    all[kUninstYes] = "";
    TextView texts[kUninstTextCount];
    Bytes record = Texts(all);
    ASSERT_TRUE(ReadUninstallerTexts(record.data(), record.size(), texts));
    EXPECT_EQ(Text(texts[kUninstTitle]), "text 0");
    EXPECT_EQ(Text(texts[kUninstYes]), "");
    EXPECT_EQ(Text(texts[kUninstSharedUnused]), "text 10") << "a twelfth text is ignored";

    Bytes two = Texts({"Uninstall", "Sure?"});
    ASSERT_TRUE(ReadUninstallerTexts(two.data(), two.size(), texts));
    EXPECT_EQ(Text(texts[kUninstConfirm]), "Sure?");
    EXPECT_EQ(Text(texts[kUninstInvalidInfo]), "");
}

TEST(UninstallerRecords, DamagedTextsAreRefused)
{
    Bytes good = Texts({"Uninstall", "Sure?"});
    Bytes padded = good;
    padded.push_back(0);
    Bytes otherVersion = Texts({"Uninstall"}, 2);
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"cut inside a text", Bytes(good.begin(), good.end() - 1)},
        {"cut inside a length", Bytes(good.begin(), good.begin() + 5)},
        {"stray bytes after the last text", padded},
        {"another first value", otherVersion},
        {"too short for the count", Bytes(good.begin(), good.begin() + 3)},
    };
    for (const Case& c : cases) {
        TextView texts[kUninstTextCount];
        EXPECT_FALSE(ReadUninstallerTexts(c.bytes.data(), c.bytes.size(), texts)) << c.what;
    }
}

TEST(UninstallerRecords, KeysAreReadInOrder)
{
    Bytes b;
    Put32(b, 2);
    Put32(b, kRootCurrentUser);
    Put16(b, 13);
    PutBytes(b, "Software\\Acme");
    Put32(b, 0);
    Put16(b, 4);
    PutBytes(b, "HKLM");
    CUninstallKeyReader reader(b.data(), b.size());
    std::uint32_t count = 0;
    ASSERT_TRUE(reader.Start(count));
    ASSERT_EQ(count, 2u);
    RegistryKeyView key{};
    reader.Next(key);
    EXPECT_EQ(key.root, kRootCurrentUser);
    EXPECT_EQ(std::string(key.text, key.length), "Software\\Acme");
    reader.Next(key);
    EXPECT_EQ(key.root, 0u);
    EXPECT_EQ(std::string(key.text, key.length), "HKLM");

    for (std::size_t cut = 1; cut < b.size(); ++cut) {
        CUninstallKeyReader shorter(b.data(), b.size() - cut);
        EXPECT_FALSE(shorter.Start(count)) << "cut by " << cut;
    }
    b.push_back(0);
    CUninstallKeyReader padded(b.data(), b.size());
    EXPECT_FALSE(padded.Start(count));
    Bytes none;
    Put32(none, 0);
    CUninstallKeyReader empty(none.data(), none.size());
    EXPECT_TRUE(empty.Start(count));
    EXPECT_EQ(count, 0u);
}

TEST(UninstallerRecords, OnlyKeysAProductCanOwnAreRemoved)
{
    struct Case {
        std::uint32_t root;
        std::string key;
        std::size_t length;  // 0 = refused
    } cases[] = {
        {kRootCurrentUser, "Software\\Acme", 13},
        {kRootLocalMachine, "Software\\Acme\\", 13},
        {kRootClassesRoot, ".acme", 5},
        {kRootUsers, ".DEFAULT\\Software\\Acme", 22},
        {kRootLocalMachine, "Software", 0},
        {kRootCurrentUser, "Software\\", 0},
        {kRootUsers, ".DEFAULT", 0},
        {kRootLocalMachine, "", 0},
        {kRootLocalMachine, "\\", 0},
        {kRootLocalMachine, "\\Software\\Acme", 0},
        {kRootLocalMachine, "Software\\\\Acme", 0},
        {kRootLocalMachine, std::string("Software\\Ac\0me", 14), 0},
        {0, "Software\\Acme", 0},
        {0x80000004u, "Software\\Acme", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemovableKeyLength(c.root, c.key.data(), c.key.size()), c.length) << c.root << " " << c.key;
}

TEST(UninstallerRecords, SystemKeysAndTheirAncestorsStayButKeysBelowThemGo)
{
    struct Case {
        std::uint32_t root;
        const char* key;
        bool removable;
    } cases[] = {
        // The system's own keys and those above them.
        {kRootLocalMachine, "Software\\Microsoft", false},
        {kRootLocalMachine, "SOFTWARE\\microsoft\\Windows", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false},
        {kRootLocalMachine, "Software\\Classes", false},
        {kRootLocalMachine, "Software\\Classes\\CLSID", false},
        {kRootLocalMachine, "Software\\Policies\\Microsoft", false},
        {kRootLocalMachine, "Software\\WOW6432Node", false},
        {kRootLocalMachine, "Software\\WOW6432Node\\Microsoft\\Windows", false},
        {kRootLocalMachine, "Software\\Wow6432Node\\Classes\\Interface", false},
        {kRootLocalMachine, "Software\\Wine\\Drives", false},
        {kRootLocalMachine, "Software\\Clients\\Mail", false},
        {kRootLocalMachine, "Software\\RegisteredApplications", false},
        {kRootLocalMachine, "Software\\ODBC\\ODBC.INI", false},
        {kRootLocalMachine, "System\\CurrentControlSet", false},
        {kRootLocalMachine, "System\\CurrentControlSet\\Services\\Tcpip", false},
        {kRootLocalMachine, "SAM\\SAM\\Domains", false},
        {kRootCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {kRootCurrentUser, "Software\\Classes\\.exe", false},
        {kRootCurrentUser, "Control Panel\\Desktop", false},
        {kRootCurrentUser, "Keyboard Layout\\Preload", false},
        {kRootCurrentUser, "AppEvents\\Schemes\\Apps\\.Default\\SystemExit", false},
        {kRootUsers, ".DEFAULT\\Software", false},
        {kRootUsers, ".DEFAULT\\Software\\Microsoft", false},
        {kRootUsers, "S-1-5-21-1-2-3-1000\\Control Panel", false},
        {kRootUsers, "S-1-5-21-1-2-3-1000_Classes\\CLSID", false},
        {kRootClassesRoot, "CLSID", false},
        {kRootClassesRoot, "clsid", false},
        {kRootClassesRoot, "Interface", false},
        {kRootClassesRoot, "TypeLib", false},
        {kRootClassesRoot, "AppID", false},
        {kRootClassesRoot, "Installer\\Products", false},
        {kRootClassesRoot, "*", false},
        {kRootClassesRoot, "*\\shellex\\ContextMenuHandlers", false},
        {kRootClassesRoot, "AllFilesystemObjects", false},
        {kRootClassesRoot, "Directory\\Background\\shell", false},
        {kRootClassesRoot, "Drive", false},
        {kRootClassesRoot, "Folder\\shell", false},
        {kRootClassesRoot, "exefile\\shell\\open\\command", false},
        {kRootClassesRoot, "dllfile", false},
        {kRootClassesRoot, "lnkfile", false},
        {kRootClassesRoot, "https\\shell", false},
        {kRootClassesRoot, ".exe", false},
        {kRootClassesRoot, ".HTML", false},
        {kRootClassesRoot, "MIME\\Database\\Content Type", false},
        {kRootClassesRoot, "Protocols\\Handler", false},
        {kRootClassesRoot, "SystemFileAssociations\\image", false},
        {kRootClassesRoot, "PackagedCom", false},
        {kRootClassesRoot, "Local Settings\\Software\\Microsoft", false},
        {kRootClassesRoot, "Wow6432Node\\CLSID", false},
        // A product's own keys below them.
        {kRootLocalMachine, "Software\\Acme\\Product", true},
        {kRootLocalMachine, "Software\\Acme", true},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme", true},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\acme.exe", true},
        {kRootLocalMachine, "Software\\WOW6432Node\\Acme", true},
        {kRootLocalMachine, "Software\\Classes\\CLSID\\{00000000-0000-0000-0000-0000000000AC}", true},
        {kRootLocalMachine, "Software\\Clients\\Mail\\Acme Mail", true},
        {kRootCurrentUser, "Software\\Classes\\.acme", true},
        {kRootCurrentUser, "Control Panel\\Desktop\\Acme", true},
        {kRootUsers, "S-1-5-21-1-2-3-1000\\Software\\Acme", true},
        {kRootUsers, "S-1-5-21-1-2-3-1000_Classes\\Acme.Document", true},
        {kRootClassesRoot, "CLSID\\{00000000-0000-0000-0000-0000000000AC}", true},
        {kRootClassesRoot, ".acme", true},
        {kRootClassesRoot, ".exe.acme", true},
        {kRootClassesRoot, "Acme.Document", true},
        {kRootClassesRoot, "*\\shell\\Acme", true},
        {kRootClassesRoot, "*\\shellex\\ContextMenuHandlers\\Acme", true},
        {kRootClassesRoot, "Installer\\Products\\0123456789ABCDEF", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemovableKeyLength(c.root, c.key, std::string(c.key).size()) > 0, c.removable) << c.root << " " << c.key;
}

TEST(UninstallerRecords, TheInformationListsOnlyTheInstallationsOwnEntry)
{
    struct Case {
        std::uint32_t root;
        std::string key;
        bool own;
    } cases[] = {
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme", true},
        {kRootCurrentUser, "software\\microsoft\\windows\\currentversion\\uninstall\\Acme 2.0", true},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme\\Sub", false},
        {kRootLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme\\", false},
        {kRootLocalMachine, std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A\0", 54), false},
        {kRootClassesRoot, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme", false},
        {kRootUsers, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme", false},
        {kRootLocalMachine, "Software\\Microsoft", false},
        {kRootCurrentUser, "Software", false},
        {kRootCurrentUser, "Software\\Acme", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOwnUninstallEntry(c.root, c.key.data(), c.key.size()), c.own) << c.root << " " << c.key;
        UninstallRecord record{UninstallItem::registryKey, c.root, {c.key.data(), nullptr}, {c.key.size(), 0}};
        EXPECT_EQ(IsActionableRecord(record), c.own) << c.key;
    }
}

TEST(UninstallerRecords, OnlyAbsolutePathsOfOneThingAreRemoved)
{
    struct Case {
        std::string path;
        bool removable;
    } cases[] = {
        {"C:\\Program Files\\Acme\\a.txt", true},
        {"c:/Acme", true},
        {"\\\\server\\share\\Acme\\a.txt", true},
        {"C:\\", false},
        {"C:", false},
        {"C:Acme", false},
        {"Acme\\a.txt", false},
        {"\\Acme\\a.txt", false},
        {"C:\\Acme\\..\\Windows", false},
        {"C:\\Acme\\ . \\x", false},
        {"C:\\Acme\\", false},
        {"C:\\Acme\\\\a.txt", false},
        {"C:\\Acme\\a.txt:stream", false},
        {std::string("C:\\Acme\0\\a.txt", 14), false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsRemovablePath(c.path.data(), c.path.size()), c.removable) << c.path;
}

UninstallRecord Record(UninstallItem kind, const std::string& text, const std::string& second = "", std::uint32_t root = 0)
{
    return UninstallRecord{kind, root, {text.data(), second.empty() ? nullptr : second.data()}, {text.size(), second.size()}};
}

TEST(UninstallerRecords, FontsAndControlsOfASharedFileGoWithIt)
{
    const std::string shared = "C:\\Windows\\System32\\acme.ocx", sameOtherCase = "c:/windows/system32/ACME.OCX",
                      own = "C:\\Acme\\own.ocx", font = "C:\\Windows\\Fonts\\acme.ttf", fontName = "Acme (TrueType)";
    const UninstallRecord records[] = {
        Record(UninstallItem::sharedFile, shared),
        Record(UninstallItem::control, sameOtherCase),
        Record(UninstallItem::file, own),
        Record(UninstallItem::control, own),
        Record(UninstallItem::file, font),
        Record(UninstallItem::font, font, fontName),
    };
    EXPECT_TRUE(BelongsToSharedFile(records, 6, records[1]));
    EXPECT_FALSE(BelongsToSharedFile(records, 6, records[3])) << "its file is not shared";
    EXPECT_FALSE(BelongsToSharedFile(records, 6, records[5])) << "its file is not shared";
    EXPECT_FALSE(BelongsToSharedFile(records, 6, records[2])) << "a plain file record goes by itself";
    EXPECT_FALSE(SamePath("C:\\a", 4, "C:\\ab", 5));
}

TEST(UninstallerRecords, RecordsAreCheckedBeforeAnythingIsRemoved)
{
    const std::string path = "C:\\Acme\\a.ttf", relative = "a.ttf", name = "A (TrueType)",
                      key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme", hive = "Software";
    // The records point into these strings, so they outlive the table.
    const std::string zeroInName("A\0B", 3);
    struct Case {
        const char* what;
        UninstallRecord record;
        bool actionable;
    } cases[] = {
        {"a file", Record(UninstallItem::file, path), true},
        {"a relative file", Record(UninstallItem::shortcut, relative), false},
        {"a font", Record(UninstallItem::font, path, name), true},
        {"a font without its value name", Record(UninstallItem::font, path), false},
        {"a font value name with a zero", Record(UninstallItem::font, path, zeroInName), false},
        {"a key", Record(UninstallItem::registryKey, key, "", kRootLocalMachine), true},
        {"a key without a root", Record(UninstallItem::registryKey, key), false},
        {"a hive", Record(UninstallItem::registryKey, hive, "", kRootLocalMachine), false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsActionableRecord(c.record), c.actionable) << c.what;
}

TEST(UninstallerRecords, BelowMeansAStrictDescendantAsWindowsResolvesIt)
{
    struct Case {
        const char* path;
        const char* folder;
        bool below;
        bool same;
    } cases[] = {
        {"C:\\Acme\\a.txt", "C:\\Acme", true, false},
        {"c:/ACME/sub/a.txt", "C:\\Acme\\", true, false},
        {"C:\\Acme", "C:\\Acme", false, true},
        {"C:\\acme\\", "C:\\Acme", false, true},
        {"C:\\AcmeX\\a.txt", "C:\\Acme", false, false},
        {"C:\\Acm", "C:\\Acme", false, false},
        {"C:\\Acme", "C:\\Acme\\a.txt", false, false},
        {"C:\\Acme\\a.txt", "C:\\", true, false},
        {"C:\\Acme\\a.txt", "C:", true, false},
        {"D:\\Acme\\a.txt", "C:\\", false, false},
        {"C:\\Windows.\\System32 \\a.dll", "C:\\Windows\\System32", true, false},
        {"\\\\server\\share\\Acme", "\\\\server\\share", true, false},
        {"\\\\server\\share\\Acme", "C:\\server\\share", false, false},
        {"C:\\Acme\\a.txt", "", false, false},
    };
    for (const Case& c : cases) {
        std::string path = c.path, folder = c.folder;
        EXPECT_EQ(IsPathBelow(path.data(), path.size(), folder.data(), folder.size()), c.below) << c.path << " in " << c.folder;
        EXPECT_EQ(IsSameFolder(path.data(), path.size(), folder.data(), folder.size()), c.same) << c.path << " is " << c.folder;
    }
    for (std::string root : {"C:", "c:\\", "\\\\server\\share", "\\\\server\\share\\"})
        EXPECT_TRUE(IsDriveRoot(root.data(), root.size())) << root;
    for (std::string other : {"C:\\Acme", "\\\\server", "\\\\server\\share\\Acme", "Acme", "CD:\\"})
        EXPECT_FALSE(IsDriveRoot(other.data(), other.size())) << other;
}

// The folders of a machine as the uninstaller finds them.
const ScopeRoot kRoots[] = {
    {"C:\\Windows", 10, kSharedSystemKinds},
    {"C:\\Windows\\System32", 19, kSharedSystemKinds},
    {"C:\\Windows\\Fonts", 16, kFontsKinds},
    {"C:\\Users\\Ann\\Start Menu\\Programs", 32, kShortcutKinds},
    {"C:\\Users\\Ann\\Desktop", 20, kShortcutKinds},
    {"C:\\Program Files", 16, kNoKinds},
    {"C:\\Users\\Ann", 12, kNoKinds},
    {"C:\\Users\\Ann\\Documents", 22, kNoKinds},
    {"", 0, kShortcutKinds},  // a folder this system does not have
};

TEST(UninstallerRecords, AnInstallationRecordNamesTheUninstallersFolderOrAnUnprotectedOneAboveIt)
{
    const std::string uninstallerFolder = "C:\\Program Files\\Acme\\bin";
    struct Case {
        std::vector<std::string> named;  // the installation records
        InstallationFolder expected;
        std::string folder;
    } cases[] = {
        {{}, InstallationFolder::fromUninstaller, uninstallerFolder},
        {{"C:\\Program Files\\Acme\\bin"}, InstallationFolder::fromRecord, "C:\\Program Files\\Acme\\bin"},
        {{"C:\\Program Files\\Acme"}, InstallationFolder::fromRecord, "C:\\Program Files\\Acme"},
        {{"c:/program files/acme", "C:\\Program Files\\Acme"}, InstallationFolder::fromRecord, "C:\\Program Files\\Acme"},
        {{"C:\\Program Files\\Acme", "C:\\Program Files\\Acme\\bin"}, InstallationFolder::refused, ""},
        {{"C:\\Program Files"}, InstallationFolder::refused, ""},
        {{"C:\\"}, InstallationFolder::refused, ""},
        {{"C:\\Program Files\\Acme\\bin\\sub"}, InstallationFolder::refused, ""},
        {{"C:\\Program Files\\Other"}, InstallationFolder::refused, ""},
        {{"D:\\Acme"}, InstallationFolder::refused, ""},
    };
    for (const Case& c : cases) {
        std::vector<UninstallRecord> records;
        records.push_back(Record(UninstallItem::file, "C:\\Program Files\\Acme\\a.txt"));
        for (const std::string& named : c.named) records.push_back(Record(UninstallItem::installation, named));
        const char* folder = nullptr;
        std::size_t length = 0;
        InstallationFolder found = FindInstallationFolder(records.data(), records.size(), uninstallerFolder.data(),
                                                          uninstallerFolder.size(), kRoots, std::size(kRoots), folder, length);
        EXPECT_EQ(found, c.expected) << (c.named.empty() ? "none" : c.named[0]);
        if (found != InstallationFolder::refused) {
            EXPECT_EQ(std::string(folder, length), c.folder);
        }
    }
    // Installed right into a protected folder: that folder itself is the installation's.
    const std::string programFiles = "C:\\Program Files";
    UninstallRecord own = Record(UninstallItem::installation, programFiles);
    const char* folder = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(FindInstallationFolder(&own, 1, programFiles.data(), programFiles.size(), kRoots, std::size(kRoots), folder, length),
              InstallationFolder::fromRecord);
}

TEST(UninstallerRecords, RecordsActOnlyBelowTheInstallationAndTheFoldersThatAdmitThem)
{
    const std::string installation = "C:\\Program Files\\Acme";
    const UninstallScope scope{installation.data(), installation.size(), kRoots, std::size(kRoots)};
    struct Case {
        UninstallItem kind;
        std::string path;
        bool inScope;
    } cases[] = {
        {UninstallItem::file, "C:\\Program Files\\Acme\\a.txt", true},
        {UninstallItem::file, "c:/program files/ACME/sub/a.txt", true},
        {UninstallItem::sharedFile, "C:\\Program Files\\Acme\\shared.dll", true},
        {UninstallItem::shortcut, "C:\\Program Files\\Acme\\Acme.lnk", true},
        {UninstallItem::file, "C:\\Program Files\\Other\\a.txt", false},
        {UninstallItem::file, "C:\\Program Files\\AcmeX\\a.txt", false},
        {UninstallItem::file, "C:\\Program Files\\a.txt", false},
        {UninstallItem::file, "D:\\Acme\\a.txt", false},
        // Windows and System: shared files, counted, only.
        {UninstallItem::sharedFile, "C:\\Windows\\System32\\acme.dll", true},
        {UninstallItem::sharedFile, "C:\\Windows\\acme.dll", true},
        {UninstallItem::file, "C:\\Windows\\System32\\kernel32.dll", false},
        {UninstallItem::file, "C:\\Windows.\\System32\\kernel32.dll", false},
        {UninstallItem::file, "C:\\Windows\\win.ini", false},
        {UninstallItem::shortcut, "C:\\Windows\\System32\\a.lnk", false},
        {UninstallItem::folder, "C:\\Windows\\Acme", true},
        {UninstallItem::folder, "C:\\Windows\\System32", false},
        {UninstallItem::folder, "C:\\Windows", false},
        // Fonts.
        {UninstallItem::file, "C:\\Windows\\Fonts\\acme.ttf", true},
        {UninstallItem::sharedFile, "C:\\Windows\\Fonts\\acme.ttf", true},
        {UninstallItem::folder, "C:\\Windows\\Fonts", false},
        // Start menu and desktop: shortcuts and their folders.
        {UninstallItem::shortcut, "C:\\Users\\Ann\\Start Menu\\Programs\\Acme\\Acme.lnk", true},
        {UninstallItem::folder, "C:\\Users\\Ann\\Start Menu\\Programs\\Acme", true},
        {UninstallItem::shortcut, "C:\\Users\\Ann\\Desktop\\Acme.lnk", true},
        {UninstallItem::shortcut, "C:\\Users\\Ann\\Desktop\\Thesis.docx", false},
        {UninstallItem::file, "C:\\Users\\Ann\\Desktop\\Thesis.docx", false},
        {UninstallItem::folder, "C:\\Users\\Ann\\Desktop", false},
        // Protected folders and what lies below them.
        {UninstallItem::file, "C:\\Users\\Ann\\Documents\\Letter.doc", false},
        {UninstallItem::shortcut, "C:\\Users\\Ann\\Documents\\Old.lnk", false},
        {UninstallItem::folder, "C:\\Users\\Ann\\Documents", false},
        {UninstallItem::folder, "C:\\Users\\Ann", false},
        {UninstallItem::folder, "C:\\Program Files", false},
        {UninstallItem::folder, "C:\\", false},
        // The installation folder and the ones the installation made above it.
        {UninstallItem::folder, "C:\\Program Files\\Acme", true},
        {UninstallItem::folder, "C:\\Program Files\\Acme\\sub", true},
        {UninstallItem::folder, "C:\\Program Files\\Other", false},
        // A registry key other than the installation's own entry.
        {UninstallItem::registryKey, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme", true},
        {UninstallItem::registryKey, "Software\\Microsoft", false},
    };
    for (const Case& c : cases) {
        UninstallRecord record = Record(c.kind, c.path, "", c.kind == UninstallItem::registryKey ? kRootLocalMachine : 0);
        EXPECT_EQ(IsRecordInScope(&record, 1, 0, scope), c.inScope) << static_cast<int>(c.kind) << " " << c.path;
    }

    // Below a deeper installation, the installation's folder decides.
    const std::string inDesktop = "C:\\Users\\Ann\\Desktop\\Acme", document = "C:\\Users\\Ann\\Desktop\\Acme\\Read me.txt";
    const UninstallScope desktopScope{inDesktop.data(), inDesktop.size(), kRoots, std::size(kRoots)};
    UninstallRecord readMe = Record(UninstallItem::file, document);
    EXPECT_TRUE(IsRecordInScope(&readMe, 1, 0, desktopScope));
    // Installed into a drive root: the system's folders below it keep their own rules.
    const std::string root = "C:\\", systemFile = "C:\\Windows\\System32\\kernel32.dll", letter = "C:\\Users\\Ann\\Documents\\Letter.doc",
                      own = "C:\\Acme\\a.txt";
    const UninstallScope rootScope{root.data(), root.size(), kRoots, std::size(kRoots)};
    UninstallRecord inRoot[] = {Record(UninstallItem::file, systemFile), Record(UninstallItem::file, letter),
                                Record(UninstallItem::file, own)};
    EXPECT_FALSE(IsRecordInScope(inRoot, 3, 0, rootScope));
    EXPECT_FALSE(IsRecordInScope(inRoot, 3, 1, rootScope));
    EXPECT_TRUE(IsRecordInScope(inRoot, 3, 2, rootScope));
}

TEST(UninstallerRecords, ControlsAndFontsAreFilesTheInstallationWrote)
{
    const std::string installation = "C:\\Acme", own = "C:\\Acme\\own.ocx", shared = "C:\\Windows\\System32\\acme.ocx",
                      unlisted = "C:\\Acme\\other.ocx", planted = "C:\\Temp\\evil.dll", font = "C:\\Windows\\Fonts\\acme.ttf",
                      systemFont = "C:\\Windows\\Fonts\\arial.ttf", name = "Acme (TrueType)";
    const UninstallScope scope{installation.data(), installation.size(), kRoots, std::size(kRoots)};
    const UninstallRecord records[] = {
        Record(UninstallItem::file, own),          Record(UninstallItem::control, own),
        Record(UninstallItem::sharedFile, shared), Record(UninstallItem::control, shared),
        Record(UninstallItem::control, unlisted),  Record(UninstallItem::file, planted),
        Record(UninstallItem::control, planted),   Record(UninstallItem::file, font),
        Record(UninstallItem::font, font, name),   Record(UninstallItem::font, systemFont, name),
    };
    const bool expected[] = {true, true, true, true, false, false, false, true, true, false};
    for (std::size_t i = 0; i < std::size(records); ++i)
        EXPECT_EQ(IsRecordInScope(records, std::size(records), i, scope), expected[i]) << i;
}

}  // namespace
}  // namespace sw
