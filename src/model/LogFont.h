#pragma once
// The Win32 font description (ANSI form, 60 bytes) in which the background title's font
// is kept and stored, member for member.
#include <cstdint>
#include <string>

namespace sw {

struct LogFont {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    // NUL-terminated face name; the bytes after the NUL are kept as they were read.
    char lfFaceName[32] = {};

    bool operator==(const LogFont&) const = default;
};

static_assert(sizeof(LogFont) == 60, "the stored font description is 60 bytes");

// The 60 bytes of the font description in its in-memory layout, integers little-endian.
std::string EncodeLogFont(const LogFont& font);

}  // namespace sw
