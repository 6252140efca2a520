#include "core/WizardChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A bitmap file as ImageMagick's BMP3 writes it: 14 + 40 bytes of headers, the colour
// table, the rows.
Bytes MakeBitmap(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colors = 0,
                 std::uint32_t compression = 0)
{
    const std::uint32_t masks = compression == 3 ? 12 : 0;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint32_t table = (bits <= 8 ? (colors ? colors : 1u << bits) : 0) * 4;
    const std::uint32_t offset = 54 + masks + table;
    Bytes b(offset + stride * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    Put32(b, 46, colors);
    return b;
}

TEST(WizardChecks, BitmapFilesOfEveryUncompressedFormatAreAccepted)
{
    struct Case {
        std::int32_t width, height;
        std::uint16_t bits;
        std::uint32_t colors, compression;
    } cases[] = {{128, 280, 24, 0, 0}, {1, 1, 1, 0, 0}, {3, 5, 4, 0, 0}, {17, 2, 8, 7, 0},
                 {5, -4, 32, 0, 0},    {6, 6, 16, 0, 3}, {6, 6, 32, 0, 3}, {16384, 1, 1, 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" + std::to_string(c.bits));
        Bytes file = MakeBitmap(c.width, c.height, c.bits, c.colors, c.compression);
        BitmapLayout layout;
        ASSERT_TRUE(CheckBitmapFile(file.data(), file.size(), layout));
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height < 0 ? -c.height : c.height);
        EXPECT_EQ(layout.topDown, c.height < 0);
        EXPECT_EQ(layout.bitCount, c.bits);
        EXPECT_EQ(layout.bitFields, c.compression == 3);
        EXPECT_EQ(layout.stride * static_cast<std::uint64_t>(layout.height) + layout.bitsOffset, file.size());
        EXPECT_LE(layout.colorsOffset + layout.colors * 4, layout.bitsOffset);
    }
    BitmapLayout layout;
    Bytes paletted = MakeBitmap(4, 4, 8);
    ASSERT_TRUE(CheckBitmapFile(paletted.data(), paletted.size(), layout));
    EXPECT_EQ(layout.colors, 256u) << "no count: the whole table";
    EXPECT_EQ(layout.colorsOffset, 54u);
    Bytes masked = MakeBitmap(4, 4, 16, 0, 3);
    ASSERT_TRUE(CheckBitmapFile(masked.data(), masked.size(), layout));
    EXPECT_EQ(layout.masksOffset, 54u);
    EXPECT_EQ(layout.colorsOffset, 66u);
}

TEST(WizardChecks, OddOrShortBitmapFilesAreRefused)
{
    const Bytes good = MakeBitmap(10, 10, 24);
    struct Case {
        const char* name;
        Bytes file;
    };
    auto with32 = [&](std::size_t at, std::uint32_t value, const Bytes& base) {
        Bytes b = base;
        Put32(b, at, value);
        return b;
    };
    auto with16 = [&](std::size_t at, std::uint32_t value) {
        Bytes b = good;
        Put16(b, at, value);
        return b;
    };
    const Case cases[] = {
        {"empty", {}},
        {"headers cut short", Bytes(good.begin(), good.begin() + 53)},
        {"pixels cut short", Bytes(good.begin(), good.end() - 1)},
        {"not BM", with16(0, 0x4142)},
        {"OS/2 core header", with32(14, 12, good)},
        {"header too large", with32(14, 125, good)},
        {"header past the end", with32(14, static_cast<std::uint32_t>(good.size()), good)},
        {"width 0", with32(18, 0, good)},
        {"negative width", with32(18, 0xFFFFFFF6u, good)},
        {"width too large", with32(18, 16385, good)},
        {"height 0", with32(22, 0, good)},
        {"height too large", with32(22, 0xFFFFBFFFu, good)},
        {"two planes", with16(26, 2)},
        {"2 bits", with16(28, 2)},
        {"RLE8", with32(30, 1, MakeBitmap(10, 10, 8))},
        {"JPEG inside", with32(30, 4, good)},
        {"bit fields with 24 bits", with32(30, 3, good)},
        {"more colours than the bits allow", with32(46, 257, MakeBitmap(10, 10, 8))},
        {"colour table past the end", with32(46, 0xFFFFFFFFu, MakeBitmap(2, 2, 8))},
        {"pixels before the table", with32(10, 54, MakeBitmap(10, 10, 8))},
        {"pixels past the end", with32(10, static_cast<std::uint32_t>(good.size()), good)},
        {"offset far past the end", with32(10, 0xFFFFFFF0u, good)},
        {"height overflowing the size", with32(22, 16384, good)},
    };
    for (const Case& c : cases) {
        BitmapLayout layout;
        layout.width = 99;
        EXPECT_FALSE(CheckBitmapFile(c.file.data(), c.file.size(), layout)) << c.name;
        EXPECT_EQ(layout.width, 0) << c.name << ": nothing is kept";
    }
    BitmapLayout layout;
    EXPECT_FALSE(CheckBitmapFile(nullptr, 100, layout));
}

TEST(WizardChecks, DirectoryRoots)
{
    EXPECT_EQ(DirectoryRootLength(L"C:\\"), 3u);
    EXPECT_EQ(DirectoryRootLength(L"d:\\Program Files"), 3u);
    EXPECT_EQ(DirectoryRootLength(L"\\\\server\\share\\dir"), 15u);
    EXPECT_EQ(DirectoryRootLength(L"\\\\server\\share"), 14u);
    for (const wchar_t* path : {L"", L"C:", L"C:dir", L"\\dir", L"dir\\sub", L"\\\\server", L"\\\\server\\", L"\\\\\\share", L"1:\\x"})
        EXPECT_EQ(DirectoryRootLength(path), 0u) << std::wstring(path).size();
}

TEST(WizardChecks, TypedDirectoriesAreMadeCanonicalAndChecked)
{
    // The wizard and the unattended installer judge a directory by this one rule, so a
    // directory that one of them takes the other takes in the same form.
    struct Case {
        const wchar_t* typed;
        const wchar_t* canonical;
        bool valid;
    } cases[] = {
        {L"  C:\\Program Files\\Acme  ", L"C:\\Program Files\\Acme", true},
        {L"C:\\Acme\\", L"C:\\Acme", true},
        {L"C:\\Acme\\\\", L"C:\\Acme", true},
        {L"C:\\", L"C:\\", true},
        {L"C:/Tools/Acme/", L"C:\\Tools\\Acme", true},
        {L"\\\\server\\share\\Acme", L"\\\\server\\share\\Acme", true},
        {L"C:\\A\\\\B", L"C:\\A\\B", true},
        {L"C:\\\\Dir", L"C:\\Dir", true},
        {L"C:\\A\\..\\B", L"C:\\B", true},
        {L"C:\\T\\x\\..\\..\\y\\.\\z", L"C:\\y\\z", true},
        {L"C:\\A\\.", L"C:\\A", true},
        {L"C:\\A\\..", L"C:\\", true},
        {L"\\\\server\\share\\A\\..", L"\\\\server\\share\\", true},
        {L"C:\\..\\Windows", L"C:\\..\\Windows", false},
        {L"C:\\A\\..\\..\\B", L"C:\\A\\..\\..\\B", false},
        {L"", L"", false},
        {L"   ", L"", false},
        {L"Acme", L"Acme", false},
        {L"..\\Acme", L"..\\Acme", false},
        {L"\\Acme", L"\\Acme", false},
        {L"C:Acme", L"C:Acme", false},
        {L"C:\\Ac*me", L"C:\\Ac*me", false},
        {L"C:\\A?", L"C:\\A?", false},
        {L"C:\\A|B", L"C:\\A|B", false},
        {L"C:\\A\"B", L"C:\\A\"B", false},
        {L"C:\\A<B>", L"C:\\A<B>", false},
        {L"C:\\A:B", L"C:\\A:B", false},
        {L"C:\\A\\...\\B", L"C:\\A\\...\\B", false},
        {L"C:\\Acme.", L"C:\\Acme.", false},
        {L"C:\\Acme \\x", L"C:\\Acme \\x", false},
        {L"C:\\A\tB", L"C:\\A\tB", false},
    };
    for (const Case& c : cases) {
        std::wstring path = c.typed;
        bool canonical = CanonicalDirectoryPath(path.data());
        path.resize(DirectoryLength(path.c_str()));
        EXPECT_EQ(path, c.canonical);
        EXPECT_EQ(canonical && IsValidDirectoryPath(path.c_str(), 260), c.valid) << path.size();
    }
    std::wstring longPath = L"C:\\" + std::wstring(256, L'a');
    EXPECT_TRUE(IsValidDirectoryPath(longPath.c_str(), 260));
    longPath += L"b";
    EXPECT_FALSE(IsValidDirectoryPath(longPath.c_str(), 260));
}

TEST(WizardChecks, ParentDirectories)
{
    auto parent = [](const wchar_t* path) {
        std::wstring p = path;
        return p.substr(0, ParentDirectoryLength(path, p.size()));
    };
    EXPECT_EQ(parent(L"C:\\Program Files\\Acme"), L"C:\\Program Files");
    EXPECT_EQ(parent(L"C:\\Acme"), L"C:\\");
    EXPECT_EQ(parent(L"C:\\"), L"");
    EXPECT_EQ(parent(L"\\\\server\\share\\Acme"), L"\\\\server\\share\\");
    EXPECT_EQ(parent(L"\\\\server\\share"), L"");
    EXPECT_EQ(parent(L"Acme\\x"), L"");
}

}  // namespace
}  // namespace sw
