#pragma once
// The base of the main sheet's pages: reload from the project, redraw after the
// preferences changed, and context help on F1.
#include <wx/panel.h>

#include "pages/PageHost.h"

namespace sw {

class CPatchPage : public wxPanel {
public:
    CPatchPage(wxWindow* parent, IPageHost& host, int helpId);

    virtual void UpdateFromProject() {}
    virtual void RedrawPage() { Refresh(); }
    // Writes what is being typed into the project, as when its edit loses the focus: the
    // page is left, saved or tested while an edit still has the focus.
    virtual void CommitEdits() {}
    int GetHelpId() const { return m_nHelpId; }

protected:
    CData* GetData() { return m_host.GetData(); }
    void SetModifiedFlag() { m_host.SetModifiedFlag(); }

    IPageHost& m_host;

private:
    void OnHelp(wxHelpEvent& event);
    int m_nHelpId;
};

}  // namespace sw
