#include "ui/ToolBarEx.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/settings.h>

namespace sw {

namespace {

constexpr int kSeparatorWidth = 8;
// Around the caption inside a button, and between the image and the caption.
constexpr int kCaptionPadding = 6;
constexpr int kCaptionGap = 2;
// Above and below the buttons.
constexpr int kBarMargin = 2;
// Pixels lighter than this keep out of an embossed image, as they would on a monochrome copy.
constexpr int kEmbossThreshold = 160;

// The image's shape in one colour: every opaque pixel that is dark enough.
wxBitmap ShapeIn(const wxBitmap& image, const wxColour& colour)
{
    wxImage source = image.ConvertToImage();
    if (!source.HasAlpha()) source.InitAlpha();
    wxImage shape(source.GetWidth(), source.GetHeight());
    shape.InitAlpha();
    for (int y = 0; y < source.GetHeight(); ++y) {
        for (int x = 0; x < source.GetWidth(); ++x) {
            int luminance = (source.GetRed(x, y) * 30 + source.GetGreen(x, y) * 59 + source.GetBlue(x, y) * 11) / 100;
            bool inside = source.GetAlpha(x, y) > 128 && luminance < kEmbossThreshold;
            shape.SetRGB(x, y, colour.Red(), colour.Green(), colour.Blue());
            shape.SetAlpha(x, y, inside ? wxIMAGE_ALPHA_OPAQUE : wxIMAGE_ALPHA_TRANSPARENT);
        }
    }
    return wxBitmap(shape);
}

}  // namespace

CToolBarEx::CToolBarEx(wxWindow* parent, wxWindowID id)
    : wxControl(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE), m_hoverTimer(this, kHoverTimerId)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_textFont = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    ReadColours();
    Bind(wxEVT_PAINT, &CToolBarEx::OnPaint, this);
    Bind(wxEVT_MOTION, &CToolBarEx::OnMotion, this);
    Bind(wxEVT_LEFT_DOWN, &CToolBarEx::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CToolBarEx::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CToolBarEx::OnLeftUp, this);
    Bind(wxEVT_TIMER, &CToolBarEx::OnTimer, this, kHoverTimerId);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        if (m_nPressed < 0) return;
        m_tools[static_cast<std::size_t>(m_nPressed)].state.pressed = false;
        RedrawButton(std::exchange(m_nPressed, -1));
    });
    Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& event) {
        ReadColours();
        for (Tool& tool : m_tools) {
            if (!tool.image.IsOk()) continue;
            tool.raised = ShapeIn(tool.image, m_clrHighlight);
            tool.engraved = ShapeIn(tool.image, m_clrShadow);
        }
        Refresh();
        event.Skip();
    });
}

void CToolBarEx::ReadColours()
{
    m_clrFace = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    m_clrHighlight = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    m_clrShadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    m_clrLight = wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT);
    // A checked button must stand out from the face.
    if (m_clrLight == m_clrFace) m_clrLight = m_clrHighlight;
}

void CToolBarEx::AddTool(int id, const wxString& caption, const wxBitmap& image, const wxString& shortHelp,
                         const wxString& longHelp)
{
    Tool tool;
    tool.id = id;
    tool.caption = caption;
    tool.shortHelp = shortHelp;
    tool.longHelp = longHelp;
    tool.image = image;
    tool.raised = ShapeIn(image, m_clrHighlight);
    tool.engraved = ShapeIn(image, m_clrShadow);
    m_tools.push_back(tool);
}

void CToolBarEx::AddSeparator()
{
    Tool separator;
    separator.state.separator = true;
    m_tools.push_back(separator);
}

void CToolBarEx::Realize()
{
    wxClientDC dc(this);
    dc.SetFont(m_textFont);
    wxSize caption;
    m_imageSize = wxSize();
    for (const Tool& tool : m_tools) {
        if (tool.state.separator) continue;
        caption.IncTo(dc.GetMultiLineTextExtent(tool.caption));
        m_imageSize.IncTo(tool.image.GetSize());
    }
    m_buttonSize = wxSize(std::max(caption.x, m_imageSize.x) + 2 * kCaptionPadding,
                          kTextModeImageTop + m_imageSize.y + kCaptionGap + caption.y + kCaptionPadding);
    m_imageOffset = ImageOffset({m_buttonSize.x, m_buttonSize.y}, {m_imageSize.x, m_imageSize.y}, true);
    int x = LeadingInset(true);
    for (Tool& tool : m_tools) {
        int width = tool.state.separator ? kSeparatorWidth : m_buttonSize.x;
        tool.rect = wxRect(x, kBarMargin, width, m_buttonSize.y);
        x += width;
    }
    SetMinSize(DoGetBestSize());
    InvalidateBestSize();
    Refresh();
}

