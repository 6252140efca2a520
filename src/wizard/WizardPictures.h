#pragma once
// The pictures of the new-project wizard, drawn with wxDC: the page picture (bitmap 166,
// 96 x 240) at the left of every page, the small window picture (bitmap 145, 48 x 48) and
// the Window page's two sketches of the installer's window formats.
#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/gdicmn.h>

namespace sw {

inline constexpr int kPagePictureWidth = 96;
inline constexpr int kPagePictureHeight = 240;
inline constexpr int kWindowPictureSize = 48;

const wxBitmap& PagePicture();
const wxBitmap& WindowPicture();

// The bitmap centred at its natural size in the rectangle, clipped to it.
void DrawCentred(wxDC& dc, const wxBitmap& bitmap, const wxRect& rect);

// The sketches: mode 0 small (desktop with a task bar), 1 full screen (blue gradient).
void DrawWindowSketch(wxDC& dc, const wxRect& frame, int mode);

// Row i of h in the full-screen sketch: blue 255 - floor(255 i / h).
unsigned char GradientBlue(int row, int height);

}  // namespace sw
