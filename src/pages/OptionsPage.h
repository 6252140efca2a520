#pragma once
// The Wizard Options page: the installer window's mode and look, the default installation
// directory with its macros, and where the installer reads and writes that directory.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "pages/OptionsPageRules.h"
#include "pages/PatchPage.h"

namespace sw {

class COptionsPage : public CPatchPage {
public:
    COptionsPage(wxWindow* parent, IPageHost& host);

    void UpdateFromProject() override;
    void CommitEdits() override { StoreEdits(); }

    // What the controls do when clicked or chosen.
    void SetWindowMode(int mode);
    void SetDirFlag(DirFlagBox box, bool checked);
    void SetRegRoot(int root);
    void AppendMacro(DirMacro macro);
    void Preview();

    wxRadioButton* GetModeButton(int mode) { return mode == 0 ? m_pSmall : m_pNormal; }
    wxTextCtrl* GetWizardBitmapEdit() { return m_pWizardBitmap; }
    wxButton* GetWizardBitmapButton() { return m_pWizardBitmapBrowse; }
    wxTextCtrl* GetBackgroundBitmapEdit() { return m_pBackgroundBitmap; }
    wxButton* GetBackgroundBitmapButton() { return m_pBackgroundBitmapBrowse; }
    wxTextCtrl* GetBackgroundTitleEdit() { return m_pBackgroundTitle; }
    wxTextCtrl* GetFontEdit() { return m_pFont; }
    wxButton* GetFontButton() { return m_pFontBrowse; }
    wxButton* GetPreviewButton() { return m_pPreview; }
    wxTextCtrl* GetDefaultDirEdit() { return m_pDefaultDir; }
    wxCheckBox* GetDirFlagBox(DirFlagBox box);
    wxChoice* GetRootCombo() { return m_pRoot; }
    wxTextCtrl* GetRegKeyEdit() { return m_pRegKey; }
    wxTextCtrl* GetRegValueEdit() { return m_pRegValue; }
    wxTextCtrl* GetIniFileEdit() { return m_pIniFile; }
    wxTextCtrl* GetIniSectionEdit() { return m_pIniSection; }
    wxTextCtrl* GetIniEntryEdit() { return m_pIniEntry; }

private:
    wxSizer* CreateWindowGroup();
    wxSizer* CreateDirectoryGroup();
    wxTextCtrl* NewEdit(wxWindow* parent);
    void EnableBackgroundControls(int mode);
    void StoreEdits();
    void BrowseBitmap(wxTextCtrl* edit, std::string CData::* field);
    void ChooseFont();
    void ShowMacroMenu();

    wxRadioButton* m_pSmall = nullptr;
    wxRadioButton* m_pNormal = nullptr;
    wxTextCtrl* m_pWizardBitmap = nullptr;
    wxButton* m_pWizardBitmapBrowse = nullptr;
    wxTextCtrl* m_pBackgroundBitmap = nullptr;
    wxButton* m_pBackgroundBitmapBrowse = nullptr;
    wxTextCtrl* m_pBackgroundTitle = nullptr;
    wxTextCtrl* m_pFont = nullptr;
    wxButton* m_pFontBrowse = nullptr;
    wxButton* m_pPreview = nullptr;
    wxTextCtrl* m_pDefaultDir = nullptr;
    wxButton* m_pMacro = nullptr;
    wxCheckBox* m_pReadOnly = nullptr;
    wxChoice* m_pRoot = nullptr;
    wxTextCtrl* m_pRegKey = nullptr;
    wxTextCtrl* m_pRegValue = nullptr;
    wxCheckBox* m_pUpdateKey = nullptr;
    wxTextCtrl* m_pIniFile = nullptr;
    wxTextCtrl* m_pIniSection = nullptr;
    wxTextCtrl* m_pIniEntry = nullptr;
    wxCheckBox* m_pUpdateEntry = nullptr;
};

}  // namespace sw
