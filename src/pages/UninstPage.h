#pragma once
// The Uninstaller page: the uninstall program's file name and Start-menu icon, the
// registry keys it removes, and its texts.
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "pages/KeyListRules.h"
#include "pages/PatchPage.h"
#include "pages/WizardTextList.h"

namespace sw {

class CUninstPage : public CPatchPage {
public:
    CUninstPage(wxWindow* parent, IPageHost& host);

    void UpdateFromProject() override;
    void CommitEdits() override { StoreEdits(); }

    // The key commands: a new key edited in place, the first selected key edited in
    // place, every selected key removed.
    void AddKey();
    void EditKey();
    void RemoveKeys();

    wxTextCtrl* GetNameEdit() { return m_pName; }
    wxTextCtrl* GetIconFolderEdit() { return m_pIconFolder; }
    wxTextCtrl* GetIconNameEdit() { return m_pIconName; }
    wxListCtrl* GetKeyList() { return m_pKeys; }
    wxButton* GetRemoveButton() { return m_pRemove; }
    CWizardTextList* GetTextList() { return m_pTexts; }

private:
    void StoreEdits();
    void FillKeys();
    // After rows went: each row's item data from m_keyRows again.
    void SyncKeyRows();
    void UpdateRemoveButton();
    void OnKeyEditEnd(wxListEvent& event);
    void OnKeyMenu(wxContextMenuEvent& event);
    void OnKeyListSize(wxSizeEvent& event);

    wxTextCtrl* m_pName;
    wxTextCtrl* m_pIconFolder;
    wxTextCtrl* m_pIconName;
    wxListCtrl* m_pKeys;
    wxButton* m_pAdd;
    wxButton* m_pEdit;
    wxButton* m_pRemove;
    CWizardTextList* m_pTexts;
    KeyRowIndexes m_keyRows;  // item data of the key rows, in row order
    long m_nAddedRow = -1;    // the row Add created, while its first edit runs
};

}  // namespace sw