wxSize CToolBarEx::DoGetBestSize() const
{
    int width = m_tools.empty() ? 0 : m_tools.back().rect.GetRight() + 1;
    // The bottom border: an etched line under the buttons.
    return wxSize(width, m_buttonSize.y + 2 * kBarMargin + 2);
}

int CToolBarEx::FindButton(int id) const
{
    for (std::size_t i = 0; i < m_tools.size(); ++i)
        if (!m_tools[i].state.separator && m_tools[i].id == id) return static_cast<int>(i);
    return -1;
}

wxRect CToolBarEx::GetButtonRect(int index) const { return m_tools[static_cast<std::size_t>(index)].rect; }

void CToolBarEx::EnableTool(int id, bool enable)
{
    int index = FindButton(id);
    if (index < 0) return;
    ToolButtonState& state = m_tools[static_cast<std::size_t>(index)].state;
    // Only a change costs a redraw.
    if (state.enabled == enable) return;
    state.enabled = enable;
    if (!enable && m_tracker.GetHot() == index) ApplyHotChange(m_tracker.OnMouseMove(-1, States()));
    RedrawButton(index);
}

bool CToolBarEx::GetToolEnabled(int id) const
{
    int index = FindButton(id);
    return index >= 0 && m_tools[static_cast<std::size_t>(index)].state.enabled;
}

void CToolBarEx::UpdateWindowUI(long flags)
{
    wxControl::UpdateWindowUI(flags);
    for (const Tool& tool : m_tools) {
        if (tool.state.separator) continue;
        wxUpdateUIEvent event(tool.id);
        event.SetEventObject(this);
        if (GetEventHandler()->ProcessEvent(event) && event.GetSetEnabled()) EnableTool(tool.id, event.GetEnabled());
    }
}

std::vector<ToolButtonState> CToolBarEx::States() const
{
    std::vector<ToolButtonState> states;
    for (const Tool& tool : m_tools) states.push_back(tool.state);
    return states;
}

int CToolBarEx::ButtonAt(wxPoint point) const
{
    for (std::size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i].rect.Contains(point)) return static_cast<int>(i);
    return -1;
}

void CToolBarEx::RedrawButton(int index)
{
    if (index >= 0) RefreshRect(m_tools[static_cast<std::size_t>(index)].rect, false);
}

void CToolBarEx::ShowHelpOf(int index)
{
    wxFrame* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame);
    if (index < 0) {
        UnsetToolTip();
        if (frame) frame->DoGiveHelp(wxEmptyString, false);
        return;
    }
    const Tool& tool = m_tools[static_cast<std::size_t>(index)];
    SetToolTip(tool.shortHelp);
    if (frame) frame->DoGiveHelp(tool.longHelp, true);
}

void CToolBarEx::ApplyHotChange(const CHotTracker::Change& change)
{
    if (change.redrawOld >= 0 || change.redrawNew >= 0) {
        RedrawButton(change.redrawOld);
        RedrawButton(change.redrawNew);
        ShowHelpOf(m_tracker.GetHot());
    }
    if (change.startTimer) m_hoverTimer.Start(kHoverPeriodMs);
    if (change.stopTimer) m_hoverTimer.Stop();
}

void CToolBarEx::OnMotion(wxMouseEvent& event)
{
    int under = ButtonAt(event.GetPosition());
    ApplyHotChange(m_tracker.OnMouseMove(under, States()));
    if (m_nPressed >= 0) {
        // A pressed button looks pressed only while the mouse is over it.
        bool over = under == m_nPressed;
        ToolButtonState& state = m_tools[static_cast<std::size_t>(m_nPressed)].state;
        if (state.pressed != over) {
            state.pressed = over;
            RedrawButton(m_nPressed);
        }
    }
}

void CToolBarEx::OnLeftDown(wxMouseEvent& event)
{
    int under = ButtonAt(event.GetPosition());
    if (under < 0 || !CanBeHot(m_tools[static_cast<std::size_t>(under)].state)) return;
    m_nPressed = under;
    m_tools[static_cast<std::size_t>(under)].state.pressed = true;
    if (!HasCapture()) CaptureMouse();
    RedrawButton(under);
}

