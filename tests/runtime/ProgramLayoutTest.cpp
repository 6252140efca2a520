// The installer runtime's reading of an installation program: record walking and the
// length check, the file table, the name checks, the install plan, check values and the
// wizard texts. Programs are put together by hand here, byte by byte, so that each case
// shows the layout it tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "core/StreamDecoder.h"
#include "runtime/ByteBuilder.h"
#include "runtime/StreamTestSupport.h"

#include <zlib.h>

namespace sw {
namespace {

using Bytes = std::vector<std::uint8_t>;

using test::Put16;
using test::Put32;
void PutString(Bytes& b, const std::string& s)
{
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}

// A stand-in image: some bytes, the size marker, the seed marker.
Bytes Image(std::uint32_t seed)
{
    Bytes image(40, 0x90);
    Put16(image, kMarkerTag);
    Put32(image, kSizeMarkerId);
    image.resize(image.size() + 12, 0);
    Put16(image, kMarkerTag);
    Put32(image, kSeedMarkerId);
    Put32(image, seed ^ kSeedMask);
    image.resize(image.size() + 20, 0xCC);
    SetImageSize(image.data(), image.size());
    return image;
}

void PutRecord(Bytes& b, std::uint16_t id, const Bytes& payload)
{
    Put16(b, id);
    Put16(b, 0);
    Put32(b, static_cast<std::uint32_t>(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
}

// An installation program with a default directory and `data` as its data section, its
// records sealed with their check.
Bytes Program(const Bytes& data)
{
    Bytes program = Image(0x1234);
    Bytes dir;
    PutString(dir, "C:\\App");
    PutRecord(program, REC_DEFAULT_DIR, dir);
    Put16(program, REC_END);
    Put16(program, 0);
    Put32(program, static_cast<std::uint32_t>(data.size()));
    if (!data.empty()) {
        Put32(program, static_cast<std::uint32_t>(data.size()));
        program.insert(program.end(), data.begin(), data.end());
    }
    EXPECT_TRUE(SealProgramRecords(program.data(), program.size()));
    return program;
}

TEST(ProgramLayout, ReadsRecordsAndChecksTheLength)
{
    Bytes data(100, 7);
    Bytes program = Program(data);
    ProgramView view;
    ASSERT_EQ(ReadProgramLayout(program.data(), program.size(), view), LayoutStatus::ok);
    EXPECT_EQ(view.seed, 0x1234u);
    ASSERT_EQ(view.recordCount, 1u);
    EXPECT_EQ(view.records[0].id, REC_DEFAULT_DIR);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.records[0].data)), "C:\\App");
    EXPECT_EQ(view.dataSize, 100u);
    EXPECT_EQ(view.dataInFile, 100u);
    EXPECT_EQ(view.data, program.data() + program.size() - 100);
    EXPECT_NE(FindRecord(view, REC_DEFAULT_DIR), nullptr);
    EXPECT_EQ(FindRecord(view, REC_TITLE), nullptr);
}

TEST(ProgramLayout, RefusesEveryWrongLength)
{
    Bytes full = Program(Bytes(100, 7));
    Bytes empty = Program({});
    struct Case {
        const char* what;
        Bytes bytes;
        LayoutStatus expected;
    };
    std::vector<Case> cases = {
        {"no data, exact", empty, LayoutStatus::ok},
        {"no data, padded", [&] { Bytes b = empty; b.push_back(0); return b; }(), LayoutStatus::wrongLength},
        {"data cut by one", Bytes(full.begin(), full.end() - 1), LayoutStatus::wrongLength},
        {"data padded by one", [&] { Bytes b = full; b.push_back(0); return b; }(), LayoutStatus::wrongLength},
        {"cut inside REC_END", Bytes(full.begin(), full.begin() + 40 + 18 + 10 + 30 + 8 + 7 + 4), LayoutStatus::wrongLength},
        {"cut inside the image", Bytes(full.begin(), full.begin() + 60), LayoutStatus::wrongLength},
        {"no marker", Bytes(200, 0x90), LayoutStatus::noSizeMarker},
        {"nothing", Bytes(), LayoutStatus::noSizeMarker},
    };
    for (const Case& c : cases) {
        ProgramView view;
        EXPECT_EQ(ReadProgramLayout(c.bytes.data(), c.bytes.size(), view), c.expected) << c.what;
    }
}

TEST(ProgramLayout, DataInFollowOnVolumes)
{
    Bytes program = Program(Bytes(10, 1));
    // REC_END declares 30 bytes while this file holds 10 of them.
    std::size_t end = program.size() - 10 - 4 - 4;
    program[end] = 30;
    ASSERT_TRUE(SealProgramRecords(program.data(), program.size()));
    ProgramView view;
    EXPECT_EQ(ReadProgramLayout(program.data(), program.size(), view), LayoutStatus::needsVolumes);
    EXPECT_EQ(view.dataInFile, 10u);
}

TEST(ProgramLayout, ChecksumInPiecesOfAnyLength)
{
    Bytes data(103);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 11);
    std::uint32_t whole = AddToChecksum(5, data.data(), data.size());
    for (std::size_t piece : {1u, 2u, 3u, 5u, 7u, 64u}) {
        CChecksum sum(5);
        for (std::size_t at = 0; at < data.size(); at += piece) sum.Add(data.data() + at, std::min(piece, data.size() - at));
        EXPECT_EQ(sum.Value(), whole) << "pieces of " << piece;
    }
}

