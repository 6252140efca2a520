#include "model/LogFont.h"

namespace sw {

std::string EncodeLogFont(const LogFont& font)
{
    std::string bytes;
    auto add32 = [&bytes](std::int32_t value) {
        auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
    };
    for (std::int32_t value : {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
        add32(value);
    for (std::uint8_t value : {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
                               font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
        bytes += static_cast<char>(value);
    bytes.append(font.lfFaceName, sizeof font.lfFaceName);
    return bytes;
}

}  // namespace sw
