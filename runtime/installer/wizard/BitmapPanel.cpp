// The wizard bitmap and the background bitmap: whole .bmp files carried by the program,
// checked here before Windows sees a byte of them.
#include "../../win32/Heap.h"
#include "core/WizardChecks.h"
#include "WizardInternal.h"

namespace sw::wizard {

bool LoadDib(const Bitmap& file, Dib& dib)
{
    dib = Dib{};
    BitmapLayout layout;
    if (!CheckBitmapFile(file.bytes, file.size, layout)) return false;
    const std::uint8_t* b = file.bytes;
    // An aligned copy of the header (as a plain BITMAPINFOHEADER), the masks and colours.
    auto* info = static_cast<BITMAPINFO*>(win::Allocate(sizeof(BITMAPINFOHEADER) + 12 + layout.colors * 4));
    if (!info) return false;
    auto* out = reinterpret_cast<std::uint8_t*>(info);
    for (std::size_t i = 0; i < kBitmapInfoHeader; ++i) out[i] = b[kBitmapFileHeader + i];
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biSizeImage = 0;
    info->bmiHeader.biClrUsed = layout.colors;
    std::uint8_t* tail = out + sizeof(BITMAPINFOHEADER);
    if (layout.bitFields)
        for (std::size_t i = 0; i < 12; ++i) *tail++ = b[layout.masksOffset + i];
    for (std::size_t i = 0; i < layout.colors * 4u; ++i) *tail++ = b[layout.colorsOffset + i];
    dib.info = info;
    dib.bits = b + layout.bitsOffset;
    dib.width = layout.width;
    dib.height = layout.height;
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
