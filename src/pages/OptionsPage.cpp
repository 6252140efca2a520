#include "pages/OptionsPage.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/fontdlg.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

constexpr int kOptionsHelpId = 131;
constexpr int kGap = 8;
constexpr int kRootKeyCount = 4;
constexpr int kSmallWindow = 0;
constexpr int kNormalWindow = 1;
constexpr int kDirectoryPage = 2;  // the page the Preview starts on
const wxSize kEditSize(220, -1);

struct MacroItem {
    int id;
    int labelId;
    DirMacro macro;
};
constexpr MacroItem kMacroItems[] = {
    {1, IDS_MENU_WINDOWS_DIR, DirMacro::windows},
    {2, IDS_MENU_SYSTEM_DIR, DirMacro::system},
    {3, IDS_MENU_PROGRAM_FILES_DIR, DirMacro::programFiles},
};

wxFont FontOf(const LogFont& description)
{
    FontChoice choice = FontChoiceOf(description);
    wxFont font(wxFontInfo(wxSize(0, choice.pixelHeight)).FaceName(Wx(choice.faceName)).Italic(choice.italic));
    font.SetNumericWeight(choice.weight);
    return font;
}

FontChoice ChoiceOf(const wxFont& font)
{
    return {Std(font.GetFaceName()), font.GetPixelSize().y, font.GetNumericWeight(), font.GetStyle() != wxFONTSTYLE_NORMAL};
}

wxStaticText* Label(wxWindow* parent, int id) { return new wxStaticText(parent, wxID_ANY, Wx(LoadString(id))); }

// An edit with its "..." or ">" button on one row.
wxSizer* WithButton(wxTextCtrl* edit, wxButton* button)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(edit, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap / 2);
    row->Add(button, 0, wxALIGN_CENTER_VERTICAL);
    return row;
}

wxButton* SmallButton(wxWindow* parent, int labelId)
{
    return new wxButton(parent, wxID_ANY, Wx(LoadString(labelId)), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
}

// The labelled fields of a group, labels left, with the group's check box below them.
void AddFieldRows(wxStaticBoxSizer* group, std::initializer_list<std::pair<int, wxWindow*>> rows, wxCheckBox* check)
{
    auto* fields = new wxFlexGridSizer(2, wxSize(kGap, kGap / 2));
    fields->AddGrowableCol(1);
    for (auto [label, control] : rows) {
        fields->Add(Label(group->GetStaticBox(), label), 0, wxALIGN_CENTER_VERTICAL);
        fields->Add(control, 1, wxEXPAND);
    }
    group->Add(fields, 0, wxEXPAND | wxALL, kGap / 2);
    group->Add(check, 0, wxALL, kGap / 2);
}

}  // namespace

COptionsPage::COptionsPage(wxWindow* parent, IPageHost& host) : CPatchPage(parent, host, kOptionsHelpId)
{
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(CreateWindowGroup(), 0, wxEXPAND);
    m_pPreview = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_PREVIEW)));
    left->Add(m_pPreview, 0, wxTOP, kGap);
    auto* page = new wxBoxSizer(wxHORIZONTAL);
    page->Add(left, 1, wxALL, kGap);
    page->Add(CreateDirectoryGroup(), 1, wxTOP | wxBOTTOM | wxRIGHT, kGap);
    SetSizer(page);

    m_pSmall->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { SetWindowMode(kSmallWindow); });
    m_pNormal->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { SetWindowMode(kNormalWindow); });
    m_pWizardBitmapBrowse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BrowseBitmap(m_pWizardBitmap, &CData::m_strWizardBitmap); });
    m_pBackgroundBitmapBrowse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        BrowseBitmap(m_pBackgroundBitmap, &CData::m_strBackgroundBitmap);
    });
    m_pFontBrowse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ChooseFont(); });
    m_pPreview->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Preview(); });
    m_pMacro->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ShowMacroMenu(); });
    m_pRoot->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { SetRegRoot(m_pRoot->GetSelection()); });
    for (DirFlagBox box : {DirFlagBox::readOnly, DirFlagBox::updateKey, DirFlagBox::updateEntry}) {
        GetDirFlagBox(box)->Bind(wxEVT_CHECKBOX, [this, box](wxCommandEvent& event) { SetDirFlag(box, event.IsChecked()); });
    }
    for (wxTextCtrl* edit : {m_pWizardBitmap, m_pDefaultDir, m_pBackgroundBitmap, m_pBackgroundTitle, m_pRegKey,
                             m_pRegValue, m_pIniFile, m_pIniSection, m_pIniEntry})
        edit->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
            event.Skip();
            StoreEdits();
        });
}

