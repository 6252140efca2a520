#pragma once
// "Edit Text": the long information text in a multi-line edit, where Enter starts a new line.
#include <string>

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "pages/PageHost.h"

namespace sw {

class CEditTextDialog : public wxDialog {
public:
    CEditTextDialog(wxWindow* parent, IPageHost& host, const std::string& text);

    std::string GetText() const;
    wxTextCtrl* GetEdit() { return m_pEdit; }

private:
    wxTextCtrl* m_pEdit;
};

}  // namespace sw