TEST(ProgramLayout, ProjectCheckValue)
{
    const std::uint8_t dir[] = "C:\\App";
    const std::uint8_t title[] = "Title";
    std::uint32_t withDir = AddToChecksum(9, dir, 6);
    EXPECT_EQ(ProjectCheckValue(9, nullptr, 0, 0, nullptr, 0), 9u);
    EXPECT_EQ(ProjectCheckValue(9, dir, 7, 0, title, 6), withDir);
    EXPECT_EQ(ProjectCheckValue(9, dir, 7, kOptionFullScreen, title, 6), AddToChecksum(withDir, title, 5));
}

Bytes FileRecord(const std::string& name, std::uint8_t flags, std::uint8_t mode, std::uint32_t packed, std::uint8_t target = 0)
{
    Bytes r;
    Put32(r, 0);  // length, set below
    Put16(r, 0);
    Put16(r, 3);
    for (std::uint8_t option : {target, std::uint8_t(0), std::uint8_t(0), mode, std::uint8_t(0)}) r.push_back(option);
    r.push_back(flags);
    Put32(r, 0xABCD);
    Put32(r, 10);
    Put32(r, packed);
    if (flags & kFileHasVersion) r.resize(r.size() + kFileVersionBlockSize, 1);
    if (flags & kFileHasTimes)
        for (std::uint32_t i = 0; i < 6; ++i) Put32(r, i + 1);
    PutString(r, name);
    for (int i = 0; i < 5; ++i) PutString(r, i == 1 ? "icon" : "");
    r[0] = static_cast<std::uint8_t>(r.size());
    return r;
}

