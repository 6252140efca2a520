#include "pages/FilesPage.h"

#include <unistd.h>

#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "pages/FilesPageRules.h"
#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

constexpr int kFilesPageHelpId = 160;
constexpr int kBuildTimerId = 11;
constexpr int kBuildTimerDelayMs = 100;
constexpr int kCmdSelectAll = 1;
constexpr int kCmdUnselect = 2;
constexpr int kCmdRefresh = 3;
constexpr int kOptionsColumnPadding = 8;
// Wide enough for the four tabs of the options sheet side by side.
const wxSize kOptSheetMinSize(400, 300);

std::string WithoutTrailingSeparators(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

CFilesPage::CFilesPage(wxWindow* parent, IPageHost& host, std::function<bool()> startBuild)
    : CPatchPage(parent, host, kFilesPageHelpId), m_startBuild(std::move(startBuild)), m_buildTimer(this, kBuildTimerId)
{
    m_pList = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(300, 200), wxLC_REPORT | wxBORDER_SUNKEN);
    m_pList->AppendColumn(Wx(LoadString(IDS_COLUMN_FILES)));
    m_pList->AppendColumn(Wx(LoadString(IDS_COLUMN_OPTIONS)));
    m_pList->SetColumnWidth(1, m_pList->GetTextExtent(Wx(LoadString(IDS_COLUMN_OPTIONS)) + "####").x + kOptionsColumnPadding);

    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(new wxStaticText(this, wxID_ANY, Wx(LoadString(IDS_FILES_DIRECTORY_LABEL))), 0, wxBOTTOM, 2);
    auto* directoryRow = new wxBoxSizer(wxHORIZONTAL);
    m_pDirectory = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    m_pBrowse = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_BROWSE)));
    directoryRow->Add(m_pDirectory, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    directoryRow->Add(m_pBrowse, 0);
    right->Add(directoryRow, 0, wxEXPAND);
    m_pSubdirs = new wxCheckBox(this, wxID_ANY, Wx(LoadString(IDS_INCLUDE_SUBDIRS)));
    right->Add(m_pSubdirs, 0, wxTOP, 6);
    right->AddStretchSpacer();
    auto* optionsBox = new wxStaticBoxSizer(wxVERTICAL, this, Wx(LoadString(IDS_FILE_OPTIONS_GROUP)));
    m_pOptSheet = new COptSheet(optionsBox->GetStaticBox(), *this);
    m_pOptSheet->SetMinSize(FromDIP(kOptSheetMinSize));
    optionsBox->Add(m_pOptSheet, 1, wxEXPAND | wxALL, 4);
    right->Add(optionsBox, 0, wxEXPAND | wxTOP, 8);

    auto* page = new wxBoxSizer(wxHORIZONTAL);
    page->Add(m_pList, 1, wxEXPAND | wxALL, 8);
    page->Add(right, 0, wxEXPAND | wxTOP | wxBOTTOM | wxRIGHT, 8);
    SetSizer(page);

    m_pDirectory->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        CommitDirectory();
    });
    m_pDirectory->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { CommitDirectory(); });
    m_pBrowse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBrowse(); });
    m_pSubdirs->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { SetIncludeSubdirs(m_pSubdirs->GetValue()); });
    m_pList->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { m_pOptSheet->RefreshActivePage(); });
    m_pList->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { m_pOptSheet->RefreshActivePage(); });
    m_pList->Bind(wxEVT_CONTEXT_MENU, &CFilesPage::OnContextMenu, this);
    m_pList->Bind(wxEVT_SIZE, &CFilesPage::OnListSize, this);
    Bind(wxEVT_TIMER, &CFilesPage::OnBuildTimer, this, kBuildTimerId);
}

void CFilesPage::UpdateFromProject()
{
    CData* data = GetData();
    if (!data) return;
    m_pDirectory->ChangeValue(Wx(data->m_strSourceDir));
    m_pSubdirs->SetValue(data->m_bIncludeSubdirs != 0);
    if (data->m_bApplyWizardResults) {
        data->m_bApplyWizardResults = 0;
        Scan(data->m_strSourceDir);
        ApplyWizardChoices(*data);
        FillList();
    } else if (!data->m_strSourceDir.empty()) {
        Scan(data->m_strSourceDir);
    } else {
        FillList();
    }
    m_pOptSheet->RefreshActivePage();
    if (data->m_bBuildPending) {
        data->m_bBuildPending = 0;
        m_buildTimer.StartOnce(kBuildTimerDelayMs);
    }
}

void CFilesPage::OnBuildTimer(wxTimerEvent&)
{
    if (!IsShown()) {
        m_buildTimer.StartOnce(kBuildTimerDelayMs);  // the build waits until the page is shown
        return;
    }
    bool built = m_startBuild();
    CData* data = GetData();
    if (data && data->m_bCommandLineBuild) m_host.PostExit(built);
}

