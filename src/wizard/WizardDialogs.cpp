#include "wizard/WizardDialogs.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "pages/WxText.h"
#include "platform/StringTable.h"
#include "ui/CaptionBand.h"

namespace sw {

namespace {

constexpr int kEditWidth = 260;

wxTextCtrl* AddRow(wxDialog* dialog, wxFlexGridSizer* grid, int labelId, const std::string& value)
{
    grid->Add(new wxStaticText(dialog, wxID_ANY, Wx(LoadString(labelId))), 0, wxALIGN_CENTER_VERTICAL);
    auto* edit = new wxTextCtrl(dialog, wxID_ANY, Wx(value), wxDefaultPosition, wxSize(dialog->FromDIP(kEditWidth), -1));
    grid->Add(edit, 1, wxEXPAND);
    return edit;
}

// OK, Cancel and Help below the rows; Help asks for the dialog's own page.
void FinishLayout(wxDialog* dialog, wxSizer* rows, int helpId, std::function<void(int)> help)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(rows, 1, wxEXPAND | wxALL, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(dialog, wxID_OK, Wx(LoadString(IDS_BUTTON_OK))), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(dialog, wxID_CANCEL, Wx(LoadString(IDS_BUTTON_CANCEL))), 0, wxRIGHT, 6);
    auto* helpButton = new wxButton(dialog, wxID_HELP, Wx(LoadString(IDS_BUTTON_HELP)));
    buttons->Add(helpButton, 0);
    sizer->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    dialog->SetSizerAndFit(sizer);
    AttachCaptionBand(dialog);  // painted while the dialog is open
    auto showHelp = [help, helpId] {
        if (help) help(helpId);
    };
    helpButton->Bind(wxEVT_BUTTON, [showHelp](wxCommandEvent&) { showHelp(); });
    dialog->Bind(wxEVT_HELP, [showHelp](wxHelpEvent&) { showHelp(); });
    dialog->SetAffirmativeId(wxID_OK);
}

}  // namespace

CRegistryKeyDialog::CRegistryKeyDialog(wxWindow* parent, const RegistryKeyValues& values, std::function<void(int)> help)
    : wxDialog(parent, wxID_ANY, Wx(LoadString(IDS_REGISTRY_KEY_TITLE)))
{
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(this, wxID_ANY, Wx(LoadString(IDS_ROOT_KEY_LABEL))), 0, wxALIGN_CENTER_VERTICAL);
    m_pRoot = new wxChoice(this, wxID_ANY);
    for (const std::string& name : RegistryRootNames()) m_pRoot->Append(Wx(name));
    if (values.root >= 0 && values.root < static_cast<int>(m_pRoot->GetCount())) m_pRoot->SetSelection(values.root);
    grid->Add(m_pRoot, 1, wxEXPAND);
    m_pKey = AddRow(this, grid, IDS_KEY_LABEL, values.key);
    m_pSubkey = AddRow(this, grid, IDS_SUBKEY_LABEL, values.subkey);
    FinishLayout(this, grid, WIZ_REGISTRY_KEY_DIALOG, std::move(help));
}

RegistryKeyValues CRegistryKeyDialog::GetValues() const
{
    return {m_pRoot->GetSelection() == wxNOT_FOUND ? 0 : m_pRoot->GetSelection(), Std(m_pKey->GetValue()),
            Std(m_pSubkey->GetValue())};
}

CIniFileDialog::CIniFileDialog(wxWindow* parent, const IniFileValues& values, std::function<void(int)> help)
    : wxDialog(parent, wxID_ANY, Wx(LoadString(IDS_INI_FILE_TITLE)))
{
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    grid->AddGrowableCol(1);
    m_pFile = AddRow(this, grid, IDS_INI_FILE_LABEL, values.file);
    m_pSection = AddRow(this, grid, IDS_INI_SECTION_LABEL, values.section);
    m_pEntry = AddRow(this, grid, IDS_INI_ENTRY_LABEL, values.entry);
    FinishLayout(this, grid, WIZ_INI_FILE_DIALOG, std::move(help));
}

IniFileValues CIniFileDialog::GetValues() const
{
    return {Std(m_pFile->GetValue()), Std(m_pSection->GetValue()), Std(m_pEntry->GetValue())};
}

}  // namespace sw
