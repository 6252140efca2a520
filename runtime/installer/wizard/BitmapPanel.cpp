// The wizard bitmap and the background bitmap: whole .bmp files carried by the program,
// checked here before Windows sees a byte of them.
#include "../../win32/Heap.h"
#include "WizardInternal.h"

namespace sw::wizard {
namespace {

std::uint32_t Load16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }
std::uint32_t Load32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kLargestHeader = 124;  // BITMAPV5HEADER
constexpr std::int32_t kLargestSide = 16384;

}  // namespace

bool LoadDib(const Bitmap& file, Dib& dib)
{
    dib = Dib{};
    const std::uint8_t* b = file.bytes;
    const std::uint64_t size = file.size;
    if (!b || size < kFileHeader + kInfoHeader || b[0] != 'B' || b[1] != 'M') return false;
    const std::uint32_t dataOffset = Load32(b + 10);
    const std::uint32_t headerSize = Load32(b + 14);
    // BITMAPINFOHEADER and its later forms, which begin the same way.
    if (headerSize < kInfoHeader || headerSize > kLargestHeader || kFileHeader + headerSize > size) return false;
    const auto width = static_cast<std::int32_t>(Load32(b + 18));
    const auto rawHeight = static_cast<std::int32_t>(Load32(b + 22));
    const std::uint32_t planes = Load16(b + 26);
    const std::uint32_t bitCount = Load16(b + 28);
    const std::uint32_t compression = Load32(b + 30);
    const std::uint32_t colorsUsed = Load32(b + 46);
    if (width <= 0 || width > kLargestSide || rawHeight == 0 || rawHeight < -kLargestSide || rawHeight > kLargestSide ||
        planes != 1)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
    // Uncompressed only; bit fields (three masks) for 16 and 32 bits.
    const bool bitFields = compression == BI_BITFIELDS;
    if (compression != BI_RGB && !(bitFields && (bitCount == 16 || bitCount == 32))) return false;
    std::uint32_t colors = 0;
    if (bitCount <= 8) {
        colors = colorsUsed ? colorsUsed : 1u << bitCount;
        if (colors > 1u << bitCount) return false;
    }
    // Masks that follow a 40-byte header; the later headers hold them inside.
    const std::uint32_t masksAfterHeader = bitFields && headerSize == kInfoHeader ? 12 : 0;
    const std::uint64_t colorsAt = kFileHeader + headerSize + masksAfterHeader;
    if (colorsAt + static_cast<std::uint64_t>(colors) * 4 > size) return false;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const std::uint32_t height = static_cast<std::uint32_t>(rawHeight < 0 ? -rawHeight : rawHeight);
    const std::uint64_t imageBytes = stride * height;
    if (dataOffset < kFileHeader + headerSize || dataOffset > size || imageBytes > size - dataOffset) return false;

    // An aligned copy of the header (as a plain BITMAPINFOHEADER), the masks and colours.
    auto* info = static_cast<BITMAPINFO*>(win::Allocate(sizeof(BITMAPINFOHEADER) + 12 + colors * 4));
    if (!info) return false;
    auto* out = reinterpret_cast<std::uint8_t*>(info);
    for (std::uint32_t i = 0; i < kInfoHeader; ++i) out[i] = b[kFileHeader + i];
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biSizeImage = 0;
    info->bmiHeader.biClrUsed = colors;
    std::uint8_t* tail = out + sizeof(BITMAPINFOHEADER);
    if (bitFields) {
        // After a 40-byte header the masks follow it; a later header holds them at 40.
        const std::uint8_t* masks = b + kFileHeader + kInfoHeader;
        if (kFileHeader + kInfoHeader + 12 > size) {
            win::Release(info);
            return false;
        }
        for (int i = 0; i < 12; ++i) *tail++ = masks[i];
    }
    for (std::uint32_t i = 0; i < colors * 4; ++i) *tail++ = b[colorsAt + i];
    dib.info = info;
    dib.bits = b + dataOffset;
    dib.width = width;
    dib.height = static_cast<int>(height);
    return true;
}

void FreeDib(Dib& dib)
{
    win::Release(dib.info);
    dib = Dib{};
}

void DrawDibInBand(HDC dc, const Dib& dib, const RECT& band)
{
    if (!dib.info) return;
    const long bandWidth = band.right - band.left, bandHeight = band.bottom - band.top;
    if (bandWidth <= 0 || bandHeight <= 0) return;
    long width = dib.width, height = dib.height;
    // Shrink to fit, keeping the proportions.
    if (width > bandWidth) {
        height = height * bandWidth / width;
        width = bandWidth;
    }
    if (height > bandHeight) {
        width = width * bandHeight / height;
        height = bandHeight;
    }
    if (width <= 0 || height <= 0) return;
    const long x = band.left + (bandWidth - width) / 2;
    int oldMode = SetStretchBltMode(dc, width != dib.width ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, static_cast<int>(x), static_cast<int>(band.top), static_cast<int>(width), static_cast<int>(height), 0, 0,
                  dib.width, dib.height, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

HBITMAP CreateBitmapFromDib(const Dib& dib)
{
    if (!dib.info) return nullptr;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, dib.info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    const std::size_t stride =
        (static_cast<std::size_t>(dib.width) * dib.info->bmiHeader.biBitCount + 31) / 32 * 4;
    const std::size_t bytes = stride * static_cast<std::size_t>(dib.height);
    auto* to = static_cast<std::uint8_t*>(pixels);
    for (std::size_t i = 0; i < bytes; ++i) to[i] = dib.bits[i];
    GdiFlush();
    return bitmap;
}

}  // namespace sw::wizard
