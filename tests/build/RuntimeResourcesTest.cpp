#include "build/RuntimeResources.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/ImageMarkers.h"
#include "core/StreamDecoder.h"
#include "core/StreamFormat.h"
#include "installer/wizard/DialogIds.h"

namespace sw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The helpers are constexpr because the runtimes may evaluate them at compile time.
constexpr std::uint8_t kTwoSizeMarkers[] = {0x00, 0x77, 0x77, 0x77, 0x67, 0x54, 0x29, 0x48,
                                            0x77, 0x77, 0x67, 0x54, 0x29, 0x48};
static_assert(FindMarker(kTwoSizeMarkers, sizeof kTwoSizeMarkers, kSizeMarkerId) == 2);
static_assert(ReadSeed(kTwoSizeMarkers, sizeof kTwoSizeMarkers) == kDefaultSeed);
static_assert(kSeedMarkerId != kSizeMarkerId && kRuntimeSeed != kDefaultSeed);

Bytes Resource(int id)
{
    std::span<const std::uint8_t> bytes = FindRuntimeResource(id);
    return Bytes(bytes.begin(), bytes.end());
}

void Append16(Bytes& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Append32(Bytes& bytes, std::uint32_t value)
{
    Append16(bytes, value & 0xFFFF);
    Append16(bytes, value >> 16);
}

Bytes MarkerHead(std::uint32_t id)
{
    Bytes bytes;
    Append16(bytes, kMarkerTag);
    Append32(bytes, id);
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::uint32_t Load32(const Bytes& bytes, std::size_t offset)
{
    return marker_detail::Load32(bytes.data() + offset);
}

TEST(RuntimeResources, CarriesTheRuntimeSetsAndNothingElse)
{
    for (int id : {RES_INSTALLER, RES_DIALOGS, RES_DIALOGS_BITMAP, RES_UNINSTALLER, RES_INSTALLER_64, RES_DIALOGS_64,
                   RES_DIALOGS_BITMAP_64, RES_UNINSTALLER_64})
        EXPECT_FALSE(FindRuntimeResource(id).empty()) << id;
    for (int id : {0, 499, 501, 504, 505, 506, 508, 601, 604, 605, 606, -500})
        EXPECT_TRUE(FindRuntimeResource(id).empty()) << id;
}

struct ImageCase {
    int id;
    bool hasSeed;
};

const ImageCase kImages[] = {
    {RES_INSTALLER, true}, {RES_UNINSTALLER, false}, {RES_INSTALLER_64, true}, {RES_UNINSTALLER_64, false}};

TEST(RuntimeImages, CarryAnEmptySizeMarkerAndTheInstallersTheirSeed)
{
    for (const ImageCase& c : kImages) {
        SCOPED_TRACE(c.id);
        Bytes image = Resource(c.id);
        ASSERT_GE(image.size(), 2u);
        EXPECT_EQ(image[0], 'M');
        EXPECT_EQ(image[1], 'Z');
        std::size_t marker = FindMarker(image.data(), image.size(), kSizeMarkerId);
        ASSERT_NE(marker, kMarkerNotFound);
        ASSERT_LE(marker + kSizeMarkerBytes, image.size());
        EXPECT_EQ(Bytes(image.begin() + static_cast<long>(marker + 6), image.begin() + static_cast<long>(marker + kSizeMarkerBytes)),
                  Bytes(12, 0));
        EXPECT_EQ(FindMarker(image.data(), image.size(), kSeedMarkerId) != kMarkerNotFound, c.hasSeed);
        EXPECT_EQ(ReadSeed(image.data(), image.size()), c.hasSeed ? kRuntimeSeed : kDefaultSeed);
    }
}

TEST(RuntimeImages, SetImageSizeWritesTheLengthIntoTheSizeSlotOnly)
{
    for (const ImageCase& c : kImages) {
        SCOPED_TRACE(c.id);
        Bytes stored = Resource(c.id);
        Bytes image = stored;
        ASSERT_TRUE(SetImageSize(image.data(), image.size()));
        std::size_t slot = FindMarker(image.data(), image.size(), kSizeMarkerId) + kSizeSlotOffset;
        EXPECT_EQ(Load32(image, slot), image.size());
        for (std::size_t i = 0; i < 4; ++i) image[slot + i] = 0;
        EXPECT_EQ(image, stored);
    }
}

TEST(ImageMarkers, SetImageSizeRefusesImagesWithoutARoomySizeMarker)
{
    const Bytes cases[] = {
        {},
        Bytes(40, 0x77),
        Concat({Bytes(8, 0), MarkerHead(kSeedMarkerId), Bytes(12, 0)}),
        Concat({Bytes(8, 0), MarkerHead(kSizeMarkerId), Bytes(3, 0)}),  // the slot runs past the end
    };
    for (const Bytes& stored : cases) {
        Bytes image = stored;
        EXPECT_FALSE(SetImageSize(image.data(), image.size())) << image.size();
        EXPECT_EQ(image, stored);
    }
    Bytes exact = Concat({Bytes(3, 0xAA), MarkerHead(kSizeMarkerId), Bytes(4, 0)});
    ASSERT_TRUE(SetImageSize(exact.data(), exact.size()));
    EXPECT_EQ(Load32(exact, 9), exact.size());
}

TEST(ImageMarkers, ReadSeedUnmasksTheFirstSeedMarkerOrFallsBackToTheDefault)
{
    auto masked = [](std::uint32_t seed) {
        Bytes bytes;
        Append32(bytes, seed ^ kSeedMask);
        return bytes;
    };
    struct Case {
        const char* name;
        Bytes image;
        std::uint32_t seed;
    };
    const Case cases[] = {
        {"none", Bytes(64, 0), kDefaultSeed},
        {"size marker only", Concat({MarkerHead(kSizeMarkerId), Bytes(12, 0)}), kDefaultSeed},
        {"complete", Concat({Bytes(5, 1), MarkerHead(kSeedMarkerId), masked(0x12345678)}), 0x12345678},
        {"at the very end", Concat({MarkerHead(kSeedMarkerId), masked(0xCAFEF00D)}), 0xCAFEF00D},
        {"seed cut short", Concat({Bytes(5, 1), MarkerHead(kSeedMarkerId), Bytes(3, 0)}), kDefaultSeed},
        {"first of two", Concat({MarkerHead(kSeedMarkerId), masked(7), MarkerHead(kSeedMarkerId), masked(9)}), 7},
        {"masked zero", Concat({MarkerHead(kSeedMarkerId), masked(0)}), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadSeed(c.image.data(), c.image.size()), c.seed) << c.name;
}

TEST(ImageMarkers, FindMarkerReturnsTheFirstWholeMarker)
{
    Bytes head = MarkerHead(kSizeMarkerId);
    Bytes straddling(head.begin(), head.end() - 1);
    struct Case {
        const char* name;
        Bytes image;
        std::size_t offset;
    };
    const Case cases[] = {
        {"empty", {}, kMarkerNotFound},
        {"at the start", head, 0},
        {"first of two", Concat({Bytes(3, 0), head, Bytes(5, 0), head}), 3},
        {"at an odd offset after a stray tag byte", Concat({Bytes(1, 0x77), head}), 1},
        {"other identifier", Concat({MarkerHead(kSeedMarkerId), Bytes(4, 0)}), kMarkerNotFound},
        {"identifier without tag", Concat({Bytes(2, 0), Bytes(head.begin() + 2, head.end())}), kMarkerNotFound},
        {"straddling the end", Concat({Bytes(10, 0), straddling}), kMarkerNotFound},
        {"a whole one after a broken one", Concat({straddling, head}), 5},
        {"ending at the end", Concat({Bytes(10, 0), head}), 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindMarker(c.image.data(), c.image.size(), kSizeMarkerId), c.offset) << c.name;
}

// ---- the Win32 resources of the runtime images ---------------------------------------------

// Little-endian reads that fail the test instead of reading past the image.
class ImageReader {
public:
    explicit ImageReader(const Bytes& image) : m_image(image) {}

    std::uint32_t U16(std::size_t at) const
    {
        Need(at, 2);
        return marker_detail::Load16(m_image.data() + at);
    }
    std::uint32_t U32(std::size_t at) const
    {
        Need(at, 4);
        return marker_detail::Load32(m_image.data() + at);
    }
    Bytes Slice(std::size_t at, std::size_t size) const
    {
        Need(at, size);
        return Bytes(m_image.begin() + static_cast<long>(at), m_image.begin() + static_cast<long>(at + size));
    }

private:
    void Need(std::size_t at, std::size_t size) const
    {
        if (at > m_image.size() || size > m_image.size() - at) throw std::out_of_range("read past the image");
    }
    const Bytes& m_image;
};

constexpr std::uint32_t RT_ICON = 3, RT_GROUP_ICON = 14, RT_VERSION = 16, RT_MANIFEST = 24;

// The numbered resources of a PE image (type, id) with the data of their first language.
std::map<std::pair<std::uint32_t, std::uint32_t>, Bytes> ReadResources(const Bytes& image)
{
    ImageReader in(image);
    const std::size_t pe = in.U32(0x3C);
    if (in.U32(pe) != 0x4550) throw std::runtime_error("no PE signature");
    const std::size_t sections = in.U16(pe + 6), optional = pe + 24, optionalSize = in.U16(pe + 20);
    const std::uint32_t magic = in.U16(optional);
    if (magic != 0x10B && magic != 0x20B) throw std::runtime_error("unknown optional header");
    const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    const std::uint32_t resourceRva = in.U32(directories + 2 * 8);
    auto offsetOf = [&](std::uint32_t rva) -> std::size_t {
        for (std::size_t i = 0; i < sections; ++i) {
            const std::size_t header = optional + optionalSize + i * 40;
            const std::uint32_t address = in.U32(header + 12), size = std::max(in.U32(header + 8), in.U32(header + 16));
            if (rva >= address && rva - address < size) return in.U32(header + 20) + (rva - address);
        }
        throw std::runtime_error("an address outside every section");
    };
    const std::size_t root = offsetOf(resourceRva);
    // The entries of a directory: (id, offset of the entry's target from the root); named
    // entries are skipped.
    auto entries = [&](std::size_t directory) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> list;
        const std::size_t named = in.U16(directory + 12), numbered = in.U16(directory + 14);
        for (std::size_t i = named; i < named + numbered; ++i)
            list.emplace_back(in.U32(directory + 16 + i * 8), in.U32(directory + 20 + i * 8));
        return list;
    };
    constexpr std::uint32_t kSubdirectory = 0x80000000;
    std::map<std::pair<std::uint32_t, std::uint32_t>, Bytes> resources;
    for (auto [type, types] : entries(root)) {
        if (!(types & kSubdirectory)) throw std::runtime_error("a type without a directory");
        for (auto [id, ids] : entries(root + (types & ~kSubdirectory))) {
            if (!(ids & kSubdirectory)) throw std::runtime_error("an id without a directory");
            auto languages = entries(root + (ids & ~kSubdirectory));
            if (languages.empty() || (languages[0].second & kSubdirectory)) throw std::runtime_error("no data");
            const std::size_t data = root + languages[0].second;
            resources[{type, id}] = in.Slice(offsetOf(in.U32(data)), in.U32(data + 4));
        }
    }
    return resources;
}

std::string Ascii(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// A VS_VERSIONINFO tree flattened: "StringFileInfo/040904B0/FileDescription" -> its text;
// binary values as their bytes in hex (the fixed file information under "", the
// translation under "VarFileInfo/Translation").
void ReadVersionNode(const Bytes& data, std::size_t at, const std::string& parent, std::map<std::string, std::string>& out)
{
    ImageReader in(data);
    const std::size_t length = in.U16(at), valueLength = in.U16(at + 2), end = at + length;
    const bool isText = in.U16(at + 4) == 1;
    std::size_t pos = at + 6;
    std::u16string key;
    for (std::uint32_t c = in.U16(pos); c != 0; c = in.U16(pos)) {
        key += static_cast<char16_t>(c);
        pos += 2;
    }
    pos = (pos + 2 + 3) / 4 * 4;
    const std::string path = parent.empty() && key == u"VS_VERSION_INFO" ? "" : (parent.empty() ? "" : parent + "/") + Ascii(key);
    std::string value;
    if (isText) {
        for (std::size_t i = 0; i < valueLength; ++i)
            if (std::uint32_t c = in.U16(pos + 2 * i)) value += static_cast<char>(c < 0x80 ? c : '?');
        pos += 2 * valueLength;
    } else {
        static const char kHex[] = "0123456789abcdef";
        for (std::uint8_t byte : in.Slice(pos, valueLength)) {
            value += kHex[byte >> 4];
            value += kHex[byte & 15];
        }
        pos += valueLength;
    }
    if (valueLength > 0 || path.empty()) out[path] = value;
    for (pos = (pos + 3) / 4 * 4; pos + 6 <= end; pos = (pos + in.U16(pos) + 3) / 4 * 4) {
        if (in.U16(pos) == 0) throw std::runtime_error("an empty version block");
        ReadVersionNode(data, pos, path, out);
    }
}

struct RuntimeCase {
    int id;
    const char* description;
    const char* fileName;
};

const RuntimeCase kRuntimes[] = {
    {RES_INSTALLER, "Setwright installer", "setwright-installer-32.exe"},
    {RES_UNINSTALLER, "Setwright uninstaller", "setwright-uninstaller-32.exe"},
    {RES_INSTALLER_64, "Setwright installer", "setwright-installer-64.exe"},
    {RES_UNINSTALLER_64, "Setwright uninstaller", "setwright-uninstaller-64.exe"},
};

// The resources of a built runtime image; nullopt (the test is skipped) for a stand-in,
// which a tree without the cross-compiler embeds.
std::optional<std::map<std::pair<std::uint32_t, std::uint32_t>, Bytes>> BuiltResources(int id)
{
    Bytes image = Resource(id);
    if (image.size() <= 256) return std::nullopt;
    return ReadResources(image);
}

TEST(RuntimeImages, CarryTheManifestThatElevatesAnAdministratorAndDeclaresDpiAndSystems)
{
    for (const RuntimeCase& c : kRuntimes) {
        SCOPED_TRACE(c.fileName);
        auto resources = BuiltResources(c.id);
        if (!resources) GTEST_SKIP() << "stand-in runtimes";
        auto found = resources->find({RT_MANIFEST, 1});
        ASSERT_NE(found, resources->end()) << "no manifest under id 1";
        const std::string manifest(found->second.begin(), found->second.end());
        auto has = [&](const std::string& text) { return manifest.find(text) != std::string::npos; };
        EXPECT_TRUE(has("<requestedExecutionLevel level=\"highestAvailable\" uiAccess=\"false\"/>"));
        EXPECT_TRUE(has(">true</dpiAware>"));
        for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                               "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                               "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
            EXPECT_TRUE(has(std::string("<supportedOS Id=\"{") + os + "}\"/>")) << os;
        EXPECT_TRUE(has("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    }
}

// ---- the PNG frames of the icon ----
// The frames' image data is a zlib stream: zlib (the peer library the benchmarks and the
// icon generator use) reads it back.
Bytes Inflate(const Bytes& zlibStream, std::size_t expected)
{
    Bytes out(expected + 1);
    uLongf length = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &length, zlibStream.data(), static_cast<uLong>(zlibStream.size())) != Z_OK)
        throw std::runtime_error("damaged image data");
    out.resize(length);
    return out;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size)
{
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

std::uint32_t LoadBig32(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes.at(at)) << 24 | bytes.at(at + 1) << 16 | bytes.at(at + 2) << 8 | bytes.at(at + 3);
}

struct Frame {
    std::uint32_t width = 0, height = 0;
    Bytes rgba;  // top row first
};

// A PNG icon frame as an icon loader reads it: 8-bit RGBA, not interlaced, every chunk's
// CRC right, its image data inflated and the row filters undone.
Frame ReadPngFrame(const Bytes& png)
{
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin())) throw std::runtime_error("no PNG signature");
    Frame frame;
    Bytes compressed;
    std::string types;
    for (std::size_t at = 8; types.size() < 4 || types.substr(types.size() - 4) != "IEND";) {
        const std::size_t length = LoadBig32(png, at);
        if (length > png.size() - at || png.size() - at - length < 12) throw std::runtime_error("a chunk past the end");
        const std::string type(png.begin() + static_cast<long>(at + 4), png.begin() + static_cast<long>(at + 8));
        if (LoadBig32(png, at + 8 + length) != Crc32(png.data() + at + 4, length + 4)) throw std::runtime_error(type + " CRC");
        const Bytes data(png.begin() + static_cast<long>(at + 8), png.begin() + static_cast<long>(at + 8 + length));
        if (type == "IHDR") {
            frame.width = LoadBig32(data, 0);
            frame.height = LoadBig32(data, 4);
            if (Bytes(data.begin() + 8, data.end()) != Bytes{8, 6, 0, 0, 0}) throw std::runtime_error("not 8-bit RGBA");
        }
        if (type == "IDAT") compressed.insert(compressed.end(), data.begin(), data.end());
        types += type;
        at += length + 12;
    }
    if (types.rfind("IHDR", 0) != 0) throw std::runtime_error("IHDR is not first");
    const std::size_t stride = std::size_t{frame.width} * 4;
    const Bytes filtered = Inflate(compressed, (stride + 1) * frame.height);
    if (filtered.size() != (stride + 1) * frame.height) throw std::runtime_error("image data of the wrong size");
    for (std::size_t y = 0; y < frame.height; ++y) {
        const std::uint8_t filter = filtered[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            const int left = i >= 4 ? frame.rgba[y * stride + i - 4] : 0;
            const int up = y > 0 ? frame.rgba[(y - 1) * stride + i] : 0;
            const int upLeft = y > 0 && i >= 4 ? frame.rgba[(y - 1) * stride + i - 4] : 0;
            const int p = left + up - upLeft, pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
            const int predictions[] = {0, left, up, (left + up) / 2, pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft};
            if (filter > 4) throw std::runtime_error("row filter " + std::to_string(filter));
            frame.rgba.push_back(static_cast<std::uint8_t>(filtered[y * (stride + 1) + 1 + i] + predictions[filter]));
        }
    }
    return frame;
}

TEST(RuntimeImages, CarryAnIconGroupOf16To48PixelPngFramesWithAlpha)
{
    for (const RuntimeCase& c : kRuntimes) {
        SCOPED_TRACE(c.fileName);
        auto resources = BuiltResources(c.id);
        if (!resources) GTEST_SKIP() << "stand-in runtimes";
        auto group = resources->find({RT_GROUP_ICON, 1});
        ASSERT_NE(group, resources->end()) << "no icon group under id 1";
        ImageReader in(group->second);
        ASSERT_EQ(in.U16(2), 1u) << "an icon, not a cursor";
        ASSERT_EQ(in.U16(4), 3u);
        std::vector<std::uint32_t> sizes;
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t entry = 6 + i * 14;
            const std::uint32_t width = group->second.at(entry), bits = in.U16(entry + 6), iconId = in.U16(entry + 12);
            sizes.push_back(width);
            EXPECT_EQ(group->second.at(entry + 1), width) << "square";
            EXPECT_EQ(bits, 32u);
            auto icon = resources->find({RT_ICON, iconId});
            ASSERT_NE(icon, resources->end()) << "the group names a missing icon " << iconId;
            EXPECT_EQ(in.U32(entry + 8), icon->second.size());
            // A PNG with alpha, which takes a fraction of the room of a bitmap and its mask.
            const Frame frame = ReadPngFrame(icon->second);
            EXPECT_EQ(std::make_tuple(frame.width, frame.height), std::make_tuple(width, width));
            EXPECT_LT(icon->second.size(), width * width * 2) << "compressed to under half of its 32-bit pixels";
            bool transparent = false, opaque = false;
            for (std::size_t p = 3; p < frame.rgba.size(); p += 4) {
                transparent |= frame.rgba[p] == 0;
                opaque |= frame.rgba[p] == 255;
            }
            EXPECT_TRUE(transparent && opaque) << "a shape on a clear ground";
        }
        EXPECT_EQ(sizes, (std::vector<std::uint32_t>{16, 32, 48}));
    }
}

TEST(RuntimeImages, CarryTheVersionInformationOfTheProduct)
{
    std::set<std::string> versions;
    for (const RuntimeCase& c : kRuntimes) {
        SCOPED_TRACE(c.fileName);
        auto resources = BuiltResources(c.id);
        if (!resources) GTEST_SKIP() << "stand-in runtimes";
        auto found = resources->find({RT_VERSION, 1});
        ASSERT_NE(found, resources->end()) << "no version information under id 1";
        std::map<std::string, std::string> info;
        ReadVersionNode(found->second, 0, "", info);
        const std::string strings = "StringFileInfo/040904B0/";
        EXPECT_EQ(info[strings + "FileDescription"], c.description);
        EXPECT_EQ(info[strings + "ProductName"], "Setwright");
        EXPECT_EQ(info[strings + "CompanyName"], "Quorvix");
        EXPECT_EQ(info[strings + "OriginalFilename"], c.fileName);
        EXPECT_NE(info[strings + "LegalCopyright"].find("Quorvix"), std::string::npos);
        EXPECT_EQ(info["VarFileInfo/Translation"], "0904b004") << "U.S. English, UTF-16";
        // The fixed information: its signature, then the file and product versions, which
        // the texts spell out.
        const std::string& fixed = info[""];
        ASSERT_GE(fixed.size(), 2u * 24);
        EXPECT_EQ(fixed.substr(0, 8), "bd04effe");
        const std::string text = info[strings + "FileVersion"];
        EXPECT_EQ(info[strings + "ProductVersion"], text);
        auto number = [&](std::size_t at) { return std::stoul(fixed.substr(at + 2, 2) + fixed.substr(at, 2), nullptr, 16); };
        const std::string fromFixed = std::to_string(number(20)) + "." + std::to_string(number(16)) + "." +
                                      std::to_string(number(28)) + "." + std::to_string(number(24));
        EXPECT_EQ(text, fromFixed);
        EXPECT_EQ(fixed.substr(16, 16), fixed.substr(32, 16)) << "the product version is the file's";
        EXPECT_NE(text.rfind("0.0", 0), 0u) << "a version of the product, not a placeholder";
        versions.insert(text);
    }
    EXPECT_EQ(versions.size(), 1u) << "every runtime carries the same version";
}

// A Win32 extended dialog template (DLGTEMPLATEEX) as read back from its binary form.
struct Item {
    std::uint32_t style, exStyle;
    std::int16_t x, y, cx, cy;
    std::uint32_t id;
    std::uint16_t atom;  // 0: the class is named
    std::u16string className;
    std::u16string title;
};

struct Dialog {
    std::uint32_t style, exStyle;
    std::int16_t x, y, cx, cy;
    std::u16string title;
    std::uint16_t points, weight;
    std::uint8_t italic, charset;
    std::u16string face;
    std::vector<Item> items;
};

class TemplateReader {
public:
    TemplateReader(const Bytes& data, std::size_t pos) : m_data(data), m_pos(pos) {}

    std::size_t Pos() const { return m_pos; }
    void Align4() { m_pos = (m_pos + 3) / 4 * 4; }

    std::uint16_t U16()
    {
        if (m_pos + 2 > m_data.size()) throw std::out_of_range("template runs past the data");
        auto value = static_cast<std::uint16_t>(m_data[m_pos] | m_data[m_pos + 1] << 8);
        m_pos += 2;
        return value;
    }
    std::int16_t S16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32()
    {
        std::uint32_t low = U16();
        return low | static_cast<std::uint32_t>(U16()) << 16;
    }
    std::u16string Text()
    {
        std::u16string text;
        for (std::uint16_t c = U16(); c != 0; c = U16()) text += static_cast<char16_t>(c);
        return text;
    }

    std::uint8_t U8()
    {
        if (m_pos + 1 > m_data.size()) throw std::out_of_range("template runs past the data");
        return m_data[m_pos++];
    }

    Dialog ReadDialog()
    {
        Dialog d{};
        EXPECT_EQ(U16(), 1) << "version";
        EXPECT_EQ(U16(), 0xFFFF) << "signature of the extended template";
        EXPECT_EQ(U32(), 0u) << "help id";
        d.exStyle = U32();
        d.style = U32();
        std::uint16_t count = U16();
        d.x = S16();
        d.y = S16();
        d.cx = S16();
        d.cy = S16();
        EXPECT_EQ(U16(), 0) << "menu";
        EXPECT_EQ(U16(), 0) << "window class";
        d.title = Text();
        d.points = U16();
        d.weight = U16();
        d.italic = U8();
        d.charset = U8();
        d.face = Text();
        for (std::uint16_t i = 0; i < count; ++i) {
            Align4();
            Item item{};
            EXPECT_EQ(U32(), 0u) << "help id";
            item.exStyle = U32();
            item.style = U32();
            item.x = S16();
            item.y = S16();
            item.cx = S16();
            item.cy = S16();
            item.id = U32();
            // The class: 0xFFFF and an atom, or a name.
            std::uint16_t first = U16();
            if (first == 0xFFFF) {
                item.atom = U16();
            } else {
                m_pos -= 2;
                item.className = Text();
                EXPECT_FALSE(item.className.empty());
            }
            item.title = Text();
            EXPECT_EQ(U16(), 0) << "creation data";
            d.items.push_back(item);
        }
        return d;
    }

private:
    const Bytes& m_data;
    std::size_t m_pos;
};

// Decodes a stored template resource with the runtime's decoder.
Bytes DecodeTemplates(int id)
{
    Bytes stored = Resource(id);
    if (stored.size() < 4) {
        ADD_FAILURE() << "no length";
        return {};
    }
    Bytes data(Load32(stored, 0));
    DecodeResult result = DecodeStream(stored.data() + 4, stored.size() - 4, data.data(), data.size());
    EXPECT_EQ(result.status, DecodeStatus::ok) << DecodeStatusName(result.status);
    EXPECT_EQ(result.inputUsed, stored.size() - 4) << "nothing follows the stream";
    EXPECT_EQ(result.outputUsed, data.size());
    return data;
}

// Reads the offset table and every template; each one must end where the next begins.
std::vector<Dialog> ReadTemplates(const Bytes& data)
{
    std::vector<Dialog> dialogs;
    if (data.size() < 4) {
        ADD_FAILURE() << "no offset table";
        return dialogs;
    }
    std::size_t count = Load32(data, 0) / 4;
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < count; ++i) offsets.push_back(Load32(data, i * 4));
    offsets.push_back(data.size());
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(offsets[i] % 4, 0u);
        TemplateReader reader(data, offsets[i]);
        dialogs.push_back(reader.ReadDialog());
        reader.Align4();
        EXPECT_EQ(reader.Pos(), offsets[i + 1]) << "the items that cdit counts fill the template";
    }
    return dialogs;
}