TEST(FileTable, ReadsRecordsAndPlansThem)
{
    struct Case {
        std::string name;
        std::uint8_t flags;
        std::uint8_t mode;
        std::uint32_t packed;
        InstallAction action;
    };
    const std::vector<Case> cases = {
        {"Uninst.exe", kFileIsUninstaller, 1, 50, InstallAction::installUninstaller},
        {"..\\Uninst.exe", kFileIsUninstaller, 1, 50, InstallAction::refuseName},
        {"a.txt", 0, 1, 5, InstallAction::install},
        {"sub\\b.dll", kFileHasVersion | kFileHasTimes, 0, 6, InstallAction::install},
        {"empty", 0, 1, 0, InstallAction::skipNoData},
        {"kept.txt", 0, 2, 7, InstallAction::skipMode},
        {"..\\evil", 0, 1, 8, InstallAction::refuseName},
    };
    Bytes table;
    Put32(table, static_cast<std::uint32_t>(cases.size()));
    for (const Case& c : cases) {
        Bytes r = FileRecord(c.name, c.flags, c.mode, c.packed);
        table.insert(table.end(), r.begin(), r.end());
    }
    CFileTableReader reader(table.data(), table.size());
    std::uint32_t count = 0;
    ASSERT_TRUE(reader.Start(count));
    ASSERT_EQ(count, cases.size());
    std::uint64_t offset = 0;
    for (const Case& c : cases) {
        FileEntry entry;
        ASSERT_TRUE(reader.Next(entry)) << c.name;
        EXPECT_EQ(std::string(entry.name, entry.nameLength), c.name);
        EXPECT_EQ(entry.iconIndex, 3);
        EXPECT_EQ(entry.checkValue, 0xABCDu);
        EXPECT_EQ(entry.size, 10u);
        EXPECT_EQ(entry.dataOffset, offset);
        EXPECT_EQ(entry.hasTimes, (c.flags & kFileHasTimes) != 0);
        if (entry.hasTimes) {
            EXPECT_EQ(entry.times[2], 5u | std::uint64_t(6) << 32);
        }
        EXPECT_EQ(PlanFile(entry), c.action) << c.name;
        offset += c.packed;
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FileTable, RefusesDamagedRecords)
{
    Bytes good = FileRecord("a.txt", kFileHasTimes, 1, 5);
    struct Case {
        const char* what;
        Bytes record;
    };
    std::vector<Case> cases = {
        {"length too short", [&] { Bytes b = good; b[0] = 10; return b; }()},
        {"length past the table", [&] { Bytes b = good; b[0] = static_cast<std::uint8_t>(b.size() + 1); return b; }()},
        {"a string without its end", [&] { Bytes b = good; b.back() = 'x'; return b; }()},
        {"a string too many", [&] { Bytes b = good; b.insert(b.end() - 1, 0); b[0] = static_cast<std::uint8_t>(b.size()); return b; }()},
        {"cut short", Bytes(good.begin(), good.begin() + 20)},
    };
    for (const Case& c : cases) {
        Bytes table;
        Put32(table, 1);
        table.insert(table.end(), c.record.begin(), c.record.end());
        CFileTableReader reader(table.data(), table.size());
        std::uint32_t count = 0;
        FileEntry entry;
        EXPECT_FALSE(reader.Start(count) && reader.Next(entry)) << c.what;
    }
    Bytes huge;
    Put32(huge, 1000);
    CFileTableReader reader(huge.data(), huge.size());
    std::uint32_t count = 0;
    EXPECT_FALSE(reader.Start(count)) << "a count the table cannot hold";
}

TEST(InstallNames, OneRuleWithItsReason)
{
    // The rule the builder, verify, the scan's summary and both runtimes apply: a name that
    // stays below its folder and that Windows creates exactly as written.
    struct Case {
        const char* name;
        NameProblem problem;
    };
    const Case cases[] = {
        {"a.txt", NameProblem::none},           {"sub\\b.txt", NameProblem::none},        {"sub/b.txt", NameProblem::none},
        {"a..b", NameProblem::none},            {".hidden", NameProblem::none},            {"sub\\..x\\y", NameProblem::none},
        {"...hidden", NameProblem::none},       {"icon\\x", NameProblem::none},          {"CONSOLE.txt", NameProblem::none},
        {"com10.txt", NameProblem::none},       {"lpt.txt", NameProblem::none},            {"con.d\\x", NameProblem::reservedName},            {"na\xC3\xAFve.txt", NameProblem::none},
        {"", NameProblem::empty},               {"sub\\\\x", NameProblem::empty},          {"sub\\", NameProblem::empty},
        {"\\abs", NameProblem::absolute},       {"/abs", NameProblem::absolute},           {"\\\\server\\share", NameProblem::absolute},
        {"C:\\x", NameProblem::colon},          {"C:x", NameProblem::colon},               {"a.txt:stream", NameProblem::colon},
        {"..", NameProblem::parentPart},        {"..\\x", NameProblem::parentPart},        {"sub\\..\\..\\x", NameProblem::parentPart},
        {"sub/../x", NameProblem::parentPart},  {"...\\x", NameProblem::parentPart},       {". .\\x", NameProblem::parentPart},
        {".\\x", NameProblem::parentPart},      {" \\x.txt", NameProblem::parentPart},     {"sub\\ ", NameProblem::parentPart},
        {"a<b", NameProblem::forbiddenCharacter}, {"a>b", NameProblem::forbiddenCharacter}, {"a\"b", NameProblem::forbiddenCharacter},
        {"a|b", NameProblem::forbiddenCharacter}, {"a?b", NameProblem::forbiddenCharacter}, {"a*b", NameProblem::forbiddenCharacter},
        {"a\tb", NameProblem::forbiddenCharacter}, {"a\x1F", NameProblem::forbiddenCharacter},
        {"CON", NameProblem::reservedName},     {"aux.txt", NameProblem::reservedName},    {"NUL.txt", NameProblem::reservedName},
        {"com1.txt", NameProblem::reservedName}, {"lpt1", NameProblem::reservedName},      {"PRN.log", NameProblem::reservedName},
        {"CONIN$", NameProblem::reservedName},  {"sub\\Nul .tar.gz", NameProblem::reservedName}, {"lpt9\\x", NameProblem::reservedName},
        {"dir.\\x", NameProblem::trailingDotOrBlank}, {"dir \\x", NameProblem::trailingDotOrBlank}, {"file.", NameProblem::trailingDotOrBlank},
        {"file ", NameProblem::trailingDotOrBlank},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckInstallName(c.name, std::strlen(c.name)), c.problem) << c.name;
        EXPECT_EQ(IsSafeInstallName(c.name, std::strlen(c.name)), c.problem == NameProblem::none) << c.name;
    }
    const char zero[] = {'a', '\0', 'b'};
    EXPECT_EQ(CheckInstallName(zero, 3), NameProblem::forbiddenCharacter);
}

