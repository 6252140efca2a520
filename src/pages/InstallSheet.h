#pragma once
// The main sheet: five tabs (Files, Wizard Texts, Wizard Options, Uninstaller, Build) on
// which the project is edited in place.
#include <vector>

#include <wx/notebook.h>

#include "pages/PatchPage.h"

namespace sw {

class CFilesPage;
class CWizardPagesPage;
class CUninstPage;
class COptionsPage;
class CBuildPage;

class CInstallSheet : public wxNotebook {
public:
    CInstallSheet(wxWindow* parent, IPageHost& host);

    // Every page reloads itself from the project; the report starts empty.
    void UpdateAllPages();
    // After the preferences changed.
    void RedrawAllPages();
    // Makes the Build page active and builds; true when the program was written.
    bool Build();
    void ClearReport();
    // The active page writes what is being typed into the project (before a save or a test).
    void CommitEdits();

    CFilesPage* GetFilesPage() { return m_pFilesPage; }
    CWizardPagesPage* GetWizardPagesPage() { return m_pWizardPagesPage; }
    COptionsPage* GetOptionsPage() { return m_pOptionsPage; }
    CUninstPage* GetUninstPage() { return m_pUninstPage; }
    CBuildPage* GetBuildPage() { return m_pBuildPage; }
    CPatchPage* GetActivePage();

private:
    std::vector<CPatchPage*> m_pages;  // in tab order
    CFilesPage* m_pFilesPage;
    CWizardPagesPage* m_pWizardPagesPage;
    CUninstPage* m_pUninstPage;
    COptionsPage* m_pOptionsPage;
    CBuildPage* m_pBuildPage;
};

}  // namespace sw
