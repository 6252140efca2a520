#pragma once
// Encodes one icon frame as a PNG file, the form in which an icon resource carries a
// compressed image (Windows Vista and later, and wine, decode a frame that starts with the
// PNG signature instead of a BITMAPINFOHEADER).
//
// The frame is 8-bit RGBA, the one form the icon loaders are documented to take (a palette
// form would save a few dozen bytes of this icon at the risk of a loader that refuses it),
// compressed losslessly: the smallest of every row-filter choice and zlib strategy at the
// highest level. The output depends only on the pixels and the zlib version, so a build is
// reproducible.
#include <cstdint>
#include <vector>

namespace sw::icongen {

// rgba: width * height pixels, top row first, 4 bytes each (R, G, B, A, not premultiplied).
// Returns an empty vector when zlib fails.
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, unsigned width, unsigned height);

}  // namespace sw::icongen
