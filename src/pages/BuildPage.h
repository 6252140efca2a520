#pragma once
// The Build page: the Build button, the platforms whose runtimes the program carries, and
// the report of the last build in four columns (file, packed, size, ratio).
#include <vector>

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>

#include "build/BuildHost.h"
#include "pages/PatchPage.h"

namespace sw {

class CBuildPage : public CPatchPage, public IBuildReport {
public:
    CBuildPage(wxWindow* parent, IPageHost& host);

    void UpdateFromProject() override;
    void RedrawPage() override { UpdateFromProject(); }

    // Asks for the output file (unless the command line set it), locks the window and
    // builds. Does nothing without a project or while a build runs. True when the
    // installation program was written.
    bool Build();
    void ClearReport();
    bool IsBuilding() const { return m_bBuilding; }
    wxListCtrl* GetReportList() { return m_pList; }

    void AddLine(const std::string& text) override;
    void SetResult(int actionId, std::uint64_t size, std::uint64_t packedSize) override;

private:
    bool ChooseOutputFile(CData& data);
    void OnPlatform(int platform);
    void OnListSize(wxSizeEvent& event);
    void OnListContextMenu(wxContextMenuEvent& event);

    wxButton* m_pBuildButton;
    std::vector<std::pair<int, wxRadioButton*>> m_platforms;  // platform value, its button
    wxListCtrl* m_pList;
    long m_nCurrentRow = -1;
    int m_nListClientWidth = 0;
    bool m_bBuilding = false;
};

}  // namespace sw
