#include "app/AboutBox.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/ShellRules.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"
#include "ui/AboutCredits.h"
#include "ui/CaptionBand.h"

namespace sw {

void ShowAboutBox(wxWindow* parent)
{
    wxDialog dialog(parent, wxID_ANY, Wx(LoadString(IDS_ABOUT_TITLE)));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxStaticText(&dialog, wxID_ANY, Wx(DocTemplatePart(0)));
    name->SetFont(name->GetFont().Bold().Larger());
    sizer->Add(name, 0, wxALIGN_CENTER | wxALL, 12);
    sizer->Add(new wxStaticText(&dialog, wxID_ANY, Wx(LoadString(IDS_VERSION))), 0, wxALIGN_CENTER | wxLEFT | wxRIGHT, 12);
    sizer->Add(CreateAboutCredits(&dialog), 0, wxALIGN_CENTER | wxLEFT | wxRIGHT | wxTOP, 12);
    sizer->Add(new wxButton(&dialog, wxID_OK, Wx(LoadString(IDS_BUTTON_OK))), 0, wxALIGN_CENTER | wxALL, 12);
    dialog.SetSizerAndFit(sizer);
    AttachCaptionBand(&dialog);
    dialog.CentreOnParent();
    dialog.ShowModal();
}

}  // namespace sw
