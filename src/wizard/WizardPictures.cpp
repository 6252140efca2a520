#include "wizard/WizardPictures.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

namespace sw {

namespace {

constexpr int kTaskBarHeight = 6;
constexpr int kTaskBarHighlight = 2;
constexpr int kMarkWidth = 4;
constexpr int kMarkHeight = 2;
constexpr int kMarkY = 4;
constexpr int kMarkX[] = {6, 16};

// A package with a disk, in the colours of the side pictures of installers.
wxBitmap MakePagePicture()
{
    wxBitmap bitmap(kPagePictureWidth, kPagePictureHeight, 24);
    wxMemoryDC dc(bitmap);
    for (int y = 0; y < kPagePictureHeight; ++y) {
        auto level = static_cast<unsigned char>(40 + 150 * y / kPagePictureHeight);
        dc.SetPen(wxPen(wxColour(0, static_cast<unsigned char>(level / 2), level)));
        dc.DrawLine(0, y, kPagePictureWidth, y);
    }
    // The box: front, top and side faces.
    const wxPoint top[] = {{18, 96}, {48, 82}, {80, 96}, {50, 110}};
    const wxPoint side[] = {{50, 110}, {80, 96}, {80, 144}, {50, 160}};
    const wxPoint front[] = {{18, 96}, {50, 110}, {50, 160}, {18, 144}};
    dc.SetPen(wxPen(wxColour(60, 40, 10)));
    dc.SetBrush(wxBrush(wxColour(240, 200, 120)));
    dc.DrawPolygon(4, top);
    dc.SetBrush(wxBrush(wxColour(200, 150, 70)));
    dc.DrawPolygon(4, side);
    dc.SetBrush(wxBrush(wxColour(225, 175, 95)));
    dc.DrawPolygon(4, front);
    // A disk going into it.
    dc.SetPen(wxPen(wxColour(20, 20, 20)));
    dc.SetBrush(wxBrush(wxColour(60, 60, 70)));
    dc.DrawRectangle(32, 40, 34, 34);
    dc.SetBrush(wxBrush(wxColour(220, 220, 225)));
    dc.DrawRectangle(38, 40, 20, 12);
    dc.SetBrush(wxBrush(wxColour(250, 250, 250)));
    dc.DrawRectangle(37, 58, 24, 16);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

// A small wizard window: title bar, a picture at the left, two buttons at the bottom.
wxBitmap MakeWindowPicture()
{
    const int s = kWindowPictureSize;
    wxBitmap bitmap(s, s, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
    dc.Clear();
    dc.SetPen(wxPen(wxColour(0, 0, 0)));
    dc.SetBrush(wxBrush(wxColour(192, 192, 192)));
    dc.DrawRectangle(6, 10, 36, 28);
    dc.SetBrush(wxBrush(wxColour(0, 0, 128)));
    dc.DrawRectangle(6, 10, 36, 6);
    dc.SetBrush(wxBrush(wxColour(0, 128, 128)));
    dc.DrawRectangle(9, 18, 10, 15);
    dc.SetBrush(wxBrush(wxColour(255, 255, 255)));
    dc.DrawRectangle(22, 31, 8, 4);
    dc.DrawRectangle(32, 31, 8, 4);
    dc.SelectObject(wxNullBitmap);
    wxBitmap masked = bitmap;
    masked.SetMask(new wxMask(bitmap, wxColour(255, 0, 255)));
    return masked;
}

// The desktop's colour; where the system has none of its own (GTK answers with the
// window colour), the classic one.
wxColour DesktopColour()
{
    wxColour desktop = wxSystemSettings::GetColour(wxSYS_COLOUR_DESKTOP);
    if (desktop == wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE) ||
        desktop == wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW))
        return wxColour(0, 128, 128);
    return desktop;
}

void DrawSunkenBorder(wxDC& dc, const wxRect& r)
{
    int left = r.GetLeft(), top = r.GetTop(), right = r.GetRight() + 1, bottom = r.GetBottom() + 1;
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.DrawLine(left, bottom - 1, left, top);
    dc.DrawLine(left, top, right, top);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
    dc.DrawLine(right - 1, top, right - 1, bottom - 1);
    dc.DrawLine(right - 1, bottom - 1, left, bottom - 1);
}

}  // namespace

const wxBitmap& PagePicture()
{
    static const wxBitmap picture = MakePagePicture();
    return picture;
}

const wxBitmap& WindowPicture()
{
    static const wxBitmap picture = MakeWindowPicture();
    return picture;
}

void DrawCentred(wxDC& dc, const wxBitmap& bitmap, const wxRect& rect)
{
    wxDCClipper clip(dc, rect);
    int x = rect.x + (rect.width - bitmap.GetWidth()) / 2;
    int y = rect.y + (rect.height - bitmap.GetHeight()) / 2;
    dc.DrawBitmap(bitmap, x, y, true);
}

unsigned char GradientBlue(int row, int height)
{
    if (height <= 0) return 255;
    return static_cast<unsigned char>(255 - (255 * row) / height);
}

void DrawWindowSketch(wxDC& dc, const wxRect& frame, int mode)
{
    dc.SetPen(*wxTRANSPARENT_PEN);
    if (mode == 0) {
        dc.SetBrush(wxBrush(DesktopColour()));
        dc.DrawRectangle(frame);
        wxRect band(frame.x, frame.GetBottom() + 1 - kTaskBarHeight, frame.width, kTaskBarHeight);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        dc.DrawRectangle(band);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
        dc.DrawRectangle(band.x, band.y, band.width, kTaskBarHighlight);
    } else {
        int lastBlue = -1;
        for (int i = 0; i < frame.height; ++i) {
            int blue = GradientBlue(i, frame.height);
            if (blue != lastBlue) {  // a new brush only when the colour changes
                dc.SetBrush(wxBrush(wxColour(0, 0, static_cast<unsigned char>(blue))));
                lastBlue = blue;
            }
            dc.DrawRectangle(frame.x, frame.y + i, frame.width, 1);
        }
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
        for (int x : kMarkX) dc.DrawRectangle(frame.x + x, frame.y + kMarkY, kMarkWidth, kMarkHeight);
    }
    DrawCentred(dc, WindowPicture(), frame);
    DrawSunkenBorder(dc, frame);
}

}  // namespace sw
