#pragma once
// The Files page: the source directory, the scan, the list of the project's files with the
// code of their options, and the file options sheet that edits the selected rows.
#include <functional>

#include <wx/checkbox.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "pages/OptSheet.h"
#include "pages/PatchPage.h"

namespace sw {

class CFilesPage : public CPatchPage, public IFileSelection {
public:
    // startBuild: makes the Build page active and builds (the sheet's Build).
    CFilesPage(wxWindow* parent, IPageHost& host, std::function<bool()> startBuild);

    void UpdateFromProject() override;
    void CommitEdits() override { CommitDirectory(); }

    // The directory edit's text, committed as when the edit loses the focus.
    void CommitDirectory();
    void SetIncludeSubdirs(bool include);
    void RescanDirectory();
    void SelectAll(bool select);

    wxListCtrl* GetFileList() { return m_pList; }
    wxTextCtrl* GetDirectoryEdit() { return m_pDirectory; }
    COptSheet* GetOptSheet() { return m_pOptSheet; }

    CData* GetData() override { return CPatchPage::GetData(); }
    std::vector<int> GetSelectedItems() override;
    void RefreshRow(int item) override;
    void SetModifiedFlag() override { CPatchPage::SetModifiedFlag(); }

private:
    // Scans the directory into the project and refills the list.
    void Scan(const std::string& directory);
    void FillList();
    void OnBrowse();
    void OnContextMenu(wxContextMenuEvent& event);
    void OnListSize(wxSizeEvent& event);
    void OnBuildTimer(wxTimerEvent& event);

    std::function<bool()> m_startBuild;
    wxTextCtrl* m_pDirectory;
    wxButton* m_pBrowse;
    wxCheckBox* m_pSubdirs;
    wxListCtrl* m_pList;
    COptSheet* m_pOptSheet;
    wxTimer m_buildTimer;
};

}  // namespace sw
