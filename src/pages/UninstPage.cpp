#include "pages/UninstPage.h"

#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "pages/FieldStore.h"
#include "pages/ListSelection.h"
#include "pages/TextsPageRules.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kUninstallerHelpId = 169;
constexpr int kCmdAdd = 1;
constexpr int kCmdEdit = 2;
constexpr int kCmdRemove = 3;
constexpr int kGap = 8;
const wxSize kEditSize(260, -1);
const wxSize kKeyListSize(-1, 110);

}  // namespace

CUninstPage::CUninstPage(wxWindow* parent, IPageHost& host) : CPatchPage(parent, host, kUninstallerHelpId)
{
    m_pName = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, FromDIP(kEditSize), wxTE_PROCESS_ENTER);
    m_pIconFolder = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, FromDIP(kEditSize), wxTE_PROCESS_ENTER);
    m_pIconName = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, FromDIP(kEditSize), wxTE_PROCESS_ENTER);
    auto* fields = new wxFlexGridSizer(2, wxSize(kGap, kGap / 2));
    const std::pair<int, wxTextCtrl*> edits[] = {{IDS_UNINST_FILENAME_LABEL, m_pName},
                                                 {IDS_UNINST_ICON_FOLDER_LABEL, m_pIconFolder},
                                                 {IDS_UNINST_ICON_NAME_LABEL, m_pIconName}};
    for (auto [label, edit] : edits) {
        fields->Add(new wxStaticText(this, wxID_ANY, Wx(LoadString(label))), 0, wxALIGN_CENTER_VERTICAL);
        fields->Add(edit, 0);
        edit->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
            event.Skip();
            StoreEdits();
        });
        edit->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { StoreEdits(); });
    }

    m_pKeys = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, FromDIP(kKeyListSize),
                             wxLC_REPORT | wxLC_EDIT_LABELS | wxBORDER_SUNKEN);
    m_pKeys->AppendColumn(Wx(LoadString(IDS_COLUMN_REG_KEYS)));
    m_pAdd = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_ADD)));
    m_pEdit = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_MENU_EDIT)));
    m_pRemove = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_REMOVE)));
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    for (wxButton* button : {m_pAdd, m_pEdit, m_pRemove}) buttons->Add(button, 0, wxEXPAND | wxBOTTOM, kGap / 2);
    auto* keys = new wxBoxSizer(wxHORIZONTAL);
    keys->Add(m_pKeys, 1, wxRIGHT, kGap);
    keys->Add(buttons, 0);

    m_pTexts = new CWizardTextList(this, host);
    m_pTexts->ShowGroup(kUninstallerTextGroup);

    auto* page = new wxBoxSizer(wxVERTICAL);
    page->Add(fields, 0, wxALL, kGap);
    page->Add(keys, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kGap);
    page->Add(m_pTexts, 1, wxEXPAND | wxLEFT | wxRIGHT, kGap);
    page->Add(m_pTexts->GetUsageGroup(), 0, wxEXPAND | wxALL, kGap);
    SetSizer(page);

    m_pAdd->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddKey(); });
    m_pEdit->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EditKey(); });
    m_pRemove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveKeys(); });
    m_pKeys->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { EditKey(); });
    m_pKeys->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateRemoveButton(); });
    m_pKeys->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateRemoveButton(); });
    m_pKeys->Bind(wxEVT_LIST_KEY_DOWN, [this](wxListEvent& event) {
        if (event.GetKeyCode() == WXK_DELETE) RemoveKeys();
        else event.Skip();
    });
    m_pKeys->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, [this](wxListEvent& event) {
        if (!GetData()) event.Veto();
    });
    m_pKeys->Bind(wxEVT_LIST_END_LABEL_EDIT, &CUninstPage::OnKeyEditEnd, this);
    m_pKeys->Bind(wxEVT_CONTEXT_MENU, &CUninstPage::OnKeyMenu, this);
    m_pKeys->Bind(wxEVT_SIZE, &CUninstPage::OnKeyListSize, this);
    UpdateRemoveButton();
}

void CUninstPage::UpdateFromProject()
{
    CData* data = GetData();
    if (!data) return;
    m_pName->ChangeValue(Wx(data->m_strUninstallerName));
    m_pIconFolder->ChangeValue(Wx(data->m_strUninstallIconFolder));
    m_pIconName->ChangeValue(Wx(data->m_strUninstallIconName));
    m_pTexts->ShowGroup(kUninstallerTextGroup);
    FillKeys();
}

