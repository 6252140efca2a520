#include "pages/OptSheet.h"

#include <wx/button.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textwrapper.h>
#include <wx/valtext.h>

#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

constexpr int kCmdRootOfStartMenu = 1;
constexpr int kCmdStartupMenu = 2;
// The check boxes' texts are long; they wrap inside the sheet.
constexpr int kCheckBoxWidth = 260;

wxTextCtrl* AddLabelledEdit(wxWindow* page, wxSizer* sizer, int labelId, long style = 0)
{
    sizer->Add(new wxStaticText(page, wxID_ANY, Wx(LoadString(labelId))), 0, wxLEFT | wxRIGHT | wxTOP, 6);
    auto* edit = new wxTextCtrl(page, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, style);
    sizer->Add(edit, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
    return edit;
}

// A check box label broken into lines at word boundaries.
class CLabelWrapper : public wxTextWrapper {
public:
    wxString Wrapped(wxWindow* window, const wxString& text, int width)
    {
        Wrap(window, text, width);
        return m_text;
    }

protected:
    void OnOutputLine(const wxString& line) override { m_text += line; }
    void OnNewLine() override { m_text += '\n'; }

private:
    wxString m_text;
};

wxCheckBox* AddCheckBox(wxWindow* page, wxSizer* sizer, int labelId)
{
    wxString label = CLabelWrapper().Wrapped(page, Wx(LoadString(labelId)), kCheckBoxWidth);
    auto* box = new wxCheckBox(page, wxID_ANY, label);
    sizer->Add(box, 0, wxLEFT | wxRIGHT | wxTOP, 6);
    return box;
}

void SetFieldText(wxTextCtrl* edit, const std::string& text, bool enabled)
{
    edit->ChangeValue(Wx(text));
    edit->Enable(enabled);
}

}  // namespace

COptSheet::COptSheet(wxWindow* parent, IFileSelection& selection) : wxNotebook(parent, wxID_ANY)
{
    m_pages = {new CFileOptIcon(this, selection), new CFileOptShortCut(this, selection),
               new CFileOptEndPage(this, selection), new CFileOptAdv(this, selection)};
    const int captions[] = {IDS_OPT_PAGE_START_MENU, IDS_OPT_PAGE_SHORTCUT, IDS_OPT_PAGE_VIEW_RUN, IDS_OPT_PAGE_ADVANCED};
    for (std::size_t i = 0; i < m_pages.size(); ++i) AddPage(m_pages[i], Wx(LoadString(captions[i])), i == 0);
    Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        event.Skip();
        RefreshActivePage();
    });
}

void COptSheet::RefreshActivePage()
{
    int active = GetSelection();
    if (active >= 0) m_pages[static_cast<std::size_t>(active)]->Fill();
}

void COptPage::Changed(const std::vector<int>& items)
{
    if (items.empty()) return;
    for (int item : items) m_selection.RefreshRow(item);
    m_selection.SetModifiedFlag();
}

CFileOptIcon::CFileOptIcon(wxWindow* parent, IFileSelection& selection) : COptPage(parent, selection)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, Wx(LoadString(IDS_OPT_FOLDER))), 0, wxLEFT | wxRIGHT | wxTOP, 6);
    auto* folderRow = new wxBoxSizer(wxHORIZONTAL);
    m_pFolder = new wxTextCtrl(this, wxID_ANY);
    m_pMacro = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_MACRO_BUTTON)), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    folderRow->Add(m_pFolder, 1, wxRIGHT, 4);
    folderRow->Add(m_pMacro, 0);
    sizer->Add(folderRow, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
    m_pName = AddLabelledEdit(this, sizer, IDS_OPT_NAME);
    m_pArgs = AddLabelledEdit(this, sizer, IDS_OPT_COMMAND_LINE);
    m_pIconNumber = AddLabelledEdit(this, sizer, IDS_OPT_ICON_NUMBER);
    m_pIconNumber->SetValidator(wxTextValidator(wxFILTER_DIGITS));
    SetSizer(sizer);

    m_pFolder->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnFolderText(); });
    m_pName->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnText(FileText::iconName, m_pName); });
    m_pArgs->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnText(FileText::iconArgs, m_pArgs); });
    m_pIconNumber->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnText(FileText::iconNumber, m_pIconNumber); });
    m_pMacro->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnMacroButton(); });
}

void CFileOptIcon::Fill()
{
    CData* data = m_selection.GetData();
    StartMenuFields fields = data ? FillStartMenuPage(data->m_files, m_selection.GetSelectedItems()) : StartMenuFields{};
    m_bUpdating = true;
    SetFieldText(m_pFolder, fields.folder, fields.folderEnabled);
    m_pMacro->Enable(fields.folderEnabled);
    SetFieldText(m_pName, fields.name, fields.singleEnabled);
    SetFieldText(m_pArgs, fields.args, fields.singleEnabled);
    SetFieldText(m_pIconNumber, fields.iconNumber, fields.singleEnabled);
    m_bUpdating = false;
}

void CFileOptIcon::OnFolderText()
{
    CData* data = m_selection.GetData();
    if (m_bUpdating || !data) return;
    Changed(SetIconFolder(data->m_files, m_selection.GetSelectedItems(), Std(m_pFolder->GetValue())));
}

void CFileOptIcon::OnText(FileText field, wxTextCtrl* edit)
{
    CData* data = m_selection.GetData();
    if (m_bUpdating || !data) return;
    std::vector<int> selected = m_selection.GetSelectedItems();
    if (SetSingleFileText(data->m_files, selected, field, Std(edit->GetValue()))) Changed(selected);
}