wxTextCtrl* COptionsPage::NewEdit(wxWindow* parent)
{
    return new wxTextCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, FromDIP(kEditSize));
}

wxSizer* COptionsPage::CreateWindowGroup()
{
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, Wx(LoadString(IDS_WINDOW_GROUP)));
    wxWindow* box = group->GetStaticBox();
    m_pSmall = new wxRadioButton(box, wxID_ANY, Wx(LoadString(IDS_WINDOW_SMALL)), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pNormal = new wxRadioButton(box, wxID_ANY, Wx(LoadString(IDS_WINDOW_NORMAL)));
    m_pWizardBitmap = NewEdit(box);
    m_pWizardBitmapBrowse = SmallButton(box, IDS_ELLIPSIS_BUTTON);
    m_pBackgroundBitmap = NewEdit(box);
    m_pBackgroundBitmapBrowse = SmallButton(box, IDS_ELLIPSIS_BUTTON);
    m_pBackgroundTitle = NewEdit(box);
    m_pFont = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, FromDIP(kEditSize), wxTE_READONLY);
    m_pFontBrowse = SmallButton(box, IDS_ELLIPSIS_BUTTON);

    group->Add(m_pSmall, 0, wxALL, kGap / 2);
    group->Add(m_pNormal, 0, wxLEFT | wxRIGHT | wxBOTTOM, kGap / 2);
    const int flags = wxEXPAND | wxLEFT | wxRIGHT;
    group->Add(Label(box, IDS_WIZARD_BITMAP_LABEL), 0, flags | wxTOP, kGap / 2);
    group->Add(WithButton(m_pWizardBitmap, m_pWizardBitmapBrowse), 0, flags, kGap / 2);
    group->Add(Label(box, IDS_BACKGROUND_PATTERN_LABEL), 0, flags | wxTOP, kGap / 2);
    group->Add(WithButton(m_pBackgroundBitmap, m_pBackgroundBitmapBrowse), 0, flags, kGap / 2);
    group->Add(Label(box, IDS_BACKGROUND_TITLE_LABEL), 0, flags | wxTOP, kGap / 2);
    group->Add(m_pBackgroundTitle, 0, flags, kGap / 2);
    group->Add(Label(box, IDS_TITLE_FONT_LABEL), 0, flags | wxTOP, kGap / 2);
    group->Add(WithButton(m_pFont, m_pFontBrowse), 0, flags | wxBOTTOM, kGap / 2);
    return group;
}