Bytes Compress(const Bytes& data) { return test::RepackDeflate(test::ZlibDeflate(data, 9, Z_DEFAULT_STRATEGY)); }

// REC_WIZARD_TEXTS: per group a 32-bit length and a stream of a 16-bit count and strings.
Bytes WizardTexts(const std::vector<std::vector<std::string>>& groups)
{
    Bytes raw;
    Put16(raw, static_cast<std::uint32_t>(groups.size()));
    for (const auto& texts : groups) {
        Bytes group;
        Put16(group, static_cast<std::uint32_t>(texts.size()));
        for (const std::string& text : texts) PutString(group, text);
        Put32(raw, static_cast<std::uint32_t>(group.size()));
        Bytes stream = Compress(group);
        raw.insert(raw.end(), stream.begin(), stream.end());
    }
    return raw;
}

TEST(WizardTexts, FindsATextOfAGroup)
{
    std::vector<std::vector<std::string>> groups(7, std::vector<std::string>{"first", "second"});
    groups[6] = {"zero", "", "CRC error: %s"};
    Bytes raw = WizardTexts(groups);
    Bytes buffer(4096);
    std::size_t length = 0;
    ASSERT_TRUE(ReadWizardTextGroup(raw.data(), raw.size(), 6, buffer.data(), buffer.size(), length));
    struct Case {
        unsigned index;
        bool found;
        std::string text;
    };
    const Case cases[] = {{0, true, "zero"}, {1, true, ""}, {2, true, "CRC error: %s"}, {3, false, ""}};
    for (const Case& c : cases) {
        const char* text = nullptr;
        std::size_t size = 0;
        ASSERT_EQ(FindTextInGroup(buffer.data(), length, c.index, text, size), c.found) << c.index;
        if (c.found) {
            EXPECT_EQ(std::string(text, size), c.text);
        }
    }
    ASSERT_TRUE(ReadWizardTextGroup(raw.data(), raw.size(), 0, buffer.data(), buffer.size(), length));
    EXPECT_EQ(length, 2u + 6 + 7);

    EXPECT_FALSE(ReadWizardTextGroup(raw.data(), raw.size(), 7, buffer.data(), buffer.size(), length)) << "no group 7";
    EXPECT_FALSE(ReadWizardTextGroup(raw.data(), raw.size(), 6, buffer.data(), 10, length)) << "too long for the buffer";
    EXPECT_FALSE(ReadWizardTextGroup(raw.data(), raw.size() - 3, 6, buffer.data(), buffer.size(), length)) << "cut short";
}

TEST(ProgramLayout, PayloadsStoredAndCompressed)
{
    Bytes plain = test::TextData(3000, 7);
    Bytes compressed;
    Put32(compressed, static_cast<std::uint32_t>(plain.size()));
    Bytes stream = Compress(plain);
    compressed.insert(compressed.end(), stream.begin(), stream.end());
    const RecordView records[] = {
        {REC_FILE_TABLE, kRecordCompressed, compressed.data(), static_cast<std::uint32_t>(compressed.size())},
        {REC_FILE_TABLE, 0, plain.data(), static_cast<std::uint32_t>(plain.size())},
    };
    for (const RecordView& record : records) {
        std::uint32_t length = 0;
        ASSERT_TRUE(PayloadLength(record, length));
        ASSERT_EQ(length, plain.size());
        Bytes out(length);
        ASSERT_TRUE(ReadPayload(record, out.data(), length));
        EXPECT_EQ(out, plain);
        EXPECT_FALSE(ReadPayload(record, out.data(), length - 1)) << "a length other than the declared one";
    }
    RecordView damaged = records[0];
    damaged.size -= 10;
    Bytes out(plain.size());
    EXPECT_FALSE(ReadPayload(damaged, out.data(), static_cast<std::uint32_t>(plain.size())));
}

