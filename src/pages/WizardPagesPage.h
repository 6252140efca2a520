#pragma once
// The Wizard Texts page: the texts of the installation wizard, page by page, and the
// title that replaces the #title macro in them.
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/textctrl.h>

#include "pages/PatchPage.h"
#include "pages/WizardTextList.h"

namespace sw {

class CWizardPagesPage : public CPatchPage {
public:
    CWizardPagesPage(wxWindow* parent, IPageHost& host);

    void UpdateFromProject() override;
    void CommitEdits() override { StoreTitle(); }

    // The combo's choice: shows the texts of that group.
    void SelectGroup(int group);
    // Starts the wizard test on the page of the selected group.
    void Preview();

    wxChoice* GetGroupCombo() { return m_pGroup; }
    wxTextCtrl* GetTitleEdit() { return m_pTitle; }
    wxButton* GetPreviewButton() { return m_pPreview; }
    CWizardTextList* GetTextList() { return m_pTexts; }

private:
    void StoreTitle();

    wxChoice* m_pGroup;
    wxTextCtrl* m_pTitle;
    wxButton* m_pPreview;
    CWizardTextList* m_pTexts;
};

}  // namespace sw
