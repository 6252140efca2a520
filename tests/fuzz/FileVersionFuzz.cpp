// Feeds arbitrary bytes to the version-resource reader. Whatever the bytes, it must not
// crash, hang, read outside the image (the sanitizers watch that) or report values it
// did not find.
//
// Input: one byte choosing what the rest is, then the bytes.
//   0: a whole image.
//   1: the resource section of an otherwise valid PE32 image.
//   2: the version resource of an otherwise valid PE32+ image, reached through a valid
//      resource directory.
// Modes 1 and 2 take the fuzzer straight to the resource directory and the version
// blocks, which random bytes would seldom reach through valid headers; the dictionary
// file_version.dict gives it the UTF-16 keys the blocks are found by.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileVersion.h"

namespace {

constexpr std::uint32_t kSectionRva = 0x2000;
constexpr std::size_t kSectionAt = 0x200;

void Put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// DOS header, PE headers and one section holding the resources at file offset 0x200.
std::string Image(bool pe64, std::string_view section)
{
    const auto size = static_cast<std::uint32_t>(section.size());
    std::string image = "MZ";
    image.resize(0x3C, '\0');
    Put32(image, 0x40);
    image += std::string_view("PE\0\0", 4);
    Put16(image, pe64 ? 0x8664 : 0x14C);
    Put16(image, 1);  // sections
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put16(image, pe64 ? 240 : 224);
    Put16(image, 0x2102);
    const std::size_t optionalAt = image.size();
    Put16(image, pe64 ? 0x20B : 0x10B);
    image.resize(optionalAt + (pe64 ? 108 : 92), '\0');
    Put32(image, 16);
    for (std::uint32_t i = 0; i < 16; ++i) {
        Put32(image, i == 2 ? kSectionRva : 0);
        Put32(image, i == 2 ? size : 0);
    }
    image += ".rsrc";
    image.resize(image.size() + 3, '\0');
    Put32(image, size);
    Put32(image, kSectionRva);
    Put32(image, size);
    Put32(image, kSectionAt);
    image.resize(kSectionAt, '\0');
    image += section;
    return image;
}

// A resource directory with one type (16), one name (1) and one language leading to the
// version resource placed right after it.
std::string VersionSection(std::string_view version)
{
    std::string section;
    const auto directory = [&](std::uint32_t id, std::uint32_t target) {
        for (int i = 0; i < 3; ++i) Put32(section, 0);
        Put32(section, 1u << 16);  // no named entries, one id entry
        Put32(section, id);
        Put32(section, target);
    };
    directory(16, 0x80000000 | 24);
    directory(1, 0x80000000 | 48);
    directory(0x0409, 72);
    Put32(section, kSectionRva + 88);
    Put32(section, static_cast<std::uint32_t>(version.size()));
    Put32(section, 0);
    Put32(section, 0);
    section += version;
    return section;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string image;
    switch (data[0] % 3) {
    case 0: image = bytes; break;
    case 1: image = Image(false, bytes); break;
    default: image = Image(true, VersionSection(bytes)); break;
    }
    const sw::FileVersionInfo info = sw::ParseFileVersion(image);
    if (!info.hasVersion &&
        (info.fileVersionMS | info.fileVersionLS | info.productVersionMS | info.productVersionLS) != 0)
        __builtin_trap();
    if (!info.hasLanguage && info.language != 0) __builtin_trap();
    return 0;
}