TEST(FileTable, TargetFolders)
{
    struct Case {
        std::uint8_t option;
        bool known;
        TargetFolder folder;
    } cases[] = {
        {0, true, TargetFolder::installation},
        {1, true, TargetFolder::windows},
        {2, true, TargetFolder::system},
        {3, true, TargetFolder::fonts},
        {4, false, TargetFolder::installation},
        {255, false, TargetFolder::installation},
    };
    for (const Case& c : cases) {
        FileEntry entry{};
        entry.options[0] = c.option;
        entry.options[3] = 1;
        entry.packedSize = 5;
        entry.name = "a.ttf";
        entry.nameLength = 5;
        TargetFolder folder = TargetFolder::installation;
        EXPECT_EQ(FileTargetFolder(entry, folder), c.known) << int(c.option);
        EXPECT_EQ(folder, c.folder) << int(c.option);
        EXPECT_EQ(PlanFile(entry), c.known ? InstallAction::install : InstallAction::refuseTarget) << int(c.option);
    }
}

TEST(DirectoryMacros, ReplacedAnywhereWithoutTheTrailingBackslash)
{
    const DirectoryMacroFolders<char> folders{"C:\\windows", "C:\\windows\\system32\\", "C:\\Program Files"};
    const DirectoryMacroFolders<char> roots{"D:\\", "D:\\", "E:\\"};
    struct Case {
        const char* text;
        const DirectoryMacroFolders<char>& folders;
        const char* expanded;
    } cases[] = {
        {"#Program Files#\\Setwright E2E", folders, "C:\\Program Files\\Setwright E2E"},
        {"#Windows#", folders, "C:\\windows"},
        {"#System#\\Drivers", folders, "C:\\windows\\system32\\Drivers"},
        {"x#Windows#y#Windows#", folders, "xC:\\windowsyC:\\windows"},
        {"#Windows##System#", folders, "C:\\windowsC:\\windows\\system32"},
        {"#Program Files#\\A", roots, "E:\\A"},
        {"C:\\Tools", folders, "C:\\Tools"},
        {"", folders, ""},
        {"#windows#\\A", folders, "#windows#\\A"},             // the case as written
        {"#Start Menu#\\#Windows", folders, "#Start Menu#\\#Windows"},  // not a directory macro, or cut short
        {"##System#", folders, "#C:\\windows\\system32"},
    };
    for (const Case& c : cases) {
        char out[128];
        std::size_t n = ExpandDirectoryMacros(c.text, std::strlen(c.text), c.folders, out, sizeof out);
        EXPECT_EQ(std::string(out, n), c.expanded) << c.text;
        EXPECT_EQ(out[n], 0) << c.text;
    }
    // Room for the result and its zero, and not one character less.
    const char* text = "#Windows#\\A";
    std::size_t need = std::strlen("C:\\windows\\A") + 1;
    char out[64];
    EXPECT_EQ(ExpandDirectoryMacros(text, std::strlen(text), folders, out, need), need - 1);
    for (std::size_t capacity = 0; capacity < need; ++capacity)
        EXPECT_EQ(ExpandDirectoryMacros(text, std::strlen(text), folders, out, capacity), 0u) << capacity;
    wchar_t wide[64];
    const DirectoryMacroFolders<wchar_t> wideFolders{L"C:\\windows", L"C:\\windows\\system32", L"C:\\Program Files\\"};
    ASSERT_EQ(ExpandDirectoryMacros(L"#Program Files#\\S", 17, wideFolders, wide, 64), 18u);
    EXPECT_EQ(std::wstring(wide), L"C:\\Program Files\\S");
}

