#pragma once
// The window's caption as this program draws it: a band across the top of the window with
// the caption colour fading to black at the left, the window's icon and its title. The
// window manager draws the real title bar on Linux, so the band sits in the client area.
#include <wx/bitmap.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include "ui/CaptionCache.h"

namespace sw {

class CCaptionBand : public wxWindow {
public:
    // A child of `owner` showing its title; put it at the top of the owner's sizer.
    explicit CCaptionBand(wxTopLevelWindow* owner);

    bool AcceptsFocus() const override { return false; }
    bool IsActiveLook() const { return m_bActive; }
    // The text as the band shows it (cut with an ellipsis when too long).
    wxString GetShownText() const { return m_strShownText; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnOwnerActivate(wxActivateEvent& event);
    void OnIdle(wxIdleEvent& event);
    wxBitmap DrawCaption(bool active, wxSize size);

    wxTopLevelWindow* m_pOwner;
    bool m_bActive;
    CCaptionCache m_cache;
    wxBitmap m_bitmaps[2];
    wxString m_strTitle;
    wxString m_strShownText;
};

// Puts a caption band above everything a dialog's sizer holds and fits the dialog again.
// Nothing happens, and null comes back, for a window without a caption.
CCaptionBand* AttachCaptionBand(wxTopLevelWindow* window);

}  // namespace sw
