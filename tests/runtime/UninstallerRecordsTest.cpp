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

}  // namespace
}  // namespace sw
