#include "pages/InstallSheet.h"

#include "pages/BuildPage.h"
#include "pages/FilesPage.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
// Help numbers of the pages that come with the next issue and are empty until then.
constexpr int kWizardTextsHelpId = 132;
constexpr int kWizardOptionsHelpId = 131;
constexpr int kUninstallerHelpId = 169;
}  // namespace

CInstallSheet::CInstallSheet(wxWindow* parent, IPageHost& host) : wxNotebook(parent, wxID_ANY)
{
    m_pFilesPage = new CFilesPage(this, host, [this] { return Build(); });
    m_pBuildPage = new CBuildPage(this, host);
    m_pages = {m_pFilesPage, new CPatchPage(this, host, kWizardTextsHelpId), new CPatchPage(this, host, kWizardOptionsHelpId),
               new CPatchPage(this, host, kUninstallerHelpId), m_pBuildPage};
    const int captions[] = {IDS_PAGE_FILES, IDS_PAGE_WIZARD_TEXTS, IDS_PAGE_WIZARD_OPTIONS, IDS_PAGE_UNINSTALLER, IDS_PAGE_BUILD};
    for (std::size_t i = 0; i < m_pages.size(); ++i) AddPage(m_pages[i], Wx(LoadString(captions[i])), i == 0);

    // A directory being typed is committed when the Files page is left.
    Bind(wxEVT_NOTEBOOK_PAGE_CHANGING, [this](wxBookCtrlEvent& event) {
        event.Skip();
        if (event.GetOldSelection() == 0) m_pFilesPage->CommitDirectory();
    });
    Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        event.Skip();
        if (GetActivePage() == m_pBuildPage) m_pBuildPage->UpdateFromProject();
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

void CInstallSheet::ClearReport() { m_pBuildPage->ClearReport(); }

}  // namespace sw
