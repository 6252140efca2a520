#include "pages/PatchPage.h"

#include <wx/cshelp.h>

namespace sw {

CPatchPage::CPatchPage(wxWindow* parent, IPageHost& host, int helpId)
    : wxPanel(parent, wxID_ANY), m_host(host), m_nHelpId(helpId)
{
    Bind(wxEVT_HELP, &CPatchPage::OnHelp, this);
}

void CPatchPage::OnHelp(wxHelpEvent&) { m_host.ShowHelp(m_nHelpId); }

}  // namespace sw
