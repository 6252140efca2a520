#pragma once
// The list of one group's wizard texts, shared by the Wizard Texts and Uninstaller pages:
// rows in their one-line form, in-place editing, the information text's dialog, the
// "Texts" menu with Edit and Default, and the "Usage" group that describes the first
// selected text.
#include <vector>

#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "pages/PageHost.h"

namespace sw {

class CWizardTextList : public wxListCtrl {
public:
    CWizardTextList(wxWindow* page, IPageHost& host);

    // The "Usage" group, to be placed by the page below the list.
    wxStaticBoxSizer* GetUsageGroup() { return m_pUsageGroup; }
    wxStaticText* GetUsageText() { return m_pUsage; }

    // Fills the rows from the group's texts and clears the usage text.
    void ShowGroup(int group);
    int GetGroup() const { return m_nGroup; }

    // Edit: the information text in its dialog, any other first selected row in place.
    void EditSelected();
    // Default: every selected row back to its default text.
    void ResetSelected();
    std::vector<int> GetSelectedRows() const;

private:
    void OnBeginEdit(wxListEvent& event);
    void OnEndEdit(wxListEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void UpdateUsage();
    void EditInDialog(int row);

    IPageHost& m_host;
    int m_nGroup = 0;
    wxStaticBoxSizer* m_pUsageGroup;
    wxStaticText* m_pUsage;
};

}  // namespace sw