constexpr std::uint32_t DS_SHELLFONT = 0x48;  // DS_SETFONT | DS_FIXEDSYS
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;

constexpr std::uint16_t kComboBoxAtom = 0x85;

bool Overlap(const Item& a, const Item& b)
{
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

const Item* FindItem(const Dialog& d, std::uint32_t id)
{
    for (const Item& item : d.items)
        if (item.id == id) return &item;
    return nullptr;
}

TEST(DialogTemplates, TheWizardPagesAndTheDirectoryDialogInTheStoredFormAndWin32Layout)
{
    for (int id : {RES_DIALOGS, RES_DIALOGS_BITMAP, RES_DIALOGS_64, RES_DIALOGS_BITMAP_64}) {
        SCOPED_TRACE(id);
        Bytes data = DecodeTemplates(id);
        std::vector<Dialog> dialogs = ReadTemplates(data);
        ASSERT_EQ(dialogs.size(), std::size_t{dialogs::kDialogCount});
        for (const Dialog& d : dialogs) {
            SCOPED_TRACE(std::string(d.title.begin(), d.title.end()));
            // The system's dialog font, which links the fonts of other scripts.
            EXPECT_EQ(d.style & DS_SHELLFONT, DS_SHELLFONT);
            EXPECT_EQ(d.points, 8);
            EXPECT_EQ(d.face, u"MS Shell Dlg");
            EXPECT_EQ(std::tie(d.weight, d.italic, d.charset),
                      std::make_tuple(std::uint16_t{400}, std::uint8_t{0}, std::uint8_t{1}))
                << "normal, upright, the default character set";
            EXPECT_FALSE(d.title.empty());
            EXPECT_GE(d.items.size(), 2u);
            for (const Item& item : d.items) {
                EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
                if (item.atom == 0)
                    EXPECT_EQ(item.className, u"msctls_progress32");
                else
                    EXPECT_TRUE(item.atom >= 0x80 && item.atom <= 0x85) << item.atom;
                EXPECT_GE(item.x, 0);
                EXPECT_GE(item.y, 0);
                EXPECT_LE(item.x + item.cx, d.cx);
                // A combo box's height is that of its dropped-down list.
                if (item.atom != kComboBoxAtom) {
                    EXPECT_LE(item.y + item.cy, d.cy);
                }
            }
            // Nothing overlaps at its place in the template (the runtime only moves texts down).
            for (std::size_t a = 0; a < d.items.size(); ++a)
                for (std::size_t b = a + 1; b < d.items.size(); ++b)
                    if (d.items[a].atom != kComboBoxAtom && d.items[b].atom != kComboBoxAtom) {
                        EXPECT_FALSE(Overlap(d.items[a], d.items[b])) << d.items[a].id << " and " << d.items[b].id;
                    }
        }
    }
}

TEST(DialogTemplates, EveryPageHasTheControlsTheWizardLooksFor)
{
    using namespace dialogs;
    std::vector<Dialog> d = ReadTemplates(DecodeTemplates(RES_DIALOGS));
    ASSERT_EQ(d.size(), std::size_t{kDialogCount});
    const std::vector<std::uint16_t> wanted[kDialogCount] = {
        {kIdText1, kIdText2, kIdText3, kIdText4, kIdBack, kIdOk, kIdCancel},
        {kIdInformation, kIdBack, kIdOk, kIdCancel},
        {kIdText1, kIdText2, kIdText3, kIdText4, kIdDirectory, kIdBrowse, kIdSpaceNeededLabel, kIdSpaceNeeded,
         kIdSpaceAvailableLabel, kIdSpaceAvailable, kIdBack, kIdOk, kIdCancel},
        {kIdText1, kIdText2, kIdText3, kIdText4, kIdBack, kIdOk, kIdCancel},
        {kIdText1, kIdCurrentFile, kIdProgress, kIdText2, kIdCancel},
        {kIdText1, kIdText2, kIdView, kIdText3, kIdRun, kIdRestartText, kIdRestart, kIdOk},
        {kIdChooseNameLabel, kIdChooseName, kIdChooseFolders, kIdChooseDrivesLabel, kIdChooseDrives, kIdOk, kIdCancel},
    };
    for (unsigned i = 0; i < kDialogCount; ++i) {
        SCOPED_TRACE(i);
        for (std::uint16_t id : wanted[i]) EXPECT_NE(FindItem(d[i], id), nullptr) << id;
        for (const Item& item : d[i].items)
            if (item.id != 0xFFFF) {
                auto same = [&](const Item& other) { return other.id == item.id; };
                EXPECT_EQ(std::count_if(d[i].items.begin(), d[i].items.end(), same), 1) << item.id;
            }
    }
    for (unsigned i = 0; i < kPageCount; ++i) {
        EXPECT_EQ(d[i].cx, kPageWidth);
        EXPECT_EQ(d[i].cy, kPageHeight);
    }
    EXPECT_EQ(FindItem(d[kDialogInstalling], kIdOk), nullptr) << "only Cancel while installing";
}

TEST(DialogTemplates, TheBitmapLayoutHasTheBandAtTheLeftOfEveryPage)
{
    const std::pair<int, int> pairs[] = {{RES_DIALOGS, RES_DIALOGS_BITMAP}, {RES_DIALOGS_64, RES_DIALOGS_BITMAP_64}};
    for (auto [plainId, bitmapId] : pairs) {
        SCOPED_TRACE(bitmapId);
        std::vector<Dialog> plain = ReadTemplates(DecodeTemplates(plainId));
        std::vector<Dialog> bitmap = ReadTemplates(DecodeTemplates(bitmapId));
        ASSERT_EQ(plain.size(), bitmap.size());
        ASSERT_EQ(plain.size(), std::size_t{dialogs::kDialogCount});
        const int shift = dialogs::kBitmapBand;
        EXPECT_GE(shift, 86 + dialogs::kMargin) << "room for a bitmap 128 pixels wide and a margin";
        for (std::size_t i = 0; i < plain.size(); ++i) {
            const Dialog& p = plain[i];
            const Dialog& b = bitmap[i];
            // The directory dialog has no bitmap.
            int expected = i < dialogs::kPageCount ? shift : 0;
            EXPECT_EQ(b.cx - p.cx, expected);
            EXPECT_EQ(std::tie(b.style, b.cy, b.title), std::tie(p.style, p.cy, p.title));
            ASSERT_EQ(b.items.size(), p.items.size());
            for (std::size_t k = 0; k < p.items.size(); ++k) {
                EXPECT_EQ(b.items[k].x - p.items[k].x, expected) << i << '/' << k;
                EXPECT_EQ(std::tie(b.items[k].y, b.items[k].cx, b.items[k].cy, b.items[k].id, b.items[k].atom, b.items[k].style),
                          std::tie(p.items[k].y, p.items[k].cx, p.items[k].cy, p.items[k].id, p.items[k].atom, p.items[k].style));
            }
        }
    }
}

}  // namespace
}  // namespace sw