TEST(FollowOnVolumes, NamesBesideTheProgram)
{
    struct Case {
        const char* program;
        unsigned number;
        const char* volume;
    } cases[] = {
        {"Setup.exe", 1, "Setup.D01"},
        {"C:\\Out\\Setup.exe", 2, "C:\\Out\\Setup.D02"},
        {"/out/my.setup.exe", 12, "/out/my.setup.D12"},
        {"Setup", 3, "Setup.D03"},
        {"C:\\a.b\\Setup", 1, "C:\\a.b\\Setup.D01"},
        {"/a.b/Setup", 1, "/a.b/Setup.D01"},
        {"Setup.", 1, "Setup.D01"},
        {"Setup.exe", 100, "Setup.D100"},
        {"Setup.exe", 999, "Setup.D999"},
    };
    for (const Case& c : cases) {
        char out[64];
        std::size_t n = MakeVolumeName(c.program, std::strlen(c.program), c.number, out, sizeof out);
        EXPECT_EQ(std::string(out, n), c.volume) << c.program << " " << c.number;
    }
    wchar_t wide[16];
    ASSERT_EQ(MakeVolumeName(L"X\\S.exe", 7, 4, wide, 16), 7u);
    EXPECT_EQ(std::wstring(wide), L"X\\S.D04");
    char out[10];
    EXPECT_EQ(MakeVolumeName("Setup.exe", 9, 0, out, sizeof out), 0u) << "no volume 0";
    EXPECT_EQ(MakeVolumeName("Setup.exe", 9, 1000, out, sizeof out), 0u) << "past the last volume";
    EXPECT_EQ(MakeVolumeName("Setup.exe", 9, 1, out, 9), 0u) << "no room for the zero";
    EXPECT_EQ(MakeVolumeName("Setup.exe", 9, 1, out, 10), 9u);
}

TEST(FollowOnVolumes, CountThenExactlyThatManyBytes)
{
    struct Case {
        Bytes file;
        std::uint64_t remaining;
        bool ok;
    } cases[] = {
        {{3, 0, 0, 0, 7, 8, 9}, 10, true},
        {{3, 0, 0, 0, 7, 8, 9}, 3, true},
        {{0, 0, 0, 0}, 5, true},
        {{3, 0, 0, 0, 7, 8, 9}, 2, false},       // more than the data section has left
        {{3, 0, 0, 0, 7, 8}, 10, false},         // cut short
        {{3, 0, 0, 0, 7, 8, 9, 1}, 10, false},   // padded
        {{3, 0, 0}, 10, false},                  // no whole count
        {{0, 0, 0, 1, 7}, 0xFFFFFFFFFu, false},  // a count far beyond the file
    };
    for (const Case& c : cases) {
        const std::uint8_t* data = nullptr;
        std::uint32_t count = 99;
        EXPECT_EQ(ReadVolume(c.file.data(), c.file.size(), c.remaining, data, count), c.ok) << c.file.size();
        if (c.ok) {
            EXPECT_EQ(count, c.file.size() - 4);
            EXPECT_EQ(data, c.file.data() + 4);
        }
    }
}

TEST(FollowOnVolumes, StreamsDecodeAcrossTheBoundaries)
{
    // Two files' streams in one data section, cut into pieces at every kind of place:
    // inside a stream, between two, and into pieces of one byte.
    Bytes first = test::TextData(5000, 3), second = test::RandomData(700, 4);
    Bytes a = Compress(first), b = Compress(second), section = a;
    section.insert(section.end(), b.begin(), b.end());
    for (std::size_t cut : {std::size_t{1}, a.size() / 2, a.size(), a.size() + 1, section.size() - 1}) {
        for (std::size_t pieceSize : {cut, std::size_t{1}}) {
            std::vector<DataPiece> pieces;
            if (pieceSize == 1) {
                for (std::size_t at = 0; at < section.size(); ++at) pieces.push_back({section.data() + at, 1});
            } else {
                pieces.push_back({section.data(), static_cast<std::uint32_t>(cut)});
                pieces.push_back({section.data() + cut, static_cast<std::uint32_t>(section.size() - cut)});
            }
            CSpannedInput input(pieces.data(), pieces.size());
            auto decoder = std::make_unique<CStreamDecoder>();
            for (int file = 0; file < 2; ++file) {
                const Bytes& plain = file == 0 ? first : second;
                ASSERT_TRUE(input.Start(file == 0 ? 0 : a.size(), file == 0 ? a.size() : b.size()));
                Bytes out;
                auto write = [](void* context, const std::uint8_t* data, std::size_t size) {
                    static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), data, data + size);
                    return true;
                };
                ASSERT_EQ(decoder->Decode(CSpannedInput::Read, &input, write, &out, plain.size()), DecodeStatus::ok)
                    << "cut " << cut << " pieces of " << pieceSize << " file " << file;
                EXPECT_EQ(out, plain);
                EXPECT_EQ(decoder->InputUsed(), file == 0 ? a.size() : b.size());
            }
            EXPECT_FALSE(input.Start(a.size(), b.size() + 1)) << "past the last piece";
        }
    }
}

// A program of several records, a compressed one among them, then the file table and a
// data section; as the builder lays it out, sealed.
struct SealedProgram {
    Bytes bytes;
    std::size_t imageSize = 0;
    std::size_t recordsEnd = 0;  // past REC_END's header
};