void CToolBarEx::OnLeftUp(wxMouseEvent& event)
{
    if (m_nPressed < 0) return;
    int pressed = std::exchange(m_nPressed, -1);
    if (HasCapture()) ReleaseMouse();
    Tool& tool = m_tools[static_cast<std::size_t>(pressed)];
    bool clicked = tool.state.pressed && tool.state.enabled && ButtonAt(event.GetPosition()) == pressed;
    tool.state.pressed = false;
    RedrawButton(pressed);
    if (!clicked) return;
    wxCommandEvent command(wxEVT_TOOL, tool.id);
    command.SetEventObject(this);
    ProcessWindowEvent(command);
}

void CToolBarEx::OnTimer(wxTimerEvent&)
{
    wxPoint mouse = ScreenToClient(wxGetMousePosition());
    ApplyHotChange(m_tracker.OnTimer(GetClientRect().Contains(mouse)));
}

void CToolBarEx::DrawEdge(wxDC& dc, const wxRect& rect, const wxColour& topLeft, const wxColour& bottomRight) const
{
    dc.SetPen(wxPen(topLeft));
    dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetLeft(), rect.GetTop());
    dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight(), rect.GetTop());
    dc.SetPen(wxPen(bottomRight));
    dc.DrawLine(rect.GetRight(), rect.GetTop(), rect.GetRight(), rect.GetBottom());
    dc.DrawLine(rect.GetRight(), rect.GetBottom(), rect.GetLeft() - 1, rect.GetBottom());
}

void CToolBarEx::DrawGripper(wxDC& dc) const
{
    wxSize size = GetClientSize();
    for (const UiRect& bar : GripperBars({size.x, size.y - 2}, true))
        DrawEdge(dc, wxRect(bar.left, bar.top, bar.Width(), bar.Height()), m_clrHighlight, m_clrShadow);
}

void CToolBarEx::DrawButton(wxDC& dc, const Tool& tool, bool hot) const
{
    const wxRect& rect = tool.rect;
    if (tool.state.separator) {
        if (!SeparatorShowsLine(rect.width)) return;
        UiRect line = SeparatorLine({rect.x, rect.y, rect.GetRight() + 1, rect.GetBottom() + 1});
        dc.SetPen(wxPen(m_clrShadow));
        dc.DrawLine(line.left, line.top, line.left, line.bottom);
        dc.SetPen(wxPen(m_clrHighlight));
        dc.DrawLine(line.left + 1, line.top, line.left + 1, line.bottom);
        return;
    }
    ToolButtonLook look = LookOf(tool.state, hot);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(look.fill == ToolFill::Light3D ? m_clrLight : m_clrFace));
    dc.DrawRectangle(rect);
    if (look.edge == ToolEdge::Raised) DrawEdge(dc, rect, m_clrHighlight, m_clrShadow);
    if (look.edge == ToolEdge::Sunken) DrawEdge(dc, rect, m_clrShadow, m_clrHighlight);
    if (look.innerFaceEdge) DrawEdge(dc, wxRect(rect).Deflate(1), m_clrFace, m_clrFace);

    int x = rect.x + m_imageOffset.cx + look.imageShift;
    int y = rect.y + m_imageOffset.cy + look.imageShift;
    wxSize image = tool.image.GetSize();
    x += (m_imageSize.x - image.x) / 2;
    if (look.embossed) {
        dc.DrawBitmap(tool.raised, x + 1, y + 1, true);
        dc.DrawBitmap(tool.engraved, x, y, true);
    } else {
        dc.DrawBitmap(tool.image, x, y, true);
    }

    dc.SetFont(m_textFont);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    wxSize text = dc.GetTextExtent(tool.caption);
    int textX = rect.x + (rect.width - text.x) / 2 + look.imageShift;
    int textY = rect.y + m_imageOffset.cy + m_imageSize.y + kCaptionGap + look.imageShift;
    if (look.embossed) {
        dc.SetTextForeground(m_clrHighlight);
        dc.DrawText(tool.caption, textX + 1, textY + 1);
        dc.SetTextForeground(m_clrShadow);
    } else {
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    }
    dc.DrawText(tool.caption, textX, textY);
}

void CToolBarEx::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    wxSize size = GetClientSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(m_clrFace));
    dc.DrawRectangle(wxRect(size));
    // The bottom border, etched.
    dc.SetPen(wxPen(m_clrShadow));
    dc.DrawLine(0, size.y - 2, size.x, size.y - 2);
    dc.SetPen(wxPen(m_clrHighlight));
    dc.DrawLine(0, size.y - 1, size.x, size.y - 1);
    DrawGripper(dc);
    wxRegion update = GetUpdateRegion();
    for (std::size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& tool = m_tools[i];
        if (tool.state.hidden || update.Contains(tool.rect) == wxOutRegion) continue;
        DrawButton(dc, tool, m_tracker.GetHot() == static_cast<int>(i));
    }
}

}  // namespace sw