wxSizer* COptionsPage::CreateDirectoryGroup()
{
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, Wx(LoadString(IDS_INSTALL_DIR_GROUP)));
    wxWindow* box = group->GetStaticBox();
    m_pReadOnly = new wxCheckBox(box, wxID_ANY, Wx(LoadString(IDS_DIR_READ_ONLY)));
    m_pDefaultDir = NewEdit(box);
    m_pMacro = SmallButton(box, IDS_MACRO_BUTTON);
    auto* defaultRow = new wxBoxSizer(wxHORIZONTAL);
    defaultRow->Add(Label(box, IDS_DEFAULT_DIR_LABEL), 1, wxALIGN_CENTER_VERTICAL);
    defaultRow->Add(m_pReadOnly, 0, wxALIGN_CENTER_VERTICAL);
    group->Add(defaultRow, 0, wxEXPAND | wxALL, kGap / 2);
    group->Add(WithButton(m_pDefaultDir, m_pMacro), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kGap / 2);

    auto* registry = new wxStaticBoxSizer(wxVERTICAL, box, Wx(LoadString(IDS_FROM_REGISTRY_GROUP)));
    wxWindow* registryBox = registry->GetStaticBox();
    m_pRoot = new wxChoice(registryBox, wxID_ANY);
    for (int root = 0; root < kRootKeyCount; ++root) m_pRoot->Append(Wx(LoadString(IDS_HKEY_CLASSES_ROOT + root)));
    m_pRegKey = NewEdit(registryBox);
    m_pRegValue = NewEdit(registryBox);
    m_pUpdateKey = new wxCheckBox(registryBox, wxID_ANY, Wx(LoadString(IDS_UPDATE_KEY)));
    AddFieldRows(registry, {{IDS_ROOT_KEY_LABEL, m_pRoot}, {IDS_KEY_LABEL, m_pRegKey}, {IDS_SUBKEY_LABEL, m_pRegValue}},
                 m_pUpdateKey);
    group->Add(registry, 0, wxEXPAND | wxALL, kGap / 2);

    auto* ini = new wxStaticBoxSizer(wxVERTICAL, box, Wx(LoadString(IDS_FROM_INI_GROUP)));
    wxWindow* iniBox = ini->GetStaticBox();
    m_pIniFile = NewEdit(iniBox);
    m_pIniSection = NewEdit(iniBox);
    m_pIniEntry = NewEdit(iniBox);
    m_pUpdateEntry = new wxCheckBox(iniBox, wxID_ANY, Wx(LoadString(IDS_UPDATE_ENTRY)));
    AddFieldRows(ini, {{IDS_INI_FILE_LABEL, m_pIniFile}, {IDS_INI_SECTION_LABEL, m_pIniSection}, {IDS_INI_ENTRY_LABEL, m_pIniEntry}},
                 m_pUpdateEntry);
    group->Add(ini, 0, wxEXPAND | wxALL, kGap / 2);
    return group;
}

wxCheckBox* COptionsPage::GetDirFlagBox(DirFlagBox box)
{
    switch (box) {
    case DirFlagBox::readOnly: return m_pReadOnly;
    case DirFlagBox::updateKey: return m_pUpdateKey;
    case DirFlagBox::updateEntry: return m_pUpdateEntry;
    }
    return nullptr;
}

void COptionsPage::UpdateFromProject()
{
    CData* data = GetData();
    if (!data) return;
    (data->m_nWindowMode == kSmallWindow ? m_pSmall : m_pNormal)->SetValue(true);
    m_pWizardBitmap->ChangeValue(Wx(data->m_strWizardBitmap));
    m_pBackgroundBitmap->ChangeValue(Wx(data->m_strBackgroundBitmap));
    m_pBackgroundTitle->ChangeValue(Wx(data->m_strBackgroundTitle));
    m_pFont->ChangeValue(Wx(FaceNameOf(data->m_lfTitleFont)));
    EnableBackgroundControls(data->m_nWindowMode);
    m_pDefaultDir->ChangeValue(Wx(data->m_strDefaultDir));
    for (DirFlagBox box : {DirFlagBox::readOnly, DirFlagBox::updateKey, DirFlagBox::updateEntry})
        GetDirFlagBox(box)->SetValue(IsDirFlagBoxChecked(data->m_nDirFlags, box));
    m_pRoot->SetSelection(data->m_nRegRoot >= 0 && data->m_nRegRoot < kRootKeyCount ? data->m_nRegRoot : wxNOT_FOUND);
    m_pRegKey->ChangeValue(Wx(data->m_strRegKey));
    m_pRegValue->ChangeValue(Wx(data->m_strRegValue));
    m_pIniFile->ChangeValue(Wx(data->m_strIniFile));
    m_pIniSection->ChangeValue(Wx(data->m_strIniSection));
    m_pIniEntry->ChangeValue(Wx(data->m_strIniEntry));
}

