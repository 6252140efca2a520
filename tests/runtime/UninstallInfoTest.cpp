// The uninstall information that the installer appends to while it installs and the
// uninstaller reads: records come back as written, an interrupted last write ends the
// list quietly, and a file altered in the middle is reported as damaged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/UninstallInfo.h"

#include <zlib.h>

namespace sw {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Item {
    UninstallItem kind;
    std::uint32_t root;
    std::string text0;
    std::string text1;
};

Bytes Record(const Item& item)
{
    UninstallRecord record{item.kind, item.root, {item.text0.data(), item.text1.empty() ? nullptr : item.text1.data()},
                           {item.text0.size(), item.text1.size()}};
    Bytes out(kUninstallRecordFixedSize + item.text0.size() + item.text1.size());
    std::size_t n = EncodeUninstallRecord(record, out.data(), out.size());
    EXPECT_EQ(n, out.size());
    return out;
}

Bytes Header()
{
    Bytes out(kUninstallInfoHeaderSize);
    EXPECT_EQ(UninstallInfoHeader(out.data(), out.size()), kUninstallInfoHeaderSize);
    return out;
}

void Append(Bytes& file, const Bytes& more) { file.insert(file.end(), more.begin(), more.end()); }

const std::vector<Item> kItems = {
    {UninstallItem::folder, 0, "C:\\Program Files\\Prod", ""},
    {UninstallItem::file, 0, "C:\\Program Files\\Prod\\a.txt", ""},
    {UninstallItem::sharedFile, 0, "C:\\Windows\\System32\\shared.dll", ""},
    {UninstallItem::shortcut, 0, "C:\\Users\\u\\Desktop\\Prod.lnk", ""},
    {UninstallItem::font, 0, "C:\\Windows\\Fonts\\f.ttf", "F Regular (TrueType)"},
    {UninstallItem::control, 0, "C:\\Program Files\\Prod\\c.ocx", ""},
    {UninstallItem::registryKey, 0x80000002u, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod", ""},
    {UninstallItem::file, 0, "C:\\Program Files\\Prod\\\xC3\xA9t\xC3\xA9.txt", ""},
};

Bytes WholeFile()
{
    Bytes file = Header();
    for (const Item& item : kItems) Append(file, Record(item));
    return file;
}

// Reads every record; the items read and whether the reader called the file damaged.
std::vector<Item> ReadAll(const Bytes& file, bool* damaged = nullptr)
{
    CUninstallInfoReader reader(file.data(), file.size());
    std::vector<Item> items;
    UninstallRecord record{};
    while (reader.Next(record)) {
        items.push_back({record.kind, record.root, std::string(record.text[0], record.length[0]),
                         record.text[1] ? std::string(record.text[1], record.length[1]) : std::string()});
        EXPECT_EQ(record.text[1] == nullptr, record.length[1] == 0);
    }
    UninstallRecord after{};
    EXPECT_FALSE(reader.Next(after)) << "a reader that stopped must stay stopped";
    if (damaged) *damaged = reader.Damaged();
    return items;
}

void ExpectItems(const std::vector<Item>& got, std::size_t count)
{
    ASSERT_EQ(got.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(got[i].kind, kItems[i].kind) << i;
        EXPECT_EQ(got[i].root, kItems[i].root) << i;
        EXPECT_EQ(got[i].text0, kItems[i].text0) << i;
        EXPECT_EQ(got[i].text1, kItems[i].text1) << i;
    }
}

TEST(UninstallInfo, EveryKindComesBackAsWritten)
{
    Bytes file = WholeFile();
    CUninstallInfoReader reader(file.data(), file.size());
    EXPECT_TRUE(reader.HeaderOk());
    bool damaged = true;
    ExpectItems(ReadAll(file, &damaged), kItems.size());
    EXPECT_FALSE(damaged);
}

TEST(UninstallInfo, AFileWithOnlyItsHeaderListsNothing)
{
    Bytes file = Header();
    bool damaged = true;
    EXPECT_TRUE(ReadAll(file, &damaged).empty());
    EXPECT_FALSE(damaged);
}

TEST(UninstallInfo, ChecksAreCrc32)
{
    const std::string text = "123456789";
    EXPECT_EQ(Crc32(0, reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0xCBF43926u);
    Bytes random(1000);
    for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
    EXPECT_EQ(Crc32(Crc32(0, random.data(), 300), random.data() + 300, 700), crc32(0, random.data(), 1000));
}

// An installation stopped while it wrote its last record: every cut of that record, and
// garbage in its place, ends the list after the records before it without calling the
// file damaged.
TEST(UninstallInfo, AnInterruptedLastRecordEndsTheListQuietly)
{
    Bytes whole = WholeFile();
    std::size_t lastSize = Record(kItems.back()).size();
    std::size_t lastStart = whole.size() - lastSize;
    for (std::size_t cut = 1; cut < lastSize; ++cut) {
        Bytes file(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut));
        bool damaged = true;
        ExpectItems(ReadAll(file, &damaged), kItems.size() - 1);
        EXPECT_FALSE(damaged) << "cut by " << cut;
    }
    struct Torn {
        const char* what;
        std::size_t at;      // offset in the last record
        std::size_t extra;   // bytes of zeros written after the record's end
    };
    const Torn torn[] = {
        {"a zeroed header", 0, 0},
        {"a zeroed text byte", kUninstallRecordFixedSize, 0},
        {"a zeroed check value", lastSize - 1, 0},
        {"zeros beyond the record", lastSize - 2, 64},
    };
    for (const Torn& t : torn) {
        Bytes file = whole;
        file[lastStart + t.at] = 0;
        if (t.at == 0) std::fill(file.begin() + static_cast<std::ptrdiff_t>(lastStart), file.end(), 0);
        file.resize(file.size() + t.extra, 0);
        bool damaged = true;
        ExpectItems(ReadAll(file, &damaged), kItems.size() - 1);
        EXPECT_FALSE(damaged) << t.what;
    }
}

// Installing again into the same folder adds to the file: cut at the end of the sound
// records, the records that follow read as one list, with no damage from the torn write.
TEST(UninstallInfo, AnotherInstallationContinuesAfterTheSoundRecords)
{
    Bytes file = WholeFile();
    std::size_t sound = file.size() - Record(kItems.back()).size();
    file.resize(file.size() - 5);  // the last record torn
    CUninstallInfoReader reader(file.data(), file.size());
    UninstallRecord record{};
    while (reader.Next(record)) {
    }
    ASSERT_FALSE(reader.Damaged());
    EXPECT_EQ(reader.End(), sound);
    file.resize(reader.End());
    Append(file, Record(kItems.back()));
    bool damaged = true;
    ExpectItems(ReadAll(file, &damaged), kItems.size());
    EXPECT_FALSE(damaged);
    Bytes empty = Header();
    CUninstallInfoReader headerOnly(empty.data(), empty.size());
    EXPECT_EQ(headerOnly.End(), kUninstallInfoHeaderSize);
}

// A flipped byte anywhere in a record that others follow: the reader stops there and
// calls the file damaged, so that nothing of an altered list is acted on blindly.
TEST(UninstallInfo, ADamagedRecordBeforeTheLastIsReported)
{
    Bytes whole = WholeFile();
    std::size_t secondStart = kUninstallInfoHeaderSize + Record(kItems[0]).size();
    std::size_t secondSize = Record(kItems[1]).size();
    for (std::size_t at = 0; at < secondSize; ++at) {
        Bytes file = whole;
        file[secondStart + at] ^= 0x20;
        bool damaged = false;
        ExpectItems(ReadAll(file, &damaged), 1);
        EXPECT_TRUE(damaged) << "byte " << at << " of the second record";
    }
}

TEST(UninstallInfo, RecordsThatTheWriterNeverWritesAreDamage)
{
    struct Case {
        const char* what;
        Item item;
    };
    const Case cases[] = {
        {"kind 0", {static_cast<UninstallItem>(0), 0, "C:\\x", ""}},
        {"the kind after the last", {static_cast<UninstallItem>(static_cast<int>(kLastUninstallItem) + 1), 0, "C:\\x", ""}},
        {"no text", {UninstallItem::file, 0, "", ""}},
    };
    for (const Case& c : cases) {
        Bytes file = Header();
        Append(file, Record(kItems[0]));
        Append(file, Record(c.item));
        Append(file, Record(kItems[1]));
        bool damaged = false;
        ExpectItems(ReadAll(file, &damaged), 1);
        EXPECT_TRUE(damaged) << c.what;
    }
}

TEST(UninstallInfo, AFileWithoutTheHeaderIsRefused)
{
    Bytes good = WholeFile();
    struct Case {
        const char* what;
        std::size_t at;
        std::uint8_t value;
        std::size_t size;
    };
    const Case cases[] = {
        {"another magic", 0, 'X', good.size()},
        {"version 2", 4, 2, good.size()},
        {"a flag set", 6, 1, good.size()},
        {"cut inside the header", 0, 'S', kUninstallInfoHeaderSize - 1},
        {"empty", 0, 'S', 0},
    };
    for (const Case& c : cases) {
        Bytes file = good;
        file[c.at] = c.value;
        file.resize(c.size);
        CUninstallInfoReader reader(file.data(), file.size());
        EXPECT_FALSE(reader.HeaderOk()) << c.what;
        UninstallRecord record{};
        EXPECT_FALSE(reader.Next(record)) << c.what;
    }
}

TEST(UninstallInfo, EncodingNeedsRoomForTheWholeRecord)
{
    Bytes record = Record(kItems[4]);
    Bytes out(record.size());
    UninstallRecord font{UninstallItem::font, 0, {kItems[4].text0.data(), kItems[4].text1.data()},
                         {kItems[4].text0.size(), kItems[4].text1.size()}};
    EXPECT_EQ(EncodeUninstallRecord(font, out.data(), out.size() - 1), 0u);
    EXPECT_EQ(EncodeUninstallRecord(font, out.data(), 3), 0u);
    EXPECT_EQ(UninstallInfoHeader(out.data(), kUninstallInfoHeaderSize - 1), 0u);
    UninstallRecord unused{UninstallItem::file, 0, {"C:\\a", nullptr}, {4, 99}};
    EXPECT_EQ(EncodeUninstallRecord(unused, out.data(), out.size()), kUninstallRecordFixedSize + 4)
        << "a text without bytes has length 0 whatever its length says";
}

TEST(UninstallInfo, TheInformationLivesBesideTheUninstaller)
{
    struct Case {
        std::string path;
        std::string name;  // "" = no name
    };
    const Case cases[] = {
        {"C:\\Prod\\Uninstal.exe", "C:\\Prod\\Uninstal.dat"},
        {"C:\\Prod\\remove", "C:\\Prod\\remove.dat"},
        {"C:\\Prod.v2\\remove", "C:\\Prod.v2\\remove.dat"},
        {"C:\\Prod\\un.inst.EXE", "C:\\Prod\\un.inst.dat"},
        {"/mnt/prod/Uninst.exe", "/mnt/prod/Uninst.dat"},
        {"Uninst.exe", "Uninst.dat"},
        {"C:\\Prod\\Uninst.DAT", "C:\\Prod\\Uninst.DAT.dat"},
        {"C:\\Prod\\", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        char out[64] = {};
        std::size_t n = MakeUninstallInfoName(c.path.data(), c.path.size(), out, sizeof out);
        EXPECT_EQ(std::string(out, n), c.name) << c.path;
    }
    const std::wstring wide = L"C:\\Prod\\Uninstal.exe";
    wchar_t wout[32] = {};
    std::size_t n = MakeUninstallInfoName(wide.data(), wide.size(), wout, 32);
    EXPECT_EQ(std::wstring(wout, n), L"C:\\Prod\\Uninstal.dat");
    const std::string path = "C:\\P\\U.exe";  // "C:\\P\\U.dat" and its zero: 11 characters
    char small[11];
    EXPECT_EQ(MakeUninstallInfoName(path.data(), path.size(), small, 10), 0u);
    EXPECT_EQ(MakeUninstallInfoName(path.data(), path.size(), small, 11), 10u);
}

}  // namespace
}  // namespace sw
