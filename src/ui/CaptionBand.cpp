#include "ui/CaptionBand.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/iconbndl.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include "ui/CaptionFade.h"
#include "ui/CaptionLayout.h"

namespace sw {

namespace {

// Room above and below the title where the system does not tell the caption's height.
constexpr int kCaptionPadding = 10;

wxFont CaptionFont() { return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold(); }

int CaptionHeight(wxWindow* window)
{
    int height = wxSystemSettings::GetMetric(wxSYS_CAPTION_Y, window);
    int border = std::max(0, wxSystemSettings::GetMetric(wxSYS_BORDER_Y, window));
    if (height > 0) return height - border;
    wxFont font = CaptionFont();
    int textWidth = 0;
    int textHeight = 0;
    window->GetTextExtent("Wg", &textWidth, &textHeight, nullptr, nullptr, &font);
    return textHeight + kCaptionPadding;
}

CaptionRgb RgbOf(const wxColour& colour) { return {colour.Red(), colour.Green(), colour.Blue()}; }

}  // namespace

CCaptionBand::CCaptionBand(wxTopLevelWindow* owner)
    : wxWindow(owner, wxID_ANY), m_pOwner(owner), m_bActive(owner->IsActive())
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    int height = CaptionHeight(owner);
    SetMinSize(wxSize(-1, height));
    SetSize(wxSize(-1, height));
    Bind(wxEVT_PAINT, &CCaptionBand::OnPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Refresh(false);
        event.Skip();
    });
    Bind(wxEVT_IDLE, &CCaptionBand::OnIdle, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& event) {
        m_cache.Discard();
        Refresh(false);
        event.Skip();
    });
    owner->Bind(wxEVT_ACTIVATE, &CCaptionBand::OnOwnerActivate, this);
    // Like a title bar: a click brings the window forward, a double click on a window
    // that can be maximised maximises or restores it.
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        if (!m_pOwner->IsActive()) m_pOwner->Raise();
        event.Skip();
    });
    Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent&) {
        if (m_pOwner->HasFlag(wxMAXIMIZE_BOX)) m_pOwner->Maximize(!m_pOwner->IsMaximized());
    });
}

void CCaptionBand::OnOwnerActivate(wxActivateEvent& event)
{
    event.Skip();
    if (m_bActive == event.GetActive()) return;
    m_bActive = event.GetActive();
    Refresh(false);
}

void CCaptionBand::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    // The window says nothing when its title changes; the text is part of both bitmaps.
    if (m_pOwner->GetTitle() == m_strTitle) return;
    m_strTitle = m_pOwner->GetTitle();
    m_cache.Discard();
    Refresh(false);
}

wxBitmap CCaptionBand::DrawCaption(bool active, wxSize size)
{
    wxBitmap bitmap(size);
    wxMemoryDC dc(bitmap);
    dc.SetPen(*wxTRANSPARENT_PEN);
    wxColour background = wxSystemSettings::GetColour(active ? wxSYS_COLOUR_ACTIVECAPTION : wxSYS_COLOUR_INACTIVECAPTION);
    for (const FadeBand& band : CaptionFadeBands(size.x, RgbOf(background))) {
        dc.SetBrush(wxBrush(wxColour(band.colour.red, band.colour.green, band.colour.blue)));
        dc.DrawRectangle(band.left, 0, band.right - band.left, size.y);
    }

    wxIcon icon = m_pOwner->GetIcons().GetIcon(wxSize(size.y, size.y), wxIconBundle::FALLBACK_NEAREST_LARGER);
    CaptionLayout layout = LayOutCaption({size.x, size.y}, {size.y, size.y}, icon.IsOk());
    if (icon.IsOk()) {
        wxBitmap image(icon);
        int side = std::min(layout.icon.Width(), layout.icon.Height());
        if (image.GetHeight() != side && side > 0)
            image = wxBitmap(image.ConvertToImage().Rescale(side, side, wxIMAGE_QUALITY_HIGH));
        dc.DrawBitmap(image, layout.icon.left, layout.icon.top + (layout.icon.Height() - image.GetHeight()) / 2, true);
    }

    dc.SetFont(CaptionFont());
    auto measure = [&dc](const std::string& text) { return dc.GetTextExtent(wxString::FromUTF8(text.data(), text.size())).x; };
    wxScopedCharBuffer title = m_strTitle.utf8_str();
    std::string shown = EllipsizeEnd(std::string(title.data(), title.length()), layout.text.Width(), measure);
    m_strShownText = wxString::FromUTF8(shown.data(), shown.size());
    if (!shown.empty()) {
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        CaptionRgb text = ReadableCaptionText(
            RgbOf(wxSystemSettings::GetColour(active ? wxSYS_COLOUR_CAPTIONTEXT : wxSYS_COLOUR_INACTIVECAPTIONTEXT)), active);
        dc.SetTextForeground(wxColour(text.red, text.green, text.blue));
        int textHeight = dc.GetTextExtent(m_strShownText).y;
        dc.DrawText(m_strShownText, layout.text.left, layout.text.top + (layout.text.Height() - textHeight) / 2);
    }
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

void CCaptionBand::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0 || m_pOwner->IsIconized()) return;
    if (m_strTitle != m_pOwner->GetTitle()) {
        m_strTitle = m_pOwner->GetTitle();
        m_cache.Discard();
    }
    int state = m_bActive ? 1 : 0;
    if (m_cache.NeedsDrawing(m_bActive, size.x, size.y)) m_bitmaps[state] = DrawCaption(m_bActive, size);
    dc.DrawBitmap(m_bitmaps[state], 0, 0);
}

CCaptionBand* AttachCaptionBand(wxTopLevelWindow* window)
{
    if (!window->HasFlag(wxCAPTION)) return nullptr;
    auto* band = new CCaptionBand(window);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(band, 0, wxEXPAND);
    if (wxSizer* contents = window->GetSizer()) {
        window->SetSizer(outer, false);
        outer->Add(contents, 1, wxEXPAND);
    } else {
        window->SetSizer(outer);
    }
    outer->SetSizeHints(window);
    return band;
}

}  // namespace sw