void CFilesPage::Scan(const std::string& directory)
{
    CData* data = GetData();
    if (!data) return;
    if (!directory.empty() && ::chdir(directory.c_str()) != 0)
        ShowMessageBox(FormatText(LoadString(IDS_CANNOT_FIND_DIRECTORY), directory), MB_OK | MB_ICONINFORMATION);
    {
        wxBusyCursor wait;
        ScanSourceDirectory(*data, directory, &m_host.GetScanHost());
    }
    m_pDirectory->ChangeValue(Wx(directory));
    FillList();
}

void CFilesPage::FillList()
{
    m_pList->DeleteAllItems();
    CData* data = GetData();
    if (data) {
        for (int index : FileRowOrder(data->m_files)) {
            const CFileItem& item = data->m_files[static_cast<std::size_t>(index)];
            long row = m_pList->InsertItem(m_pList->GetItemCount(), Wx(item.m_strName));
            m_pList->SetItem(row, 1, Wx(item.GetOptionsCode()));
            m_pList->SetItemData(row, index);
        }
    }
    m_pOptSheet->RefreshActivePage();
}

std::vector<int> CFilesPage::GetSelectedItems()
{
    std::vector<int> items;
    for (long row = m_pList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = m_pList->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        items.push_back(static_cast<int>(m_pList->GetItemData(row)));
    return items;
}

void CFilesPage::RefreshRow(int item)
{
    CData* data = GetData();
    if (!data || item < 0 || static_cast<std::size_t>(item) >= data->m_files.size()) return;
    long row = m_pList->FindItem(-1, static_cast<wxUIntPtr>(item));
    if (row != -1) m_pList->SetItem(row, 1, Wx(data->m_files[static_cast<std::size_t>(item)].GetOptionsCode()));
}

void CFilesPage::CommitDirectory()
{
    CData* data = GetData();
    if (!data) return;
    std::string directory = NormalizeDirectoryText(Std(m_pDirectory->GetValue()));
    if (directory == data->m_strSourceDir) return;
    Scan(directory);
    SetModifiedFlag();
}

void CFilesPage::OnBrowse()
{
    CData* data = GetData();
    if (!data) return;
    wxDirDialog dialog(this, Wx(LoadString(IDS_CHOOSE_DIRECTORY)), Wx(WithoutTrailingSeparators(data->m_strSourceDir)),
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty()) return;
    Scan(NormalizeDirectoryText(Std(dialog.GetPath())));
    SetModifiedFlag();
}

void CFilesPage::SetIncludeSubdirs(bool include)
{
    CData* data = GetData();
    if (!data) return;
    m_pSubdirs->SetValue(include);
    if ((data->m_bIncludeSubdirs != 0) == include) return;
    data->m_bIncludeSubdirs = include ? 1 : 0;
    Scan(data->m_strSourceDir);
    SetModifiedFlag();
}

void CFilesPage::RescanDirectory()
{
    CData* data = GetData();
    if (!data) return;
    Scan(data->m_strSourceDir);
    SetModifiedFlag();
}

void CFilesPage::SelectAll(bool select)
{
    for (long row = 0; row < m_pList->GetItemCount(); ++row)
        m_pList->SetItemState(row, select ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    m_pOptSheet->RefreshActivePage();
}

void CFilesPage::OnContextMenu(wxContextMenuEvent&)
{
    FilesMenuState state = GetFilesMenuState(m_pList->GetItemCount(), m_pList->GetSelectedItemCount());
    wxMenu menu;
    menu.Append(kCmdSelectAll, Wx(LoadString(IDS_MENU_SELECT_ALL)));
    menu.Append(kCmdUnselect, Wx(LoadString(IDS_MENU_UNSELECT)));
    menu.AppendSeparator();
    menu.Append(kCmdRefresh, Wx(LoadString(IDS_MENU_REFRESH)));
    menu.Enable(kCmdSelectAll, state.selectAll);
    menu.Enable(kCmdUnselect, state.unselect);
    switch (m_pList->GetPopupMenuSelectionFromUser(menu)) {
    case kCmdSelectAll: SelectAll(true); break;
    case kCmdUnselect: SelectAll(false); break;
    case kCmdRefresh: RescanDirectory(); break;
    default: break;
    }
}

void CFilesPage::OnListSize(wxSizeEvent& event)
{
    event.Skip();
    int clientWidth = m_pList->GetClientSize().x;
    int fileWidth = clientWidth - m_pList->GetColumnWidth(1);
    if (fileWidth > 0) m_pList->SetColumnWidth(0, fileWidth);
}

}  // namespace sw
