#include "app/CannotFindDirDialog.h"

#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/HelpLauncher.h"
#include "app/ShellRules.h"
#include "pages/FilesPageRules.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kDialogHelpId = 170;
constexpr int kTextWidth = 360;
}  // namespace

CCannotFindDirDialog::CCannotFindDirDialog(wxWindow* parent, const std::string& directory, CHelpLauncher& help)
    : wxDialog(parent, wxID_ANY, Wx(LoadString(IDS_CANNOT_FIND_DIR_TITLE)))
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* text = new wxStaticText(this, wxID_ANY, Wx(LoadString(IDS_CANNOT_FIND_DIR_TEXT)));
    text->Wrap(kTextWidth);
    sizer->Add(text, 0, wxALL, 10);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_pEdit = new wxTextCtrl(this, wxID_ANY, Wx(directory));
    auto* browse = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_ELLIPSIS_BUTTON)), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    row->Add(m_pEdit, 1, wxRIGHT, 4);
    row->Add(browse, 0);
    sizer->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK, Wx(LoadString(IDS_BUTTON_OK))));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Wx(LoadString(IDS_BUTTON_CANCEL))));
    buttons->Realize();
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(sizer);

    m_pEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { CheckDirectory(); });
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxDirDialog picker(this, Wx(LoadString(IDS_CHOOSE_DIRECTORY)), m_pEdit->GetValue());
        if (picker.ShowModal() == wxID_OK) SetDirectoryText(Std(picker.GetPath()));
    });
    Bind(wxEVT_HELP, [this, &help](wxHelpEvent&) {
        help.ShowHelp(this, HelpPageForContext(kHelpContextBase + kDialogHelpId, true));
    });
    CheckDirectory();
    m_pEdit->SetFocus();
}

void CCannotFindDirDialog::SetDirectoryText(const std::string& text)
{
    m_pEdit->SetValue(Wx(text));  // validates through the text event
}

bool CCannotFindDirDialog::IsOkEnabled() const { return FindWindow(wxID_OK)->IsEnabled(); }

void CCannotFindDirDialog::CheckDirectory()
{
    std::string text = Std(m_pEdit->GetValue());
    bool exists = false;
    if (!text.empty()) {
        m_strResult = NormalizeDirectoryText(text);
        exists = wxDirExists(Wx(m_strResult));
    }
    FindWindow(wxID_OK)->Enable(exists);
}

}  // namespace sw
