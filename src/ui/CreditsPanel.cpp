#include "ui/CreditsPanel.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "ui/BitmapResources.h"

namespace sw {

namespace {

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }
// A pixel more than a third covered by a glyph belongs to it: thin strokes stay whole.
constexpr unsigned char kInkThreshold = 85;

wxColour ColourOf(CreditsColour colour) { return wxColour(static_cast<unsigned long>(colour)); }
wxRect WxRect(const UiRect& rect) { return {rect.left, rect.top, rect.Width(), rect.Height()}; }

// Arial comes in regular and bold only: the lighter weights are drawn regular, as the
// window system draws them.
wxFontWeight WeightOf(int weight) { return weight >= 700 ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL; }

}  // namespace

CCreditsPanel::CCreditsPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE), m_timer(this, kTimerId)
{
    // Every pixel comes from the off-screen images.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CCreditsPanel::OnPaint, this);
    Bind(wxEVT_TIMER, &CCreditsPanel::OnTimer, this, kTimerId);
}

CCreditsPanel::~CCreditsPanel()
{
    Stop();
    m_scroller.SetLines({});
}

void CCreditsPanel::SetText(const std::string& text, char separator)
{
    m_scroller.SetLines(SplitCreditsText(text, separator));
}

int CCreditsPanel::SetSpeed(int index, int period)
{
    if (index < 0 || index >= static_cast<int>(m_periods.size())) return m_nSpeed;
    if (period != 0) m_periods[static_cast<std::size_t>(index)] = period;
    m_nSpeed = index;
    return index;
}

void CCreditsPanel::SetColour(int index, CreditsColour colour)
{
    auto& colours = m_scroller.Look().colours;
    if (index >= 0 && index < static_cast<int>(colours.size())) colours[static_cast<std::size_t>(index)] = colour;
}

void CCreditsPanel::SetHeight(int index, int pixels)
{
    // The line height divides the tick count, so it must stay positive.
    auto& heights = m_scroller.Look().heights;
    if (pixels > 0 && index >= 0 && index < static_cast<int>(heights.size())) heights[static_cast<std::size_t>(index)] = pixels;
}

bool CCreditsPanel::SetPattern(int bitmapId)
{
    m_pattern = LoadBitmapResource(bitmapId);
    return m_pattern.IsOk();
}

void CCreditsPanel::SetScrollArea(const wxRect& area)
{
    m_scroller.SetScrollArea({area.GetLeft(), area.GetTop(), area.GetRight() + 1, area.GetBottom() + 1});
}

bool CCreditsPanel::Start()
{
    if (m_scroller.GetLines().empty()) return false;
    m_textLayer = wxBitmap();
    m_scroller.Rewind();
    if (!m_timer.Start(m_periods[static_cast<std::size_t>(m_nSpeed)])) return false;
    Refresh();
    return true;
}

void CCreditsPanel::Stop()
{
    if (m_timer.IsRunning()) m_timer.Stop();
    m_textLayer = wxBitmap();
}

wxColour CCreditsPanel::Background() const
{
    return ColourOf(m_bKeyColourMode && HasPattern() ? kKeyColour : m_scroller.GetLook().colours[0]);
}

wxFont CCreditsPanel::FontFor(CreditsStyle style) const
{
    if (!HasOwnFont(style)) return GetFont();
    CreditsFont font = FontOf(style, m_scroller.GetLook());
    return wxFont(wxFontInfo(wxSize(0, font.height)).Family(wxFONTFAMILY_SWISS).FaceName("Arial").Weight(WeightOf(font.weight)));
}

wxColour CCreditsPanel::TextColourFor(CreditsStyle style) const
{
    if (!HasOwnFont(style)) return GetForegroundColour();
    return ColourOf(FontOf(style, m_scroller.GetLook()).colour);
}

UiSize CCreditsPanel::TextSize(CreditsStyle style, const std::string& text)
{
    wxFont font = FontFor(style);
    int width = 0;
    int height = 0;
    GetTextExtent(Utf8(text), &width, &height, nullptr, nullptr, &font);
    return {width, height};
}

std::optional<UiSize> CCreditsPanel::PictureSize(const std::string& name)
{
    if (name != m_strPictureName || !m_picture.IsOk()) {
        m_picture = LoadBitmapResource(name);
        m_strPictureName = name;
        // Without a pattern, the key colour is left out of the picture itself.
        if (m_picture.IsOk() && m_bKeyColourMode && !HasPattern())
            m_picture.SetMask(new wxMask(m_picture, ColourOf(kKeyColour)));
    }
    if (!m_picture.IsOk()) return std::nullopt;
    return UiSize{m_picture.GetWidth(), m_picture.GetHeight()};
}

wxBitmap CCreditsPanel::NewTextLayer() const
{
    wxSize size = GetClientSize();
    wxBitmap layer(size);
    wxMemoryDC dc(layer);
    dc.SetBackground(wxBrush(Background()));
    dc.Clear();
    return layer;
}

