#pragma once
// The main window's flat toolbar: buttons show a border only under the mouse, a gripper
// marks the bar's leading edge, disabled images are embossed and each button carries its
// caption under the image.
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/timer.h>

#include "ui/ToolBarRules.h"

namespace sw {

class CToolBarEx : public wxControl {
public:
    // Hover tracking: notices that the mouse left the bar between two moves.
    static constexpr int kHoverTimerId = 1;
    static constexpr int kHoverPeriodMs = 250;

    explicit CToolBarEx(wxWindow* parent, wxWindowID id = wxID_ANY);

    // shortHelp: tooltip; longHelp: the status-bar text while the button is hot.
    void AddTool(int id, const wxString& caption, const wxBitmap& image, const wxString& shortHelp, const wxString& longHelp);
    void AddSeparator();
    // Sizes the buttons to the largest caption and image; call after the last AddTool.
    void Realize();
    void EnableTool(int id, bool enable);
    bool GetToolEnabled(int id) const;
    // Index of the hot button, -1 for none; and where a button is, for the tests.
    int GetHotButton() const { return m_tracker.GetHot(); }
    int FindButton(int id) const;
    wxRect GetButtonRect(int index) const;

    // The commands decide the buttons' enabling, as they do for the menu.
    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;

private:
    struct Tool {
        int id = 0;
        wxString caption;
        wxString shortHelp;
        wxString longHelp;
        wxBitmap image;
        // The embossed image, in the highlight and in the shadow colour.
        wxBitmap raised;
        wxBitmap engraved;
        ToolButtonState state;
        wxRect rect;
    };

    int ButtonAt(wxPoint point) const;
    std::vector<ToolButtonState> States() const;
    void RedrawButton(int index);
    void ApplyHotChange(const CHotTracker::Change& change);
    void ShowHelpOf(int index);
    void ReadColours();

    void OnPaint(wxPaintEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);

    void DrawGripper(wxDC& dc) const;
    void DrawButton(wxDC& dc, const Tool& tool, bool hot) const;
    void DrawEdge(wxDC& dc, const wxRect& rect, const wxColour& topLeft, const wxColour& bottomRight) const;

    std::vector<Tool> m_tools;
    CHotTracker m_tracker;
    wxTimer m_hoverTimer;
    int m_nPressed = -1;
    wxSize m_buttonSize;
    wxSize m_imageSize;
    UiSize m_imageOffset;
    wxColour m_clrFace;
    wxColour m_clrHighlight;
    wxColour m_clrShadow;
    wxColour m_clrLight;
    wxFont m_textFont;
};

}  // namespace sw
