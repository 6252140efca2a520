#include "pages/EditTextDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kEditTextHelpId = 155;
const wxSize kEditSize(480, 260);
}  // namespace

CEditTextDialog::CEditTextDialog(wxWindow* parent, IPageHost& host, const std::string& text)
    : wxDialog(parent, wxID_ANY, Wx(LoadString(IDS_EDIT_TEXT_TITLE)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    m_pEdit = new wxTextCtrl(this, wxID_ANY, Wx(text), wxDefaultPosition, FromDIP(kEditSize),
                             wxTE_MULTILINE | wxTE_PROCESS_ENTER | wxHSCROLL);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pEdit, 1, wxEXPAND | wxALL, 8);
    sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL | wxHELP), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(sizer);
    Bind(wxEVT_BUTTON, [&host](wxCommandEvent&) { host.ShowHelp(kEditTextHelpId); }, wxID_HELP);
    m_pEdit->SetFocus();
}

std::string CEditTextDialog::GetText() const { return Std(m_pEdit->GetValue()); }

}  // namespace sw
