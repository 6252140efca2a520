#pragma once
// The About box's scrolling credits: text and picture lines rise one pixel per tick in an
// endless loop, over a plain background or over a still pattern seen through the key
// colour. Every tick is drawn off-screen first, so nothing flickers.
#include <array>
#include <optional>
#include <string>

#include <wx/bitmap.h>
#include <wx/timer.h>
#include <wx/window.h>

#include "ui/CreditsScroller.h"

namespace sw {

class CCreditsPanel : public wxWindow, private ICreditsMeasure {
public:
    static constexpr int kTimerId = 150;
    // Drawn as transparent in key-colour mode.
    static constexpr CreditsColour kKeyColour = 0xC0C0C0;

    CCreditsPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
    ~CCreditsPanel() override;

    // Replaces the lines by the text split at the separator, and rewinds.
    void SetText(const std::string& text, char separator);
    // A non-zero period (ms) replaces the one of that speed. Returns the speed now used.
    // Indexes out of range, and heights below 1, change nothing.
    int SetSpeed(int index, int period);
    void SetColour(int index, CreditsColour colour);
    void SetHeight(int index, int pixels);
    void SetKeyColourMode(bool on) { m_bKeyColourMode = on; }
    // False, and no pattern, when there is no such bitmap.
    bool SetPattern(int bitmapId);
    // Where the lines scroll, in client coordinates; empty for a centred column.
    void SetScrollArea(const wxRect& area);

    // False when there is nothing to scroll or no timer: the lines then stand still.
    bool Start();
    void Stop();
    bool IsScrolling() const { return m_timer.IsRunning(); }

private:
    void OnTimer(wxTimerEvent& event);
    void OnPaint(wxPaintEvent& event);
    UiSize TextSize(CreditsStyle style, const std::string& text) override;
    std::optional<UiSize> PictureSize(const std::string& name) override;

    wxFont FontFor(CreditsStyle style) const;
    wxColour TextColourFor(CreditsStyle style) const;
    wxColour Background() const;
    bool HasPattern() const { return m_pattern.IsOk(); }
    wxBitmap NewTextLayer() const;
    void DrawTickIntoLayer(const CreditsTick& tick);
    void DrawLine(wxDC& dc, const CreditsLine& line, const UiRect& rect);
    void RenderAtRest();
    // The text layer as it shows: over the pattern within the column.
    wxBitmap Composed(const UiRect& column) const;

    CCreditsScroller m_scroller;
    std::array<int, 3> m_periods{80, 50, 20};
    int m_nSpeed = 1;
    bool m_bKeyColourMode = false;
    wxBitmap m_pattern;
    wxBitmap m_textLayer;
    wxBitmap m_picture;
    std::string m_strPictureName;
    wxTimer m_timer;
};

}  // namespace sw
