#pragma once
// "Cannot find directory": asks for the source directory of an opened project that is not
// where the project says. OK is enabled only while the typed directory exists.
#include <string>

#include <wx/dialog.h>
#include <wx/textctrl.h>

namespace sw {

class CHelpLauncher;

class CCannotFindDirDialog : public wxDialog {
public:
    CCannotFindDirDialog(wxWindow* parent, const std::string& directory, CHelpLauncher& help);
    // The directory chosen, with a trailing separator.
    const std::string& GetDirectory() const { return m_strResult; }
    void SetDirectoryText(const std::string& text);
    bool IsOkEnabled() const;

private:
    void CheckDirectory();
    wxTextCtrl* m_pEdit;
    std::string m_strResult;
};

}  // namespace sw