SealedProgram SampleProgram()
{
    SealedProgram p;
    p.bytes = Image(0x1234);
    p.imageSize = p.bytes.size();
    Bytes options;
    Put32(options, kOptionUserCanChangeDir);
    PutRecord(p.bytes, REC_OPTIONS, options);
    Bytes title;
    PutString(title, "Acme");
    PutRecord(p.bytes, REC_TITLE, title);
    Bytes texts = WizardTexts({{"Welcome", "to Acme"}, {"Directory"}});
    PutRecord(p.bytes, REC_WIZARD_TEXTS, texts);
    Bytes table;
    Put32(table, 2);
    for (Bytes r : {FileRecord("Uninstal.exe", kFileIsUninstaller, 0, 6), FileRecord("a.txt", kFileHasTimes, 1, 4)})
        table.insert(table.end(), r.begin(), r.end());
    PutRecord(p.bytes, REC_FILE_TABLE, table);
    Put16(p.bytes, REC_END);
    Put16(p.bytes, 0);
    Put32(p.bytes, 10);
    p.recordsEnd = p.bytes.size();
    Put32(p.bytes, 10);
    p.bytes.resize(p.bytes.size() + 10, 0x5A);
    EXPECT_TRUE(SealProgramRecords(p.bytes.data(), p.bytes.size()));
    return p;
}

LayoutStatus Layout(const Bytes& program)
{
    ProgramView view;
    return ReadProgramLayout(program.data(), program.size(), view);
}

TEST(RecordsCheck, EveryFlippedBitOfTheRecordsIsRefused)
{
    SealedProgram p = SampleProgram();
    ASSERT_EQ(Layout(p.bytes), LayoutStatus::ok);
    std::size_t marker = FindMarker(p.bytes.data(), p.bytes.size(), kSizeMarkerId);
    // The records, the table and REC_END's size, and the check itself in the size marker.
    std::vector<std::size_t> covered;
    for (std::size_t at = p.imageSize; at < p.recordsEnd; ++at) covered.push_back(at);
    for (std::size_t at = marker + kRecordsCrcOffset; at < marker + kSizeMarkerBytes; ++at) covered.push_back(at);
    for (std::size_t at : covered) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes flipped = p.bytes;
            flipped[at] = static_cast<std::uint8_t>(flipped[at] ^ (1u << bit));
            LayoutStatus status = Layout(flipped);
            EXPECT_TRUE(status != LayoutStatus::ok && status != LayoutStatus::needsVolumes)
                << "byte " << at << " bit " << bit << ": " << int(status);
        }
    }
    // The data section has the check values of its files instead.
    Bytes data = p.bytes;
    data.back() ^= 1;
    EXPECT_EQ(Layout(data), LayoutStatus::ok);
}

TEST(RecordsCheck, AProgramWithoutTheCheckOrWithTheWrongEndSizeIsInvalid)
{
    SealedProgram p = SampleProgram();
    std::size_t marker = FindMarker(p.bytes.data(), p.bytes.size(), kSizeMarkerId);
    auto endSize = [&p](std::uint32_t size) {
        Bytes b = p.bytes;
        b[p.recordsEnd - 4] = static_cast<std::uint8_t>(size);
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"no tag (an older writer)", [&] { Bytes b = p.bytes; std::fill(b.begin() + long(marker + kRecordsCrcOffset), b.begin() + long(marker + kSizeMarkerBytes), 0); return b; }()},
        {"a damaged tag", [&] { Bytes b = p.bytes; b[marker + kRecordsTagOffset] ^= 0xFF; return b; }()},
        {"REC_END one byte short", endSize(9)},   // would ask for no volume: the file is too long
        {"REC_END one byte long", endSize(11)},   // would ask for disk 2
    };
    for (const Case& c : cases) EXPECT_EQ(Layout(c.bytes), LayoutStatus::invalid) << c.what;

    // A program of records only, as the wizard test writes it (REC_END size 0, no table).
    Bytes test = Image(7);
    Bytes page;
    Put16(page, 0xFFFF);
    PutRecord(test, REC_TEST_PAGE, page);
    Put16(test, REC_END);
    Put16(test, 0);
    Put32(test, 0);
    EXPECT_EQ(Layout(test), LayoutStatus::invalid) << "not sealed";
    ASSERT_TRUE(SealProgramRecords(test.data(), test.size()));
    EXPECT_EQ(Layout(test), LayoutStatus::ok);

    Bytes noEnd = Image(7);
    PutRecord(noEnd, REC_TEST_PAGE, page);
    EXPECT_FALSE(SealProgramRecords(noEnd.data(), noEnd.size())) << "no REC_END";
    Bytes noMarker(64, 0x90);
    EXPECT_FALSE(SealProgramRecords(noMarker.data(), noMarker.size()));
}

