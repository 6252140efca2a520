#pragma once
// The two small dialogs of the Installation directory page: where the installer may read
// the directory from, a Registry key (dialog 147) or an INI file entry (dialog 154).
#include <functional>

#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "wizard/WizardRules.h"

namespace sw {

class CRegistryKeyDialog : public wxDialog {
public:
    CRegistryKeyDialog(wxWindow* parent, const RegistryKeyValues& values, std::function<void(int)> help);
    RegistryKeyValues GetValues() const;
    wxChoice* GetRootList() { return m_pRoot; }
    wxTextCtrl* GetKeyEdit() { return m_pKey; }
    wxTextCtrl* GetSubkeyEdit() { return m_pSubkey; }

private:
    wxChoice* m_pRoot;
    wxTextCtrl* m_pKey;
    wxTextCtrl* m_pSubkey;
};

class CIniFileDialog : public wxDialog {
public:
    CIniFileDialog(wxWindow* parent, const IniFileValues& values, std::function<void(int)> help);
    IniFileValues GetValues() const;
    wxTextCtrl* GetFileEdit() { return m_pFile; }
    wxTextCtrl* GetSectionEdit() { return m_pSection; }
    wxTextCtrl* GetEntryEdit() { return m_pEntry; }

private:
    wxTextCtrl* m_pFile;
    wxTextCtrl* m_pSection;
    wxTextCtrl* m_pEntry;
};

}  // namespace sw
