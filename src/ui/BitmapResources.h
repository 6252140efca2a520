#pragma once
// The bitmaps of the About box, addressed by number as the string table addresses texts.
// They are drawn by the program rather than shipped as files, so that nothing can be
// missing at run time.
#include <string>

#include <wx/bitmap.h>

namespace sw {

// The credits' background: 320 x 240 pixels of 256 colours.
inline constexpr int IDB_CREDITS_PATTERN = 9002;
// The emblem that opens the credits, on the key colour.
inline constexpr int IDB_CREDITS_EMBLEM = 9003;

// An invalid bitmap when there is no bitmap of that number.
wxBitmap LoadBitmapResource(int id);
// A bitmap named by its number in decimal, as picture lines of the credits name theirs.
wxBitmap LoadBitmapResource(const std::string& name);

}  // namespace sw
