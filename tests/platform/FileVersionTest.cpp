#include "platform/FileVersion.h"

#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace sw {
namespace {

using test::TempDir;

// ---- Little-endian byte building ------------------------------------------------------

struct Bytes {
    std::string data;

    Bytes& U16(std::uint32_t v)
    {
        data += static_cast<char>(v & 0xFF);
        data += static_cast<char>((v >> 8) & 0xFF);
        return *this;
    }
    Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& Raw(std::string_view bytes)
    {
        data += bytes;
        return *this;
    }
    Bytes& PadTo(std::size_t size)
    {
        if (data.size() < size) data.resize(size, '\0');
        return *this;
    }
    Bytes& Align4() { return PadTo((data.size() + 3) & ~std::size_t{3}); }
};

std::uint32_t Get32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(bytes.at(at + i))} << (8 * i);
    return v;
}

void Set32(std::string& bytes, std::size_t at, std::uint32_t v)
{
    for (std::size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Set16(std::string& bytes, std::size_t at, std::uint16_t v)
{
    bytes.at(at) = static_cast<char>(v & 0xFF);
    bytes.at(at + 1) = static_cast<char>(v >> 8);
}

std::string Utf16(std::string_view ascii)
{
    Bytes b;
    for (char c : ascii) b.U16(static_cast<unsigned char>(c));
    return b.data;
}

// ---- Version resources ----------------------------------------------------------------

// One block: wLength, wValueLength, wType, the key with its terminator, the value and the
// children, each starting on a 32-bit boundary.
std::string Block(std::string_view key, std::uint16_t type, std::uint16_t valueLength, std::string_view value,
                  const std::vector<std::string>& children = {})
{
    Bytes b;
    b.U16(0).U16(valueLength).U16(type).Raw(Utf16(key)).U16(0).Align4().Raw(value);
    for (const std::string& child : children) b.Align4().Raw(child);
    Set16(b.data, 0, static_cast<std::uint16_t>(b.data.size()));
    return b.data;
}

std::string FixedInfo(std::uint32_t signature = 0xFEEF04BD)
{
    Bytes b;
    b.U32(signature).U32(0x00010000);                // signature, structure version
    b.U32(0x00010002).U32(0x00030004);               // file version 1.2.3.4
    b.U32(0x00050006).U32(0x00070008);               // product version 5.6.7.8
    for (int i = 0; i < 7; ++i) b.U32(0);            // flags, OS, type, subtype, date
    return b.data;
}

std::string Root(std::string_view fixed, const std::vector<std::string>& children)
{
    return Block("VS_VERSION_INFO", 0, static_cast<std::uint16_t>(fixed.size()), fixed, children);
}

std::string TextString(std::string_view key, std::string_view text)
{
    std::string value = Utf16(text) + std::string(2, '\0');
    return Block(key, 1, static_cast<std::uint16_t>(text.size() + 1), value);
}

// The first string is 42 bytes long, so the blocks after it only land on a 32-bit
// boundary when the reader pads them.
std::string StringFileInfo()
{
    return Block("StringFileInfo", 1, 0, "",
                 {Block("040904E4", 1, 0, "", {TextString("FileVersion", "1.22"), TextString("ProductName", "Tool")})});
}

std::string Translations(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& entries)
{
    Bytes b;
    for (auto [language, codePage] : entries) b.U16(language).U16(codePage);
    return b.data;
}

std::string VarFileInfo(std::string_view table, std::string_view varKey = "Translation")
{
    return Block("VarFileInfo", 1, 0, "", {Block(varKey, 0, static_cast<std::uint16_t>(table.size()), table)});
}

// A complete resource: fixed information, strings, and a translation table whose first
// entry is US English with code page 1252 and whose second one must be ignored.
std::string FullVersion()
{
    return Root(FixedInfo(), {StringFileInfo(), VarFileInfo(Translations({{0x0409, 1252}, {0x0407, 1200}}))});
}

// ---- Resource sections ----------------------------------------------------------------

struct Key {
    std::uint16_t id = 0;
    std::string name;  // a named entry when not empty
};

struct Resource {
    Key type;
    Key name;
    std::uint16_t language;
    std::string data;
};

constexpr std::uint32_t kResourceRva = 0x2000;
constexpr std::size_t kResourceFileAt = 0x400;
constexpr std::size_t kVersionDataMisalign = 2;

// The resource directory tree in the order given (named entries first in each directory,
// as in real files): directories, data entries, name strings, then the data. Each data
// starts two bytes past a 32-bit boundary of the file, so that alignment counted from
// the file instead of from the resource would go wrong.
std::string ResourceSection(const std::vector<Resource>& resources)
{
    struct NameNode {
        Key key;
        std::vector<std::size_t> items;
        std::size_t dirAt = 0, stringAt = 0;
    };
    struct TypeNode {
        Key key;
        std::vector<NameNode> names;
        std::size_t dirAt = 0, stringAt = 0;
    };
    const auto same = [](const Key& a, const Key& b) { return a.id == b.id && a.name == b.name; };
    std::vector<TypeNode> types;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        auto type = std::find_if(types.begin(), types.end(), [&](const TypeNode& t) { return same(t.key, resources[i].type); });
        if (type == types.end()) type = types.insert(types.end(), TypeNode{resources[i].type, {}});
        auto name = std::find_if(type->names.begin(), type->names.end(),
                                 [&](const NameNode& n) { return same(n.key, resources[i].name); });
        if (name == type->names.end()) name = type->names.insert(type->names.end(), NameNode{resources[i].name, {}});
        name->items.push_back(i);
    }
    const auto namedFirst = [](auto& nodes) {
        std::stable_partition(nodes.begin(), nodes.end(), [](const auto& n) { return !n.key.name.empty(); });
    };
    namedFirst(types);
    for (TypeNode& t : types) namedFirst(t.names);

    // Offsets of everything first, then the bytes.
    std::size_t at = 16 + 8 * types.size();
    for (TypeNode& t : types) {
        t.dirAt = at;
        at += 16 + 8 * t.names.size();
    }
    for (TypeNode& t : types)
        for (NameNode& n : t.names) {
            n.dirAt = at;
            at += 16 + 8 * n.items.size();
        }
    const std::size_t dataEntriesAt = at;
    at += 16 * resources.size();
    const auto placeString = [&](const Key& key, std::size_t& stringAt) {
        stringAt = at;
        if (!key.name.empty()) at += 2 + 2 * key.name.size();
    };
    for (TypeNode& t : types) {
        placeString(t.key, t.stringAt);
        for (NameNode& n : t.names) placeString(n.key, n.stringAt);
    }
    std::vector<std::size_t> dataAt(resources.size());
    for (std::size_t i = 0; i < resources.size(); ++i) {
        at = ((at + 3) & ~std::size_t{3}) + kVersionDataMisalign;
        dataAt[i] = at;
        at += resources[i].data.size();
    }

    Bytes b;
    const auto entry = [&](const Key& key, std::size_t stringAt, std::uint32_t target) {
        b.U32(key.name.empty() ? std::uint32_t{key.id} : 0x80000000 | static_cast<std::uint32_t>(stringAt)).U32(target);
    };
    const auto directory = [&](const auto& nodes) {
        const auto named = static_cast<std::uint32_t>(
            std::count_if(nodes.begin(), nodes.end(), [](const auto& n) { return !n.key.name.empty(); }));
        b.U32(0).U32(0).U16(4).U16(0).U16(named).U16(static_cast<std::uint32_t>(nodes.size()) - named);
        for (const auto& n : nodes) entry(n.key, n.stringAt, 0x80000000 | static_cast<std::uint32_t>(n.dirAt));
    };
    directory(types);
    for (const TypeNode& t : types) directory(t.names);
    for (const TypeNode& t : types)
        for (const NameNode& n : t.names) {
            b.U32(0).U32(0).U16(4).U16(0).U16(0).U16(static_cast<std::uint32_t>(n.items.size()));
            for (std::size_t item : n.items)
                b.U32(resources[item].language).U32(static_cast<std::uint32_t>(dataEntriesAt + 16 * item));
        }
    for (std::size_t i = 0; i < resources.size(); ++i)
        b.U32(kResourceRva + static_cast<std::uint32_t>(dataAt[i]))
            .U32(static_cast<std::uint32_t>(resources[i].data.size()))
            .U32(0)
            .U32(0);
    for (const TypeNode& t : types) {
        if (!t.key.name.empty()) b.U16(static_cast<std::uint32_t>(t.key.name.size())).Raw(Utf16(t.key.name));
        for (const NameNode& n : t.names)
            if (!n.key.name.empty()) b.U16(static_cast<std::uint32_t>(n.key.name.size())).Raw(Utf16(n.key.name));
    }
    for (std::size_t i = 0; i < resources.size(); ++i) b.PadTo(dataAt[i]).Raw(resources[i].data);
    return b.data;
}

// ---- Images ---------------------------------------------------------------------------

// DOS header, "PE\0\0" at 0x80, the COFF header, the optional header (zeros but for the
// magic and the data directories), a code section and, when there are resources, a
// resource section whose raw data starts at 0x400.
constexpr std::size_t kPeAt = 0x80;
constexpr std::size_t kSectionCountAt = kPeAt + 6;
constexpr std::size_t kOptionalSizeAt = kPeAt + 20;
constexpr std::size_t kOptionalAt = kPeAt + 24;

std::size_t DirectoriesAt(bool pe64) { return kOptionalAt + (pe64 ? 112 : 96); }
std::size_t ResourceDirectoryAt(bool pe64) { return DirectoriesAt(pe64) + 16; }
std::size_t RsrcSectionHeaderAt(bool pe64) { return DirectoriesAt(pe64) + 128 + 40; }

std::string Image(bool pe64, const std::string& resources)
{
    Bytes b;
    b.Raw("MZ").PadTo(0x3C).U32(kPeAt).PadTo(kPeAt);
    const bool hasResources = !resources.empty();
    b.Raw(std::string_view("PE\0\0", 4)).U16(pe64 ? 0x8664 : 0x14C).U16(hasResources ? 2 : 1).U32(0).U32(0).U32(0);
    b.U16(pe64 ? 240 : 224).U16(0x2102);
    b.U16(pe64 ? 0x20B : 0x10B).PadTo(DirectoriesAt(pe64) - 4).U32(16);
    for (std::uint32_t i = 0; i < 16; ++i) {
        if (i == 2 && hasResources) b.U32(kResourceRva).U32(static_cast<std::uint32_t>(resources.size()));
        else b.U32(0).U32(0);
    }
    b.Raw(".text").PadTo(b.data.size() + 3).U32(0x200).U32(0x1000).U32(0x200).U32(0x200).PadTo(b.data.size() + 16);
    const std::uint32_t rawSize = (static_cast<std::uint32_t>(resources.size()) + 0x1FF) & ~0x1FFu;
    if (hasResources)
        b.Raw(".rsrc").PadTo(b.data.size() + 3).U32(static_cast<std::uint32_t>(resources.size())).U32(kResourceRva)
            .U32(rawSize).U32(kResourceFileAt).PadTo(b.data.size() + 16);
    b.PadTo(0x200).Raw("\xC3").PadTo(kResourceFileAt);
    if (hasResources) b.Raw(resources).PadTo(kResourceFileAt + rawSize);
    return b.data;
}

std::string VersionImage(bool pe64, const std::string& version)
{
    return Image(pe64, ResourceSection({{{16, ""}, {1, ""}, 0x0409, version}}));
}

// Where the version data of VersionImage lies in the file: after the three directories
// of one entry each (24 bytes each) and the data entry (16 bytes), on the next 32-bit
// boundary plus the misalignment.
constexpr std::size_t kVersionDataAt = kResourceFileAt + 3 * 24 + 16 + kVersionDataMisalign;

void ExpectFullVersion(const FileVersionInfo& info)
{
    EXPECT_TRUE(info.hasVersion);
    EXPECT_EQ(info.fileVersionMS, 0x00010002u);
    EXPECT_EQ(info.fileVersionLS, 0x00030004u);
    EXPECT_EQ(info.productVersionMS, 0x00050006u);
    EXPECT_EQ(info.productVersionLS, 0x00070008u);
    EXPECT_TRUE(info.hasLanguage);
    EXPECT_EQ(info.language, 0x0409);
}

void ExpectNothing(const FileVersionInfo& info)
{
    EXPECT_FALSE(info.hasVersion);
    EXPECT_FALSE(info.hasLanguage);
    EXPECT_EQ(info.fileVersionMS | info.fileVersionLS | info.productVersionMS | info.productVersionLS, 0u);
    EXPECT_EQ(info.language, 0);
}

// ---- Tests ----------------------------------------------------------------------------

TEST(FileVersion, ReadsVersionAndFirstLanguageOfPe32AndPe32Plus)
{
    for (bool pe64 : {false, true}) {
        SCOPED_TRACE(pe64 ? "PE32+" : "PE32");
        const std::string image = VersionImage(pe64, FullVersion());
        ASSERT_EQ(Get32(image, kVersionDataAt), Get32(FullVersion(), 0)) << "the version data lies where the tests expect it";
        ExpectFullVersion(ParseFileVersion(image));

        TempDir dir;
        ExpectFullVersion(ReadFileVersion(dir.Write("tool.exe", image)));
    }
}

TEST(FileVersion, TakesTheFirstNameAndLanguageAndSkipsNamedTypes)
{
    std::string otherVersion = Root(FixedInfo(), {VarFileInfo(Translations({{0x0407, 1252}}))});
    Set32(otherVersion, 40 + 8, 0x00090009);  // a different file version
    const std::vector<Resource> resources = {
        {{3, ""}, {1, ""}, 0x0409, "icon"},
        {{0, "MUI"}, {1, ""}, 0x0409, "mui data"},   // a named type before the numbered ones
        {{16, ""}, {0, "APPVERSION"}, 0x0409, FullVersion()},  // named entries come first
        {{16, ""}, {0, "APPVERSION"}, 0x0407, otherVersion},   // a second language
        {{16, ""}, {1, ""}, 0x0409, otherVersion},             // a second version resource
        {{24, ""}, {1, ""}, 0x0409, "<assembly/>"},
    };
    for (bool pe64 : {false, true}) ExpectFullVersion(ParseFileVersion(Image(pe64, ResourceSection(resources))));
}

TEST(FileVersion, ImagesWithoutVersionResourceGiveNothing)
{
    for (bool pe64 : {false, true}) {
        ExpectNothing(ParseFileVersion(Image(pe64, "")));
        ExpectNothing(ParseFileVersion(Image(pe64, ResourceSection({{{3, ""}, {1, ""}, 0x0409, "icon"},
                                                                    {{0, "TYPE16"}, {16, ""}, 0x0409, FullVersion()},
                                                                    {{24, ""}, {16, ""}, 0x0409, FullVersion()}}))));
    }
}

TEST(FileVersion, VersionResourceContents)
{
    const std::string fixed = FixedInfo();
    const std::string table = Translations({{0x0409, 1252}, {0x0407, 1200}});
    std::string noTerminator = Root(fixed, {});
    Set16(noTerminator, 0, 8);  // the block ends after the key's first character
    struct Case {
        const char* what;
        std::string version;
        bool hasVersion;
        bool hasLanguage;
    };
    const Case cases[] = {
        {"complete", FullVersion(), true, true},
        {"no VarFileInfo", Root(fixed, {StringFileInfo()}), true, false},
        {"no children", Root(fixed, {}), true, false},
        {"no fixed information", Root("", {StringFileInfo(), VarFileInfo(table)}), false, true},
        {"VarFileInfo before StringFileInfo", Root(fixed, {VarFileInfo(table), StringFileInfo()}), true, true},
        {"a Translation outside VarFileInfo",
         Root(fixed, {Block("StringFileInfo", 1, 0, "", {Block("Translation", 0, 4, Translations({{0x0407, 1252}}))}),
                      VarFileInfo(table)}),
         true, true},
        {"keys in other case", Block("vs_version_info", 0, 52, fixed, {VarFileInfo(table, "TRANSLATION")}), true, true},
        {"a text value before the variables",
         Root(fixed, {Block("VarFileInfo", 1, 3, Utf16("ab") + std::string(2, '\0'),
                           {Block("Translation", 0, 4, table.substr(0, 4))})}), true, true},
        {"another variable before the table",
         Root(fixed, {Block("VarFileInfo", 1, 0, "", {Block("Other", 0, 4, "abcd"), Block("Translation", 0, 4, table)})}),
         true, true},
        {"empty translation table", Root(fixed, {VarFileInfo("")}), true, false},
        {"translation table of 2 bytes", Root(fixed, {VarFileInfo(table.substr(0, 2))}), true, false},
        {"only another variable", Root(fixed, {VarFileInfo(table, "Translations")}), true, false},
        {"wrong signature", Root(FixedInfo(0xFEEF04BE), {VarFileInfo(table)}), false, true},
        {"fixed information too short", Block("VS_VERSION_INFO", 0, 51, fixed.substr(0, 51), {VarFileInfo(table)}), false,
         true},
        {"fixed information past the block", Root(fixed, {}).substr(0, 40), false, false},
        {"wrong root key", Block("VS_VERSION_INFX", 0, 52, fixed, {VarFileInfo(table)}), false, false},
        {"root key without terminator", noTerminator, false, false},
        {"root shorter than its header", std::string("\x04\0\0\0\0\0\0\0", 8), false, false},
        {"empty", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FileVersionInfo info = ParseFileVersion(VersionImage(false, c.version));
        EXPECT_EQ(info.hasVersion, c.hasVersion);
        EXPECT_EQ(info.hasLanguage, c.hasLanguage);
        if (c.hasVersion) {
            EXPECT_EQ(info.fileVersionLS, 0x00030004u);
        }
        if (c.hasLanguage) {
            EXPECT_EQ(info.language, 0x0409);
        }
    }
}

TEST(FileVersion, BrokenChildBlocksEndTheWalk)
{
    const std::string table = Translations({{0x0409, 1252}});
    // A child claiming a length below its header: the walk stops before the table.
    std::string version = Root(FixedInfo(), {Block("Bad", 0, 0, ""), VarFileInfo(table)});
    Set16(version, 92, 4);
    EXPECT_FALSE(ParseFileVersion(VersionImage(false, version)).hasLanguage);
    // The table claims more bytes than its block holds. Its block is the last 36 bytes:
    // header, "Translation" with terminator, padding, one entry.
    version = Root(FixedInfo(), {VarFileInfo(table)});
    Set16(version, version.size() - 36 + 2, 8);
    ASSERT_EQ(Get32(version, version.size() - 4), Get32(table, 0));
    const FileVersionInfo info = ParseFileVersion(VersionImage(false, version));
    EXPECT_TRUE(info.hasVersion);
    EXPECT_FALSE(info.hasLanguage);
}

// Field positions in VersionImage(false, ...): the resource section at 0x400 holds the
// root directory (entry at +16), the type directory at +24 (entry at +40), the name
// directory at +48 (entry at +64) and the data entry at +72.
constexpr std::size_t kRootDirAt = kResourceFileAt;
constexpr std::size_t kTypeDirAt = kResourceFileAt + 24;
constexpr std::size_t kNameDirAt = kResourceFileAt + 48;
constexpr std::size_t kDataEntryAt = kResourceFileAt + 72;

TEST(FileVersion, RejectsBrokenHeadersAndDirectories)
{
    const std::string valid = VersionImage(false, FullVersion());
    const std::size_t sectionAt = RsrcSectionHeaderAt(false);
    const std::uint32_t sectionSize = Get32(valid, sectionAt + 8);
    const auto dataRva = static_cast<std::uint32_t>(kResourceRva + kVersionDataAt - kResourceFileAt);
    struct Patch {
        std::size_t at;
        std::uint32_t expected;  // what the valid image holds there, to keep the table honest
        std::uint32_t value;
    };
    struct Case {
        const char* what;
        std::vector<Patch> patches;
        std::size_t cutTo = std::string::npos;
    };
    const Case cases[] = {
        {"shorter than a DOS header", {}, 63},
        {"no MZ", {{0, 0x5A4D, 0x5A4E}}},
        {"PE header past the end", {{0x3C, kPeAt, 0xFFFFFFF0}}},
        {"no PE signature", {{kPeAt, 0x4550, 0x4551}}},
        {"cut before the magic", {}, kOptionalAt + 1},
        {"unknown magic", {{kOptionalAt, 0x10B, 0x107}}},
        {"optional header too small for the resource entry", {{kOptionalSizeAt, 224 | (0x2102u << 16), 119 | (0x2102u << 16)}}},
        {"cut inside the optional header", {}, kOptionalAt + 100},
        {"two data directories", {{DirectoriesAt(false) - 4, 16, 2}}},
        {"no resource directory", {{ResourceDirectoryAt(false), kResourceRva, 0}}},
        {"resource RVA in no section", {{ResourceDirectoryAt(false), kResourceRva, 0x9000}}},
        {"resource RVA in no section of many",
         {{ResourceDirectoryAt(false), kResourceRva, 0x9000}, {kSectionCountAt, 2 | (0u << 16), 0xFFFF}}},
        {"resource RVA in the zero-filled tail",
         {{sectionAt + 8, sectionSize, 0x10000}, {ResourceDirectoryAt(false), kResourceRva, kResourceRva + 0x8000}}},
        {"RVAs past the raw data of their section",  // the same file bytes once the raw data ends
         {{sectionAt + 8, sectionSize, 0x10000},
          {sectionAt + 16, 0x200, 0x10},
          {sectionAt + 20, kResourceFileAt, kResourceFileAt - 0x100},
          {ResourceDirectoryAt(false), kResourceRva, kResourceRva + 0x100},
          {kDataEntryAt, dataRva, dataRva + 0x100}}},
        {"section data past the end of the file", {{sectionAt + 20, kResourceFileAt, 0x100000}}},
        {"directory header cut by the section end", {{ResourceDirectoryAt(false), kResourceRva, kResourceRva + sectionSize - 8}}},
        {"countless type entries, none of them a version", {{kRootDirAt + 16, 16, 3}, {kRootDirAt + 12, 1u << 16, 0xFFFFu << 16}}},
        {"version type as a named entry", {{kRootDirAt + 16, 16, 0x80000010}}},
        {"version type pointing at data", {{kRootDirAt + 20, 0x80000018, 0x18}}},
        {"no names", {{kTypeDirAt + 12, 1u << 16, 0}}},
        {"name pointing at data", {{kTypeDirAt + 20, 0x80000030, 0x30}}},
        {"name directory past the section", {{kTypeDirAt + 20, 0x80000030, 0xFFFFFFFF}}},
        {"no languages", {{kNameDirAt + 12, 1u << 16, 0}}},
        {"language pointing at a directory", {{kNameDirAt + 20, 0x48, 0x80000048}}},
        {"data entry past the section", {{kNameDirAt + 20, 0x48, 0x7FFFFFFF}}},
        {"data RVA in no section", {{kDataEntryAt, dataRva, 0x50000}}},
        {"data of no bytes", {{kDataEntryAt + 4, static_cast<std::uint32_t>(FullVersion().size()), 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string image = valid;
        for (const Patch& p : c.patches) {
            ASSERT_EQ(Get32(image, p.at), p.expected);
            Set32(image, p.at, p.value);
        }
        if (c.cutTo != std::string::npos) image.resize(c.cutTo);
        ExpectNothing(ParseFileVersion(image));
    }

    // The same image reads again once the section claims no virtual size: then its raw
    // size is its extent.
    std::string image = valid;
    Set32(image, sectionAt + 8, 0);
    ExpectFullVersion(ParseFileVersion(image));

    // An optional header declared with two data directories, though its count says 16:
    // what lies where the resource entry would be is the section table, here made to
    // look like a resource entry, and must not be taken as one.
    image = valid;
    const std::size_t shortTableAt = kOptionalAt + 96 + 16;
    std::string rsrcHeader = valid.substr(sectionAt, 40);
    Set32(rsrcHeader, 0, kResourceRva);
    Set32(rsrcHeader, 4, sectionSize);
    const std::string table = rsrcHeader + valid.substr(sectionAt - 40, 40);
    image.replace(shortTableAt, 0x200 - shortTableAt, table + std::string(0x200 - shortTableAt - table.size(), '\0'));
    Set16(image, kOptionalSizeAt, 96 + 16);
    ExpectNothing(ParseFileVersion(image));
}

TEST(FileVersion, EveryTruncationGivesWhatIsCompleteBeforeTheCut)
{
    const std::string version = FullVersion();
    for (bool pe64 : {false, true}) {
        SCOPED_TRACE(pe64 ? "PE32+" : "PE32");
        const std::string image = VersionImage(pe64, version);
        const std::size_t fixedEnd = kVersionDataAt + 40 + 52;
        const std::size_t tableEnd = kVersionDataAt + version.size();  // the table is the last thing
        for (std::size_t cut = 0; cut <= image.size(); ++cut) {
            const FileVersionInfo info = ParseFileVersion(std::string_view(image).substr(0, cut));
            ASSERT_EQ(info.hasVersion, cut >= fixedEnd) << "cut at " << cut;
            ASSERT_EQ(info.hasLanguage, cut >= tableEnd) << "cut at " << cut;
        }
        // A file cut the same way reads the same through the file reader.
        TempDir dir;
        EXPECT_FALSE(ReadFileVersion(dir.Write("cut.exe", image.substr(0, fixedEnd - 1))).hasVersion);
        EXPECT_TRUE(ReadFileVersion(dir.Write("cut2.exe", image.substr(0, fixedEnd))).hasVersion);
    }
}

TEST(FileVersion, GarbageNeverCrashes)
{
    // Every byte of a valid image inverted in turn, and pseudo-random bytes behind a DOS
    // signature: anything may come out but a crash or a read outside the image (the
    // fuzzing build runs the same under the address sanitizer).
    const std::string valid = VersionImage(true, FullVersion());
    for (std::size_t i = 0; i < valid.size(); ++i) {
        std::string image = valid;
        image[i] = static_cast<char>(~image[i]);
        ParseFileVersion(image);
    }
    std::uint32_t state = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string image = "MZ";
        for (int i = 0; i < 600; ++i) {
            state = state * 1103515245 + 12345;
            image += static_cast<char>(state >> 24);
        }
        Set32(image, 0x3C, 0x40);  // keep a PE header in reach
        ParseFileVersion(image);
    }
}

TEST(FileVersion, FilesThatCannotBeReadGiveNothing)
{
    TempDir dir;
    ExpectNothing(ReadFileVersion(dir / "missing.exe"));
    ExpectNothing(ReadFileVersion(dir.Path()));
    ExpectNothing(ReadFileVersion(dir.Write("empty.exe", "")));
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    ExpectNothing(ReadFileVersion(dir / "pipe"));  // returns at once: no writer is awaited
}

}  // namespace
}  // namespace sw
