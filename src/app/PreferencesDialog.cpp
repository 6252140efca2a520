#include "app/PreferencesDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "app/HelpLauncher.h"
#include "app/ShellRules.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"
#include "ui/CaptionBand.h"

namespace sw {

namespace {
constexpr int kDialogHelpId = 153;
constexpr std::size_t kWizardBox = 0;
}  // namespace

CPreferencesDialog::CPreferencesDialog(wxWindow* parent, IProfile& profile, CHelpLauncher& help)
    : wxDialog(parent, wxID_ANY, Wx(LoadString(IDS_PREFERENCES_TITLE))), m_profile(profile)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* general = new wxStaticBoxSizer(wxVERTICAL, this, Wx(LoadString(IDS_PREF_GENERAL_GROUP)));
    m_boxes[kWizardBox] = new wxCheckBox(general->GetStaticBox(), wxID_ANY, Wx(LoadString(IDS_PREF_START_WIZARD)));
    m_boxes[kWizardBox]->SetValue(GeneralSettings().Read(profile, PREF_WIZARD) != 0);
    general->Add(m_boxes[kWizardBox], 0, wxALL, 4);
    sizer->Add(general, 0, wxEXPAND | wxALL, 10);

    auto* output = new wxStaticBoxSizer(wxVERTICAL, this, Wx(LoadString(IDS_PREF_OUTPUT_GROUP)));
    const int labels[] = {IDS_PREF_DISPLAY_RATIO, IDS_PREF_DISPLAY_PACKED, IDS_PREF_DISPLAY_ORIGINAL};
    for (int i = 0; i < 3; ++i) {
        auto* box = new wxCheckBox(output->GetStaticBox(), wxID_ANY, Wx(LoadString(labels[i])));
        box->SetValue(OutputSettings().Read(profile, i) != 0);
        output->Add(box, 0, wxALL, 4);
        m_boxes[static_cast<std::size_t>(i) + 1] = box;
    }
    sizer->Add(output, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, wxID_OK, Wx(LoadString(IDS_BUTTON_OK))), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, Wx(LoadString(IDS_BUTTON_CANCEL))), 0, wxRIGHT, 6);
    auto* helpButton = new wxButton(this, wxID_HELP, Wx(LoadString(IDS_BUTTON_HELP)));
    buttons->Add(helpButton, 0);
    sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(sizer);
    AttachCaptionBand(this);

    auto showHelp = [this, &help] { help.ShowHelp(this, HelpPageForContext(kHelpContextBase + kDialogHelpId, true)); };
    helpButton->Bind(wxEVT_BUTTON, [showHelp](wxCommandEvent&) { showHelp(); });
    Bind(wxEVT_HELP, [showHelp](wxHelpEvent&) { showHelp(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        Apply();
        EndModal(wxID_OK);
    }, wxID_OK);
}

void CPreferencesDialog::Apply()
{
    GeneralSettings().Write(m_profile, PREF_WIZARD, m_boxes[kWizardBox]->GetValue() ? 1 : 0);
    for (int i = 0; i < 3; ++i) OutputSettings().Write(m_profile, i, m_boxes[static_cast<std::size_t>(i) + 1]->GetValue() ? 1 : 0);
}

}  // namespace sw
