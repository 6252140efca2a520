#pragma once
// Preferences: whether New starts the wizard, and which size columns the Build page's
// report shows. Read when the dialog is made, all written back on OK.
#include <array>

#include <wx/checkbox.h>
#include <wx/dialog.h>

#include "pages/Preferences.h"

namespace sw {

class CHelpLauncher;

class CPreferencesDialog : public wxDialog {
public:
    CPreferencesDialog(wxWindow* parent, IProfile& profile, CHelpLauncher& help);
    // The boxes in order: wizard, ratio, packed size, original size.
    wxCheckBox* Box(int index) { return m_boxes[static_cast<std::size_t>(index)]; }
    // What OK does: writes all four values.
    void Apply();

private:
    IProfile& m_profile;
    std::array<wxCheckBox*, 4> m_boxes{};
};

}  // namespace sw
