#include "pages/InstallSheet.h"

#include "pages/BuildPage.h"
#include "pages/FilesPage.h"
#include "pages/OptionsPage.h"
#include "pages/UninstPage.h"
#include "pages/WizardPagesPage.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

CInstallSheet::CInstallSheet(wxWindow* parent, IPageHost& host) : wxNotebook(parent, wxID_ANY)
{
    m_pFilesPage = new CFilesPage(this, host, [this] { return Build(); });
    m_pWizardPagesPage = new CWizardPagesPage(this, host);
    m_pUninstPage = new CUninstPage(this, host);
    m_pOptionsPage = new COptionsPage(this, host);
    m_pBuildPage = new CBuildPage(this, host);
    m_pages = {m_pFilesPage, m_pWizardPagesPage, m_pOptionsPage, m_pUninstPage, m_pBuildPage};
    const int captions[] = {IDS_PAGE_FILES, IDS_PAGE_WIZARD_TEXTS, IDS_PAGE_WIZARD_OPTIONS, IDS_PAGE_UNINSTALLER, IDS_PAGE_BUILD};
    for (std::size_t i = 0; i < m_pages.size(); ++i) AddPage(m_pages[i], Wx(LoadString(captions[i])), i == 0);

    // What is being typed on a page is committed when the page is left.
    Bind(wxEVT_NOTEBOOK_PAGE_CHANGING, [this](wxBookCtrlEvent& event) {
        event.Skip();
        int old = event.GetOldSelection();
        if (old >= 0 && static_cast<std::size_t>(old) < m_pages.size()) m_pages[static_cast<std::size_t>(old)]->CommitEdits();
    });
    // The Build and Wizard Options pages reload from the project each time they come to the front.
    Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        event.Skip();
        CPatchPage* active = GetActivePage();
        if (active == m_pBuildPage || active == m_pOptionsPage) active->UpdateFromProject();
    });
}

CPatchPage* CInstallSheet::GetActivePage()
{
    int active = GetSelection();
    return active < 0 ? nullptr : m_pages[static_cast<std::size_t>(active)];
}

void CInstallSheet::UpdateAllPages()
{
    for (CPatchPage* page : m_pages) page->UpdateFromProject();
    ClearReport();
}

void CInstallSheet::RedrawAllPages()
{
    for (CPatchPage* page : m_pages) page->RedrawPage();
}

bool CInstallSheet::Build()
{
    SetSelection(m_pages.size() - 1);
    return m_pBuildPage->Build();
}

void CInstallSheet::CommitEdits()
{
    if (CPatchPage* active = GetActivePage()) active->CommitEdits();
}

void CInstallSheet::ClearReport() { m_pBuildPage->ClearReport(); }

}  // namespace sw