TEST(UninstallerNames, AFileCollidesUnderEveryNameWindowsTakesForTheSame)
{
    struct Case {
        const char* uninstaller;
        const char* name;
        bool collides;
    };
    const Case cases[] = {
        {"Uninstal.exe", "Uninstal.exe", true},      {"Uninstal.exe", "UNINSTAL.EXE", true},
        {"Uninstal.exe", "Uninstal.dat", true},      {"Uninstal.exe", "uninstal.DAT", true},
        {"Uninstal.exe", "Uninstal.exe.", true},     {"Uninstal.exe", "Uninstal.dat . ", true},
        {"Uninstal.exe", "Uninstal.ex", false},      {"Uninstal.exe", "Uninstal", false},
        {"Uninstal.exe", "Uninstal.exe.dat", false}, {"Uninstal.exe", "sub\\Uninstal.exe", false},
        {"Uninstal.exe", "sub\\Uninstal.dat", false}, {"Uninstal.exe", "Uninstal.exe\\x", false},
        {"bin\\Remove.exe", "bin/remove.exe", true},  {"bin\\Remove.exe", "BIN\\Remove.dat", true},
        {"bin\\Remove.exe", "bin.\\Remove.dat", true}, {"bin\\Remove.exe", "Remove.exe", false},
        {"bin\\Remove.exe", "Remove.dat", false},     {"bin\\Remove.exe", "bin\\sub\\Remove.exe", false},
        {"Uninstal.dat", "uninstal.dat", true},      {"Uninstal.dat", "Uninstal.dat.dat", true},
        {"Uninstal.dat", "Uninstal.exe", false},     {"Remove", "remove.DAT", true},
        {"a.b\\Remove", "A.B\\Remove.dat", true},    {"a.b\\Remove", "a.dat", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CollidesWithUninstaller(c.name, std::strlen(c.name), c.uninstaller, std::strlen(c.uninstaller)), c.collides)
            << c.name << " beside " << c.uninstaller;
}

TEST(UninstallerNames, OnlyFilesInstalledBesideTheUninstallerCollide)
{
    auto table = [](const std::vector<Bytes>& records) {
        Bytes t;
        Put32(t, static_cast<std::uint32_t>(records.size()));
        for (const Bytes& r : records) t.insert(t.end(), r.begin(), r.end());
        return t;
    };
    Bytes uninstaller = FileRecord("Uninstal.exe", kFileIsUninstaller, 0, 50);
    struct Case {
        const char* what;
        Bytes table;
        const char* collision;  // nullptr: none
    };
    const Case cases[] = {
        {"after it", table({uninstaller, FileRecord("a.txt", 0, 1, 5), FileRecord("UNINSTAL.DAT", 0, 1, 5)}), "UNINSTAL.DAT"},
        {"before it", table({FileRecord("uninstal.exe", 0, 1, 5), uninstaller}), "uninstal.exe"},
        {"a second uninstaller", table({uninstaller, FileRecord("Uninstal.exe", kFileIsUninstaller, 0, 50)}), "Uninstal.exe"},
        {"into the Windows folder", table({uninstaller, FileRecord("Uninstal.exe", 0, 1, 5, 1)}), nullptr},
        {"not installed", table({uninstaller, FileRecord("Uninstal.exe", 0, 2, 5)}), nullptr},
        {"without data", table({uninstaller, FileRecord("Uninstal.exe", 0, 1, 0)}), nullptr},
        {"no uninstaller", table({FileRecord("Uninstal.exe", 0, 1, 5)}), nullptr},
        {"an uninstaller without data", table({FileRecord("Uninstal.exe", kFileIsUninstaller, 0, 0), FileRecord("Uninstal.exe", 0, 1, 5)}), nullptr},
    };
    for (const Case& c : cases) {
        FileEntry collision{};
        bool found = FindUninstallerCollision(c.table.data(), c.table.size(), collision);
        EXPECT_EQ(found, c.collision != nullptr) << c.what;
        if (found && c.collision) {
            EXPECT_EQ(std::string(collision.name, collision.nameLength), c.collision) << c.what;
        }
    }
}

}  // namespace
}  // namespace sw