void CFileOptIcon::OnMacroButton()
{
    wxMenu menu;
    menu.Append(kCmdRootOfStartMenu, Wx(LoadString(IDS_MENU_ROOT_OF_START_MENU)));
    menu.Append(kCmdStartupMenu, Wx(LoadString(IDS_MENU_STARTUP_MENU)));
    int chosen = GetPopupMenuSelectionFromUser(menu);
    if (chosen != kCmdRootOfStartMenu && chosen != kCmdStartupMenu) return;
    FolderMacro macro = chosen == kCmdRootOfStartMenu ? FolderMacro::startMenuRoot : FolderMacro::startup;
    m_pFolder->SetValue(Wx(AppendFolderMacro(Std(m_pFolder->GetValue()), macro)));
}

CFileOptShortCut::CFileOptShortCut(wxWindow* parent, IFileSelection& selection) : COptPage(parent, selection)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_pName = AddLabelledEdit(this, sizer, IDS_OPT_SHORTCUT_NAME);
    m_pArgs = AddLabelledEdit(this, sizer, IDS_OPT_COMMAND_LINE);
    SetSizer(sizer);
    auto bindEdit = [this](wxTextCtrl* edit, FileText field) {
        edit->Bind(wxEVT_TEXT, [this, edit, field](wxCommandEvent&) {
            CData* data = m_selection.GetData();
            if (m_bUpdating || !data) return;
            std::vector<int> selected = m_selection.GetSelectedItems();
            if (SetSingleFileText(data->m_files, selected, field, Std(edit->GetValue()))) Changed(selected);
        });
    };
    bindEdit(m_pName, FileText::shortcutName);
    bindEdit(m_pArgs, FileText::shortcutArgs);
}

void CFileOptShortCut::Fill()
{
    CData* data = m_selection.GetData();
    ShortcutFields fields = data ? FillShortcutPage(data->m_files, m_selection.GetSelectedItems()) : ShortcutFields{};
    m_bUpdating = true;
    SetFieldText(m_pName, fields.name, fields.enabled);
    SetFieldText(m_pArgs, fields.args, fields.enabled);
    m_bUpdating = false;
}

CFileOptEndPage::CFileOptEndPage(wxWindow* parent, IFileSelection& selection) : COptPage(parent, selection)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_pView = AddCheckBox(this, sizer, IDS_OPT_ADD_VIEW_BUTTON);
    m_pRun = AddCheckBox(this, sizer, IDS_OPT_ADD_RUN_CHECK);
    SetSizer(sizer);
    m_pView->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnClick(1); });
    m_pRun->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnClick(2); });
}

void CFileOptEndPage::Fill()
{
    CData* data = m_selection.GetData();
    EndPageBoxes boxes = data ? FillEndPagePage(data->m_files, m_selection.GetSelectedItems()) : EndPageBoxes{};
    m_pView->SetValue(boxes.view);
    m_pRun->SetValue(boxes.run);
    m_pView->Enable(boxes.enabled);
    m_pRun->Enable(boxes.enabled);
}

void CFileOptEndPage::OnClick(int action)
{
    CData* data = m_selection.GetData();
    if (!data) return;
    bool checked = Box(action)->GetValue();
    if (checked) Box(action == 1 ? 2 : 1)->SetValue(false);
    Changed(ClickEndPageBox(data->m_files, m_selection.GetSelectedItems(), action, checked));
}

CFileOptAdv::CFileOptAdv(wxWindow* parent, IFileSelection& selection) : COptPage(parent, selection)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    const int labels[BOX_COUNT] = {IDS_OPT_WINDOWS_DIR,       IDS_OPT_SYSTEM_DIR,     IDS_OPT_FONTS_DIR,
                                   IDS_OPT_USAGE_COUNT,       IDS_OPT_DO_NOT_UNINSTALL, IDS_OPT_DO_NOT_INSTALL,
                                   IDS_OPT_SCREEN_SAVER,      IDS_OPT_REGISTER_OCX};
    // Shown by group: destination, then registration, then the usage count and install state.
    const AdvancedBox order[BOX_COUNT] = {BOX_WINDOWS,      BOX_SYSTEM,       BOX_FONTS,   BOX_SCREEN_SAVER,
                                          BOX_REGISTER_OCX, BOX_USAGE_COUNT,  BOX_NO_INSTALL, BOX_NO_UNINSTALL};
    for (AdvancedBox box : order) {
        m_boxes[static_cast<std::size_t>(box)] = AddCheckBox(this, sizer, labels[box]);
        m_boxes[static_cast<std::size_t>(box)]->Bind(wxEVT_CHECKBOX, [this, box](wxCommandEvent&) { OnClick(box); });
    }
    SetSizer(sizer);
}

void CFileOptAdv::Fill()
{
    CData* data = m_selection.GetData();
    std::vector<int> selected = m_selection.GetSelectedItems();
    AdvancedBoxes boxes = FillAdvancedPage(data ? SummarizeSelection(data->m_files, selected) : OptionSummary{},
                                           data && !selected.empty());
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->SetValue(boxes.checked[i]);
        m_boxes[i]->Enable(boxes.enabled[i]);
    }
}

void CFileOptAdv::OnClick(AdvancedBox box)
{
    CData* data = m_selection.GetData();
    std::vector<int> selected = m_selection.GetSelectedItems();
    if (!data || selected.empty()) return;
    AdvancedBoxes boxes;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) boxes.checked[i] = m_boxes[i]->GetValue();
    OptionWrite write = ClickAdvancedBox(boxes, box);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) m_boxes[i]->SetValue(boxes.checked[i]);
    if (SetOptionForSelection(data->m_files, selected, write.option, write.value)) Changed(selected);
    if (write.option == OPT_TARGET_DIR) Fill();
}

}  // namespace sw
