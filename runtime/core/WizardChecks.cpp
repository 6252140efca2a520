#include "core/WizardChecks.h"

namespace sw {
namespace {

std::uint32_t Load16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }
std::uint32_t Load32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::uint32_t kLargestHeader = 124;  // BITMAPV5HEADER
constexpr std::int32_t kLargestSide = 16384;
constexpr std::uint32_t kRgb = 0;        // BI_RGB
constexpr std::uint32_t kBitFields = 3;  // BI_BITFIELDS

}  // namespace

bool CheckBitmapFile(const std::uint8_t* file, std::uint64_t size, BitmapLayout& layout)
{
    layout = BitmapLayout{};
    if (!file || size < kBitmapFileHeader + kBitmapInfoHeader || file[0] != 'B' || file[1] != 'M') return false;
    const std::uint32_t dataOffset = Load32(file + 10);
    const std::uint32_t headerSize = Load32(file + 14);
    if (headerSize < kBitmapInfoHeader || headerSize > kLargestHeader || kBitmapFileHeader + headerSize > size) return false;
    const auto width = static_cast<std::int32_t>(Load32(file + 18));
    const auto height = static_cast<std::int32_t>(Load32(file + 22));
    const std::uint32_t planes = Load16(file + 26);
    const std::uint32_t bitCount = Load16(file + 28);
    const std::uint32_t compression = Load32(file + 30);
    const std::uint32_t colorsUsed = Load32(file + 46);
    if (width <= 0 || width > kLargestSide || height == 0 || height < -kLargestSide || height > kLargestSide || planes != 1)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
    const bool bitFields = compression == kBitFields;
    if (compression != kRgb && !(bitFields && (bitCount == 16 || bitCount == 32))) return false;
    std::uint32_t colors = 0;
    if (bitCount <= 8) {
        colors = colorsUsed ? colorsUsed : 1u << bitCount;
        if (colors > 1u << bitCount) return false;
    }
    // The masks follow a 40-byte header; the later headers hold them at the same place.
    const std::uint64_t masksOffset = kBitmapFileHeader + kBitmapInfoHeader;
    const std::uint64_t colorsOffset = kBitmapFileHeader + headerSize + (bitFields && headerSize == kBitmapInfoHeader ? 12 : 0);
    if (bitFields && masksOffset + 12 > size) return false;
    if (colorsOffset + static_cast<std::uint64_t>(colors) * 4 > size) return false;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    if (dataOffset < colorsOffset + static_cast<std::uint64_t>(colors) * 4 || dataOffset > size ||
        stride * rows > size - dataOffset)
        return false;
    layout.width = width;
    layout.height = static_cast<std::int32_t>(rows);
    layout.topDown = height < 0;
    layout.bitCount = static_cast<std::uint16_t>(bitCount);
    layout.bitFields = bitFields;
    layout.colors = colors;
    layout.masksOffset = masksOffset;
    layout.colorsOffset = colorsOffset;
    layout.bitsOffset = dataOffset;
    layout.stride = stride;
    return true;
}

}  // namespace sw
