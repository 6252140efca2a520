#include "pages/BuildPage.h"

#include <strings.h>

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "build/Builder.h"
#include "build/ReportColumns.h"
#include "build/RuntimeResources.h"
#include "pages/MessageBoxes.h"
#include "pages/ReportLayout.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

constexpr int kBuildPageHelpId = 136;
constexpr int kCmdClear = 32789;

// The platforms this program can build for: those whose installer runtime it carries.
struct PlatformChoice {
    int platform;
    int runtimeId;
    int labelId;
};
constexpr PlatformChoice kPlatforms[] = {
    {1, RES_INSTALLER, IDS_PLATFORM_WIN32},
    {2, RES_INSTALLER_64, IDS_PLATFORM_WIN64},
};

}  // namespace

CBuildPage::CBuildPage(wxWindow* parent, IPageHost& host) : CPatchPage(parent, host, kBuildPageHelpId)
{
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* platformBox = new wxStaticBoxSizer(wxHORIZONTAL, this, Wx(LoadString(IDS_PLATFORM_GROUP)));
    bool first = true;
    for (const PlatformChoice& choice : kPlatforms) {
        if (FindRuntimeResource(choice.runtimeId).empty()) continue;
        auto* button = new wxRadioButton(platformBox->GetStaticBox(), wxID_ANY, Wx(LoadString(choice.labelId)),
                                         wxDefaultPosition, wxDefaultSize, first ? wxRB_GROUP : 0);
        first = false;
        int platform = choice.platform;
        button->Bind(wxEVT_RADIOBUTTON, [this, platform](wxCommandEvent&) { OnPlatform(platform); });
        platformBox->Add(button, 0, wxALL, 4);
        m_platforms.emplace_back(platform, button);
    }
    top->Add(platformBox, 0, wxRIGHT, 8);
    top->AddStretchSpacer();
    m_pBuildButton = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_BUILD_BUTTON)));
    m_pBuildButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Build(); });
    top->Add(m_pBuildButton, 0, wxALIGN_BOTTOM);

    m_pList = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(400, 200), wxLC_REPORT | wxBORDER_SUNKEN);
    m_pList->AppendColumn(Wx(LoadString(IDS_COLUMN_FILE)), wxLIST_FORMAT_LEFT);
    m_pList->AppendColumn(Wx(LoadString(IDS_COLUMN_PACKED)), wxLIST_FORMAT_RIGHT);
    m_pList->AppendColumn(Wx(LoadString(IDS_COLUMN_SIZE)), wxLIST_FORMAT_RIGHT);
    m_pList->AppendColumn(Wx(LoadString(IDS_COLUMN_RATIO)), wxLIST_FORMAT_RIGHT);
    m_pList->Bind(wxEVT_SIZE, &CBuildPage::OnListSize, this);
    m_pList->Bind(wxEVT_CONTEXT_MENU, &CBuildPage::OnListContextMenu, this);

    auto* page = new wxBoxSizer(wxVERTICAL);
    page->Add(top, 0, wxEXPAND | wxALL, 8);
    page->Add(m_pList, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(page);
}

void CBuildPage::UpdateFromProject()
{
    int clientWidth = m_pList->GetClientSize().x;
    ReportColumnWidths widths = ComputeReportColumnWidths(
        clientWidth, m_host.GetProfile(), [this](const std::string& sample) { return m_pList->GetTextExtent(Wx(sample)).x; });
    m_pList->SetColumnWidth(0, widths.file);
    m_pList->SetColumnWidth(1, widths.packed);
    m_pList->SetColumnWidth(2, widths.size);
    m_pList->SetColumnWidth(3, widths.ratio);
    m_nListClientWidth = clientWidth;
    if (CData* data = GetData())
        for (auto& [platform, button] : m_platforms) button->SetValue(platform == data->m_nPlatform);
}

void CBuildPage::OnPlatform(int platform)
{
    CData* data = GetData();
    if (!data) return;
    data->m_nPlatform = platform;
    SetModifiedFlag();
}

void CBuildPage::OnListSize(wxSizeEvent& event)
{
    event.Skip();
    int clientWidth = m_pList->GetClientSize().x;
    if (event.GetSize().x > 0 && event.GetSize().y > 0 && m_nListClientWidth > 0)
        m_pList->SetColumnWidth(0, ResizedFileColumn(m_pList->GetColumnWidth(0), m_nListClientWidth, clientWidth));
    m_nListClientWidth = clientWidth;
}

void CBuildPage::OnListContextMenu(wxContextMenuEvent&)
{
    wxMenu menu;
    menu.Append(kCmdClear, Wx(LoadString(IDS_MENU_CLEAR)));
    menu.Enable(kCmdClear, m_pList->GetItemCount() > 0);
    if (m_pList->GetPopupMenuSelectionFromUser(menu) == kCmdClear) ClearReport();
}

void CBuildPage::ClearReport()
{
    m_pList->DeleteAllItems();
    m_nCurrentRow = -1;
}

bool CBuildPage::ChooseOutputFile(CData& data)
{
    if (data.m_bCommandLineBuild && !data.m_strOutputFile.empty()) return true;
    wxFileName current(Wx(data.m_strOutputFile));
    wxFileDialog dialog(this, wxEmptyString, current.GetPath(), current.GetFullName(),
                        Wx(DialogFilter(LoadString(IDS_EXE_FILE_FILTER))), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return false;
    wxFileName chosen(dialog.GetPath());
    if (!chosen.HasExt() && dialog.GetFilterIndex() == 0) chosen.SetExt("exe");
    std::string path = Std(chosen.GetFullPath());
    if (::strcasecmp(path.c_str(), data.m_strOutputFile.c_str()) != 0) {
        data.m_strOutputFile = path;
        SetModifiedFlag();
    }
    return !data.m_strOutputFile.empty();
}

bool CBuildPage::Build()
{
    CData* data = GetData();
    if (!data || m_bBuilding || !ChooseOutputFile(*data)) return false;
    bool built = false;
    m_bBuilding = true;
    m_pBuildButton->Disable();
    m_host.LockForBuild(true);
    ClearReport();
    Update();
    {
        CBuilder builder(m_host.GetBuildHost());
        built = builder.Build(*data, *this);
    }
    m_host.LockForBuild(false);
    m_pBuildButton->Enable();
    m_bBuilding = false;
    return built;
}

void CBuildPage::AddLine(const std::string& text)
{
    m_nCurrentRow = m_pList->InsertItem(m_pList->GetItemCount(), Wx(text));
    m_pList->EnsureVisible(m_nCurrentRow);
    m_pList->Update();
}

void CBuildPage::SetResult(int actionId, std::uint64_t size, std::uint64_t packedSize)
{
    if (m_nCurrentRow < 0) return;
    ResultColumns columns = FormatResultColumns(actionId, size, packedSize);
    m_pList->SetItem(m_nCurrentRow, 3, Wx(columns.ratio));
    m_pList->SetItem(m_nCurrentRow, 1, Wx(columns.packed));
    m_pList->SetItem(m_nCurrentRow, 2, Wx(columns.size));
}

}  // namespace sw