void COptionsPage::EnableBackgroundControls(int mode)
{
    bool enable = BackgroundControlsEnabled(mode);
    // The pattern's "..." stays enabled: a pattern can be chosen for the full-screen mode
    // while the small one is set.
    for (wxWindow* control : std::initializer_list<wxWindow*>{m_pBackgroundBitmap, m_pBackgroundTitle, m_pFont, m_pFontBrowse})
        control->Enable(enable);
}

void COptionsPage::SetWindowMode(int mode)
{
    CData* data = GetData();
    if (!data) return;
    data->m_nWindowMode = mode;
    (mode == kSmallWindow ? m_pSmall : m_pNormal)->SetValue(true);
    EnableBackgroundControls(mode);
    SetModifiedFlag();
}

void COptionsPage::SetDirFlag(DirFlagBox box, bool checked)
{
    CData* data = GetData();
    if (!data) return;
    GetDirFlagBox(box)->SetValue(checked);
    data->m_nDirFlags = ApplyDirFlagBox(data->m_nDirFlags, box, checked);
    SetModifiedFlag();
}

void COptionsPage::SetRegRoot(int root)
{
    CData* data = GetData();
    if (!data || root < 0 || root >= kRootKeyCount) return;
    m_pRoot->SetSelection(root);
    data->m_nRegRoot = root;
    SetModifiedFlag();
}

void COptionsPage::StoreEdits()
{
    CData* data = GetData();
    if (!data) return;
    OptionEdits edits{Std(m_pWizardBitmap->GetValue()), Std(m_pBackgroundBitmap->GetValue()),
                      Std(m_pBackgroundTitle->GetValue()), Std(m_pDefaultDir->GetValue()),
                      Std(m_pRegKey->GetValue()), Std(m_pRegValue->GetValue()),
                      Std(m_pIniFile->GetValue()), Std(m_pIniSection->GetValue()),
                      Std(m_pIniEntry->GetValue())};
    if (!StoreOptionEdits(*data, edits)) return;
    m_pIniFile->ChangeValue(Wx(edits.iniFile));
    SetModifiedFlag();
}

void COptionsPage::BrowseBitmap(wxTextCtrl* edit, std::string CData::* field)
{
    CData* data = GetData();
    if (!data) return;
    wxFileName current(Wx(data->*field));
    wxFileDialog dialog(this, wxFileSelectorPromptStr, current.GetPath(), current.GetFullName(),
                        Wx(DialogFilter(LoadString(IDS_BITMAP_FILTER))), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty()) return;
    data->*field = Std(dialog.GetPath());
    edit->ChangeValue(dialog.GetPath());
    SetModifiedFlag();
}

void COptionsPage::ChooseFont()
{
    CData* data = GetData();
    if (!data) return;
    wxFontData fontData;
    fontData.SetInitialFont(FontOf(data->m_lfTitleFont));
    fontData.EnableEffects(false);
    wxFontDialog dialog(this, fontData);
    if (dialog.ShowModal() != wxID_OK) return;
    wxFont chosen = dialog.GetFontData().GetChosenFont();
    if (!chosen.IsOk()) return;
    data->m_lfTitleFont = ApplyFontChoice(data->m_lfTitleFont, ChoiceOf(chosen));
    m_pFont->ChangeValue(Wx(FaceNameOf(data->m_lfTitleFont)));
    SetModifiedFlag();
}

void COptionsPage::ShowMacroMenu()
{
    wxMenu menu;
    for (const MacroItem& item : kMacroItems) menu.Append(item.id, Wx(LoadString(item.labelId)));
    int chosen = GetPopupMenuSelectionFromUser(menu);
    for (const MacroItem& item : kMacroItems)
        if (item.id == chosen) AppendMacro(item.macro);
}

void COptionsPage::AppendMacro(DirMacro macro)
{
    CData* data = GetData();
    if (!data || !StoreDirMacro(*data, Std(m_pDefaultDir->GetValue()), macro)) return;
    m_pDefaultDir->ChangeValue(Wx(data->m_strDefaultDir));
    SetModifiedFlag();
}

void COptionsPage::Preview()
{
    if (!GetData()) return;
    StoreEdits();
    m_host.PreviewWizard(kDirectoryPage);
}

}  // namespace sw