void CUninstPage::StoreEdits()
{
    CData* data = GetData();
    if (!data) return;
    bool stored = StoreIfDifferent(data->m_strUninstallerName, Std(m_pName->GetValue()));
    stored = StoreIfDifferent(data->m_strUninstallIconFolder, Std(m_pIconFolder->GetValue())) || stored;
    stored = StoreIfDifferent(data->m_strUninstallIconName, Std(m_pIconName->GetValue())) || stored;
    if (stored) SetModifiedFlag();
}

void CUninstPage::FillKeys()
{
    m_pKeys->DeleteAllItems();
    m_nAddedRow = -1;
    CData* data = GetData();
    if (!data) return;
    m_keyRows = KeyRowsFor(data->m_regKeysToRemove);
    for (std::size_t row = 0; row < m_keyRows.size(); ++row) {
        long item = m_pKeys->InsertItem(static_cast<long>(row), Wx(data->m_regKeysToRemove[row]));
        m_pKeys->SetItemData(item, m_keyRows[row]);
    }
}

void CUninstPage::SyncKeyRows()
{
    for (std::size_t row = 0; row < m_keyRows.size() && static_cast<long>(row) < m_pKeys->GetItemCount(); ++row)
        m_pKeys->SetItemData(static_cast<long>(row), m_keyRows[row]);
}

void CUninstPage::UpdateRemoveButton() { m_pRemove->Enable(HasSelectedRow(*m_pKeys)); }

void CUninstPage::AddKey()
{
    CData* data = GetData();
    if (!data) return;
    std::size_t row = AddKeyRow(data->m_regKeysToRemove, m_keyRows);
    long item = m_pKeys->InsertItem(static_cast<long>(row), wxEmptyString);
    m_pKeys->SetItemData(item, m_keyRows[row]);
    m_nAddedRow = item;
    m_pKeys->SetFocus();
    m_pKeys->EnsureVisible(item);
    m_pKeys->EditLabel(item);
}

void CUninstPage::EditKey()
{
    long first = FirstSelectedRow(*m_pKeys);
    if (!GetData() || first == -1) return;
    m_pKeys->SetFocus();
    m_pKeys->EditLabel(first);
}

void CUninstPage::RemoveKeys()
{
    CData* data = GetData();
    if (!data) return;
    std::vector<long> rows = SelectedRows(*m_pKeys);
    if (!rows.empty()) {
        RemoveKeyRows(data->m_regKeysToRemove, m_keyRows, std::vector<std::size_t>(rows.begin(), rows.end()));
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) m_pKeys->DeleteItem(*row);
        SyncKeyRows();
        SetModifiedFlag();
    }
    UpdateRemoveButton();
}

void CUninstPage::OnKeyEditEnd(wxListEvent& event)
{
    // The list shows the trimmed key, or loses the row: done here, not by the control.
    event.Veto();
    long row = event.GetIndex();
    bool added = row == m_nAddedRow;
    m_nAddedRow = -1;
    bool cancelled = event.IsEditCancelled();
    // An empty key must not reach the uninstaller, where it would name a whole root: a
    // cancelled first edit of an added key takes the key away again, as a blank one does.
    if (cancelled && !added) return;
    std::string typed = cancelled ? std::string() : Std(event.GetLabel());
    // After the control has closed its editor, since the row may go.
    CallAfter([this, row, typed] {
        CData* data = GetData();
        if (!data || row < 0 || row >= m_pKeys->GetItemCount()) return;
        std::optional<std::string> key = EndKeyEdit(data->m_regKeysToRemove, m_keyRows, static_cast<std::size_t>(row), typed);
        if (key) {
            m_pKeys->SetItemText(row, Wx(*key));
        } else {
            m_pKeys->DeleteItem(row);
            SyncKeyRows();
        }
        UpdateRemoveButton();
        SetModifiedFlag();
    });
}

void CUninstPage::OnKeyMenu(wxContextMenuEvent&)
{
    bool selected = HasSelectedRow(*m_pKeys);
    wxMenu menu;
    menu.Append(kCmdAdd, Wx(LoadString(IDS_ADD)));
    menu.Append(kCmdEdit, Wx(LoadString(IDS_MENU_EDIT)));
    menu.Append(kCmdRemove, Wx(LoadString(IDS_REMOVE)));
    menu.Enable(kCmdEdit, selected);
    menu.Enable(kCmdRemove, selected);
    switch (m_pKeys->GetPopupMenuSelectionFromUser(menu)) {
    case kCmdAdd: AddKey(); break;
    case kCmdEdit: EditKey(); break;
    case kCmdRemove: RemoveKeys(); break;
    default: break;
    }
}

void CUninstPage::OnKeyListSize(wxSizeEvent& event)
{
    event.Skip();
    // The column fills the list, leaving room for a vertical scroll bar.
    int width = m_pKeys->GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, m_pKeys);
    if (width > 0) m_pKeys->SetColumnWidth(0, width);
}

}  // namespace sw