void CCreditsPanel::DrawLine(wxDC& dc, const CreditsLine& line, const UiRect& rect)
{
    wxString text = Utf8(line.text);
    dc.SetFont(FontFor(line.style));
    dc.SetTextForeground(TextColourFor(line.style));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    wxSize extent = dc.GetTextExtent(text);
    int x = rect.left + (rect.Width() - extent.x) / 2;
    if (!m_bKeyColourMode || !HasPattern() || extent.x <= 0 || extent.y <= 0) {
        dc.DrawText(text, x, rect.top);
        return;
    }
    // Over the key colour, smoothed edges would be neither key nor text and would show
    // as a grey rim on the pattern: the text goes in whole pixels.
    wxBitmap coverage(extent);
    {
        wxMemoryDC inked(coverage);
        inked.SetBackground(*wxBLACK_BRUSH);
        inked.Clear();
        inked.SetFont(dc.GetFont());
        inked.SetTextForeground(*wxWHITE);
        inked.DrawText(text, 0, 0);
    }
    wxImage shape = coverage.ConvertToImage();
    wxColour colour = dc.GetTextForeground();
    wxImage crisp(extent);
    crisp.InitAlpha();
    for (int py = 0; py < extent.y; ++py) {
        for (int px = 0; px < extent.x; ++px) {
            crisp.SetRGB(px, py, colour.Red(), colour.Green(), colour.Blue());
            crisp.SetAlpha(px, py, shape.GetRed(px, py) >= kInkThreshold ? wxIMAGE_ALPHA_OPAQUE : wxIMAGE_ALPHA_TRANSPARENT);
        }
    }
    dc.DrawBitmap(wxBitmap(crisp), x, rect.top, true);
}

void CCreditsPanel::DrawTickIntoLayer(const CreditsTick& tick)
{
    const UiRect& column = tick.column;
    // Taken before the layer goes into a drawing context.
    wxBitmap risen;
    if (tick.scrolls && column.Height() > 1)
        risen = m_textLayer.GetSubBitmap(wxRect(column.left, column.top + 1, column.Width(), column.Height() - 1));
    wxMemoryDC dc(m_textLayer);
    if (risen.IsOk()) dc.DrawBitmap(risen, column.left, column.top);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(Background()));
    dc.DrawRectangle(WxRect(tick.strip));
    if (tick.draw == CreditsTick::Draw::Text) {
        dc.SetClippingRegion(WxRect(tick.clip));
        DrawLine(dc, tick.line, tick.clip);
        dc.DestroyClippingRegion();
    } else if (tick.draw == CreditsTick::Draw::Picture && m_picture.IsOk()) {
        wxBitmap rows = m_picture.GetSubBitmap(wxRect(0, 0, m_picture.GetWidth(), tick.pictureRows));
        dc.DrawBitmap(rows, tick.pictureDest.left, tick.pictureDest.top, rows.GetMask() != nullptr);
    }
}

wxBitmap CCreditsPanel::Composed(const UiRect& column) const
{
    if (!HasPattern()) return m_textLayer;
    wxSize size = GetClientSize();
    wxBitmap canvas(size);
    wxMemoryDC dc(canvas);
    // The pattern stands still; only the column's text moves over it.
    for (int y = 0; y < size.y; y += m_pattern.GetHeight())
        for (int x = 0; x < size.x; x += m_pattern.GetWidth()) dc.DrawBitmap(m_pattern, x, y);
    wxRect inside = WxRect(column).Intersect(wxRect(size));
    if (!inside.IsEmpty()) {
        wxBitmap text = m_textLayer.GetSubBitmap(inside);
        text.SetMask(new wxMask(text, Background()));
        dc.DrawBitmap(text, inside.x, inside.y, true);
    }
    dc.SelectObject(wxNullBitmap);
    return canvas;
}

void CCreditsPanel::OnTimer(wxTimerEvent&)
{
    wxSize size = GetClientSize();
    // Nothing moves before the panel can be seen: the credits start from their first line.
    if (!IsShownOnScreen() || size.x <= 0 || size.y <= 0) return;
    CreditsTick tick = m_scroller.Tick({0, 0, size.x, size.y}, *this);
    if (!m_textLayer.IsOk() || m_textLayer.GetSize() != size) m_textLayer = NewTextLayer();
    DrawTickIntoLayer(tick);
    if (tick.pictureDone) {
        m_picture = wxBitmap();
        m_strPictureName.clear();
    }
    wxClientDC window(this);
    window.DrawBitmap(Composed(tick.column), 0, 0);
}

void CCreditsPanel::RenderAtRest()
{
    wxSize size = GetClientSize();
    UiRect area = m_scroller.GetScrollArea();
    if (area.IsEmpty()) area = {0, 0, size.x, size.y};
    m_textLayer = NewTextLayer();
    {
        wxMemoryDC dc(m_textLayer);
        for (const CreditsRestLine& laid : LayOutCreditsAtRest(m_scroller.GetLines(), m_scroller.GetLook(), area, *this)) {
            if (laid.line.style != CreditsStyle::Picture) {
                DrawLine(dc, laid.line, laid.rect);
            } else if (PictureSize(laid.line.text)) {
                dc.DrawBitmap(m_picture, laid.rect.left, laid.rect.top, m_picture.GetMask() != nullptr);
            }
        }
    }
    m_textLayer = Composed(area);
}

void CCreditsPanel::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    // While scrolling, the next tick draws the whole panel.
    if (IsScrolling()) return;
    wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0) return;
    if (!m_textLayer.IsOk() || m_textLayer.GetSize() != size) RenderAtRest();
    dc.DrawBitmap(m_textLayer, 0, 0);
}

}  // namespace sw
