#include "pages/WizardTextList.h"

#include <wx/menu.h>
#include <wx/statbox.h>

#include "pages/EditTextDialog.h"
#include "pages/ListSelection.h"
#include "pages/TextsPageRules.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kCmdEdit = 1;
constexpr int kCmdDefault = 2;
// Three lines of the longest descriptions at the page's narrowest.
constexpr int kUsageLines = 3;
}  // namespace

CWizardTextList::CWizardTextList(wxWindow* page, IPageHost& host)
    : wxListCtrl(page, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_EDIT_LABELS | wxBORDER_SUNKEN),
      m_host(host)
{
    AppendColumn(Wx(LoadString(IDS_COLUMN_TEXTS)));

    m_pUsageGroup = new wxStaticBoxSizer(wxVERTICAL, page, Wx(LoadString(IDS_USAGE_GROUP)));
    m_pUsage = new wxStaticText(m_pUsageGroup->GetStaticBox(), wxID_ANY, wxEmptyString, wxDefaultPosition,
                                wxDefaultSize, wxST_NO_AUTORESIZE);
    m_pUsage->SetMinSize(wxSize(-1, m_pUsage->GetCharHeight() * kUsageLines + 4));
    m_pUsageGroup->Add(m_pUsage, 0, wxEXPAND | wxALL, 4);
    // The description wraps at the group's width, which follows the page's.
    m_pUsage->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        UpdateUsage();
    });

    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        // Twice the visible width, so that long texts can be scrolled to.
        int width = GetClientSize().x * 2;
        if (width > 0) SetColumnWidth(0, width);
    });
    Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateUsage(); });
    Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateUsage(); });
    Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { EditSelected(); });
    Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CWizardTextList::OnBeginEdit, this);
    Bind(wxEVT_LIST_END_LABEL_EDIT, &CWizardTextList::OnEndEdit, this);
    Bind(wxEVT_CONTEXT_MENU, &CWizardTextList::OnContextMenu, this);
}

void CWizardTextList::ShowGroup(int group)
{
    m_nGroup = group;
    DeleteAllItems();
    if (CData* data = m_host.GetData())
        for (const std::string& label : GroupRowLabels(*data, group)) InsertItem(GetItemCount(), Wx(label));
    m_pUsage->SetLabel(wxEmptyString);
}

std::vector<int> CWizardTextList::GetSelectedRows() const
{
    std::vector<long> rows = SelectedRows(*this);
    return std::vector<int>(rows.begin(), rows.end());
}

void CWizardTextList::UpdateUsage()
{
    CData* data = m_host.GetData();
    long first = FirstSelectedRow(*this);
    std::string usage = data ? UsageText(*data, m_nGroup, static_cast<int>(first)) : std::string();
    m_pUsage->SetLabel(Wx(usage));
    int width = m_pUsage->GetClientSize().x;
    if (width > 0) m_pUsage->Wrap(width);
}

void CWizardTextList::EditSelected()
{
    if (!m_host.GetData()) return;
    long first = FirstSelectedRow(*this);
    if (first == -1) return;
    if (IsEditedInDialog(m_nGroup, static_cast<int>(first))) {
        EditInDialog(static_cast<int>(first));
        return;
    }
    SetFocus();
    EditLabel(first);
}

void CWizardTextList::EditInDialog(int row)
{
    CData* data = m_host.GetData();
    CEditTextDialog dialog(wxGetTopLevelParent(this), m_host, TextOf(*data, m_nGroup, row));
    if (dialog.ShowModal() != wxID_OK) return;
    // The dialog is modal, but the project may have been replaced while it was open.
    data = m_host.GetData();
    if (!data || !StoreText(*data, m_nGroup, row, dialog.GetText())) return;
    SetItemText(row, Wx(TextRowLabel(dialog.GetText())));
    m_host.SetModifiedFlag();
}

void CWizardTextList::OnBeginEdit(wxListEvent& event)
{
    if (!m_host.GetData() || IsEditedInDialog(m_nGroup, static_cast<int>(event.GetIndex()))) event.Veto();
}

void CWizardTextList::OnEndEdit(wxListEvent& event)
{
    // The row shows what the rules say, not the typed text as the control would.
    event.Veto();
    CData* data = m_host.GetData();
    if (event.IsEditCancelled() || !data) return;
    TextEditResult result = EndTextEdit(Std(event.GetLabel()));
    int row = static_cast<int>(event.GetIndex());
    if (!StoreText(*data, m_nGroup, row, result.stored)) return;
    SetItemText(row, Wx(result.label));
    m_host.SetModifiedFlag();
}

void CWizardTextList::ResetSelected()
{
    CData* data = m_host.GetData();
    if (!data) return;
    std::vector<RowLabel> labels = ResetTextsToDefault(*data, m_nGroup, GetSelectedRows());
    for (const RowLabel& label : labels) SetItemText(label.row, Wx(label.label));
    if (!labels.empty()) m_host.SetModifiedFlag();
}

void CWizardTextList::OnContextMenu(wxContextMenuEvent&)
{
    bool selected = HasSelectedRow(*this);
    wxMenu menu;
    menu.Append(kCmdEdit, Wx(LoadString(IDS_MENU_EDIT)));
    menu.Append(kCmdDefault, Wx(LoadString(IDS_MENU_DEFAULT)));
    menu.Enable(kCmdEdit, selected);
    menu.Enable(kCmdDefault, selected);
    switch (GetPopupMenuSelectionFromUser(menu)) {
    case kCmdEdit: EditSelected(); break;
    case kCmdDefault: ResetSelected(); break;
    default: break;
    }
}

}  // namespace sw
