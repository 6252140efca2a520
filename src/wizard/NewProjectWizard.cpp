#include "wizard/NewProjectWizard.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>

#include "model/WizardTexts.h"
#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"
#include "wizard/WizardDialogs.h"
#include "wizard/WizardPictures.h"

namespace sw {

namespace {

constexpr int kColumnWidth = 430;   // wrapping width of the prompts
constexpr int kSketchWidth = 96;
constexpr int kSketchHeight = 72;
constexpr int kGap = 8;
constexpr const char* kExePattern = "*.exe";
constexpr const char* kAllPattern = "*.*";

wxString Text(int id) { return Wx(LoadString(id)); }

// Browse for a file to open: the folder and name to start with, the filter of a string.
bool BrowseForFile(wxWindow* parent, const BrowseStart& start, int filterId, std::string& chosen)
{
    wxFileDialog dialog(parent, wxEmptyString, Wx(start.directory), Wx(start.name), Wx(DialogFilter(LoadString(filterId))),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return false;
    chosen = Std(dialog.GetPath());
    return true;
}

// An edit stores what it holds when it loses the focus.
void CommitOnKillFocus(wxTextCtrl* edit, std::function<void()> commit)
{
    edit->Bind(wxEVT_KILL_FOCUS, [commit](wxFocusEvent& event) {
        commit();
        event.Skip();
    });
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CWizPage

CWizPage::CWizPage(CWizSheet* sheet, int dialogId) : wxWizardPage(sheet), m_pSheet(sheet), m_nDialogId(dialogId)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_pPicture = row->Add(kPagePictureWidth, kPagePictureHeight, 0, wxRIGHT, FromDIP(12));
    m_pColumn = new wxBoxSizer(wxVERTICAL);
    row->Add(m_pColumn, 1, wxEXPAND);
    SetSizer(row);
    Bind(wxEVT_PAINT, &CWizPage::OnPaint, this);
    Bind(wxEVT_WIZARD_PAGE_CHANGED, [this](wxWizardEvent& event) {
        OnActivate();
        event.Skip();
    });
    Bind(wxEVT_WIZARD_PAGE_CHANGING, [this](wxWizardEvent& event) {
        Commit();
        event.Skip();
    });
}

void CWizPage::SetNeighbours(wxWizardPage* prev, wxWizardPage* next)
{
    m_pPrev = prev;
    m_pNext = next;
}

WizardAnswers& CWizPage::Answers() { return m_pSheet->GetAnswers(); }
IWizardFiles& CWizPage::Files() { return m_pSheet->GetFiles(); }

void CWizPage::OnActivate()
{
    const WizardPageInfo* info = FindWizardPage(m_nDialogId);
    if (info && info->buttons != 0) SetButtons(info->buttons);
}

void CWizPage::SetButtons(unsigned buttons) { m_pSheet->SetWizardButtons(buttons); }

void CWizPage::SendButtons(unsigned buttons)
{
    if (m_buttonMemory.Changed(buttons)) SetButtons(buttons);
}

wxStaticText* CWizPage::AddPrompt(int textId)
{
    auto* prompt = new wxStaticText(this, wxID_ANY, Text(textId));
    prompt->Wrap(FromDIP(kColumnWidth));
    m_pColumn->Add(prompt, 0, wxBOTTOM, FromDIP(kGap));
    return prompt;
}

wxTextCtrl* CWizPage::AddEdit(long style)
{
    auto* edit = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, style);
    m_pColumn->Add(edit, (style & wxTE_MULTILINE) ? 1 : 0, wxEXPAND | wxBOTTOM, FromDIP(kGap * 2));
    return edit;
}

wxTextCtrl* CWizPage::AddEditWithButton(int buttonTextId, wxButton** button)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* edit = new wxTextCtrl(this, wxID_ANY);
    *button = new wxButton(this, wxID_ANY, Text(buttonTextId));
    row->Add(edit, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    row->Add(*button, 0, wxALIGN_CENTER_VERTICAL);
    m_pColumn->Add(row, 0, wxEXPAND | wxBOTTOM, FromDIP(kGap * 2));
    return edit;
}

wxCheckBox* CWizPage::AddCheckBox(int textId)
{
    auto* box = new wxCheckBox(this, wxID_ANY, Text(textId));
    m_pColumn->Add(box, 0, wxBOTTOM, FromDIP(kGap * 2));
    return box;
}

void CWizPage::AddPreviewButton()
{
    m_pPreview = new wxButton(this, wxID_ANY, Text(IDS_WIZ_PREVIEW));
    m_pColumn->AddStretchSpacer();
    m_pColumn->Add(m_pPreview, 0, wxALIGN_RIGHT);
    m_pPreview->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnPreview(); });
}

void CWizPage::OnPreview()
{
    Commit();  // an edit being typed in counts, as when it loses the focus
    const WizardPageInfo* info = FindWizardPage(m_nDialogId);
    if (!info || info->previewPage == kNoPreview) return;
    if (m_nDialogId == WIZ_INFORMATION && !InformationPreviewEnabled(InformationText(Data()))) return;
    if (m_pSheet->GetHost().preview) m_pSheet->GetHost().preview(Data(), info->previewPage);
}

wxRect CWizPage::GetPictureRect() const { return m_pPicture->GetRect(); }

void CWizPage::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    PaintPage(dc);
    wxRect picture = GetPictureRect();
    if (GetUpdateRegion().Contains(picture) != wxOutRegion) DrawCentred(dc, PagePicture(), picture);
}

// ---------------------------------------------------------------------------------------
// 1. Welcome

CWizWelcomePage::CWizWelcomePage(CWizSheet* sheet) : CWizPage(sheet, WIZ_WELCOME)
{
    AddPrompt(IDS_WIZ_WELCOME_TEXT);
    AddPrompt(IDS_WIZ_CLICK_NEXT);
    m_pColumn->AddStretchSpacer();
    m_pStop = AddCheckBox(IDS_WIZ_STOP_USING);
    m_pStop->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnStopClicked(); });
}

void CWizWelcomePage::OnActivate() { SetButtons(m_pStop->GetValue() ? WIZB_FINISH : WIZB_NEXT); }

wxWizardPage* CWizWelcomePage::GetNext() const { return m_pStop->GetValue() ? nullptr : CWizPage::GetNext(); }

void CWizWelcomePage::OnStopClicked() { SetButtons(OnStopUsingWizard(Answers(), m_pStop->GetValue())); }

// ---------------------------------------------------------------------------------------
// 2. Directory

CWizDirectoryPage::CWizDirectoryPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_DIRECTORY)
{
    AddPrompt(IDS_WIZ_DIR_PROMPT);
    wxButton* browse = nullptr;
    m_pEdit = AddEditWithButton(IDS_BROWSE, &browse);
    AddPrompt(IDS_WIZ_SUBDIRS_PROMPT);
    m_pSubdirs = AddCheckBox(IDS_INCLUDE_SUBDIRS);
    m_pEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { CheckButtons(); });
    CommitOnKillFocus(m_pEdit, [this] { CheckButtons(); });
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBrowse(); });
    m_pSubdirs->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { Data().m_bIncludeSubdirs = m_pSubdirs->GetValue() ? 1 : 0; });
}

void CWizDirectoryPage::OnActivate()
{
    ForgetButtons();
    m_pEdit->ChangeValue(Wx(Data().m_strSourceDir));
    m_pSubdirs->SetValue(Data().m_bIncludeSubdirs != 0);
    CheckButtons();
    m_pEdit->SetFocus();
}

void CWizDirectoryPage::CheckButtons() { SendButtons(ValidateSourceDirectory(Answers(), Std(m_pEdit->GetValue()), Files())); }

void CWizDirectoryPage::OnBrowse()
{
    wxDirDialog picker(this, Text(IDS_CHOOSE_DIRECTORY), Wx(FolderChooserStart(Data().m_strSourceDir)));
    if (picker.ShowModal() != wxID_OK) return;
    m_pEdit->ChangeValue(picker.GetPath());
    CheckButtons();
}

// ---------------------------------------------------------------------------------------
// 3. Title

CWizTitlePage::CWizTitlePage(CWizSheet* sheet) : CWizPage(sheet, WIZ_TITLE)
{
    AddPrompt(IDS_WIZ_TITLE_INTRO);
    AddPrompt(IDS_WIZ_LANGUAGE_PROMPT);
    m_pLanguages = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(-1, FromDIP(90)));
    std::vector<std::string> languages = ListLanguages(GetTemplateDir());
    for (const std::string& language : languages) m_pLanguages->Append(Wx(language));
    m_pLanguages->SetStringSelection(Text(IDS_ENGLISH));
    m_pColumn->Add(m_pLanguages, 0, wxEXPAND | wxBOTTOM, FromDIP(kGap * 2));
    AddPrompt(IDS_WIZ_TITLE_PROMPT);
    m_pTitle = AddEdit();
    AddPreviewButton();
    m_pLanguages->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { OnLanguage(); });
    CommitOnKillFocus(m_pTitle, [this] { Commit(); });
}

void CWizTitlePage::OnActivate()
{
    CWizPage::OnActivate();
    m_pTitle->ChangeValue(Wx(Data().m_strTitle));
}

void CWizTitlePage::OnLanguage()
{
    int selected = m_pLanguages->GetSelection();
    std::string language = selected == wxNOT_FOUND ? std::string() : Std(m_pLanguages->GetString(static_cast<unsigned>(selected)));
    ChooseLanguage(Answers(), language, GetTemplateDir(), Files());
}

void CWizTitlePage::Commit()
{
    if (CommitTitle(Answers(), Std(m_pTitle->GetValue())))
        if (auto* window = m_pSheet->Find<CWizWindowPage>()) window->RefreshTitle();
}

// ---------------------------------------------------------------------------------------
// 4. Shell

CWizShellPage::CWizShellPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_SHELL)
{
    AddPrompt(IDS_WIZ_ICON_FILE_PROMPT);
    wxButton* browse = nullptr;
    m_pFile = AddEditWithButton(IDS_BROWSE, &browse);
    AddPrompt(IDS_WIZ_ICON_NAME_PROMPT);
    m_pIconName = AddEdit();
    AddPrompt(IDS_WIZ_SHORTCUT_PROMPT);
    m_pShortcut = AddCheckBox(IDS_WIZ_ADD_DESKTOP_SHORTCUT);
    m_pFile->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { CheckButtons(); });
    m_pIconName->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { CheckButtons(); });
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBrowse(); });
    m_pShortcut->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { Answers().desktopShortcut = m_pShortcut->GetValue() ? 1 : 0; });
}

void CWizShellPage::OnActivate()
{
    ForgetButtons();
    m_pFile->ChangeValue(Wx(Answers().iconFile));
    m_pIconName->ChangeValue(Wx(Answers().iconName));
    m_pShortcut->SetValue(Answers().desktopShortcut != 0);
    CheckButtons();
    m_pFile->SetFocus();
}

void CWizShellPage::CheckButtons()
{
    Commit();
    SendButtons(ShellButtons(Answers().iconFile, Answers().iconName, Files()));
}

void CWizShellPage::Commit()
{
    Answers().iconFile = Std(m_pFile->GetValue());
    Answers().iconName = Std(m_pIconName->GetValue());
}

void CWizShellPage::OnBrowse()
{
    std::string chosen;
    if (!BrowseForFile(this, BrowseStartName(Data().m_strSourceDir, kExePattern), IDS_EXE_FILE_FILTER, chosen)) return;
    m_pFile->SetValue(Wx(chosen));  // stored and validated through the text event
}

// ---------------------------------------------------------------------------------------
// 5. Information

CWizInformationPage::CWizInformationPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_INFORMATION)
{
    AddPrompt(IDS_WIZ_INFORMATION_PROMPT);
    m_pEdit = AddEdit(wxTE_MULTILINE);
    m_pEdit->SetMinSize(wxSize(-1, FromDIP(150)));
    AddPreviewButton();
    m_pEdit->ChangeValue(Wx(InformationText(Data())));
    m_pEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { UpdatePreview(); });
    CommitOnKillFocus(m_pEdit, [this] { Commit(); });
    UpdatePreview();
}

void CWizInformationPage::OnActivate()
{
    CWizPage::OnActivate();
    // The language chosen on the Title page may have brought another text.
    m_pEdit->ChangeValue(Wx(InformationText(Data())));
    UpdatePreview();
}

void CWizInformationPage::UpdatePreview() { GetPreviewButton()->Enable(InformationPreviewEnabled(Std(m_pEdit->GetValue()))); }

void CWizInformationPage::Commit() { CommitInformation(Answers(), Std(m_pEdit->GetValue())); }

// ---------------------------------------------------------------------------------------
// 6. Window

CWizWindowPage::CWizWindowPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_WINDOW)
{
    AddPrompt(IDS_WIZ_WINDOW_FORMAT_PROMPT);
    auto* formats = new wxBoxSizer(wxHORIZONTAL);
    m_pSmall = new wxRadioButton(this, wxID_ANY, Text(IDS_WIZ_SMALL), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pFull = new wxRadioButton(this, wxID_ANY, Text(IDS_WIZ_FULL_SCREEN));
    wxRadioButton* buttons[] = {m_pSmall, m_pFull};
    for (int mode = 0; mode < 2; ++mode) {
        auto* format = new wxBoxSizer(wxVERTICAL);
        m_pSketches[mode] = format->Add(FromDIP(kSketchWidth), FromDIP(kSketchHeight), 0, wxBOTTOM, FromDIP(4));
        format->Add(buttons[mode], 0);
        formats->Add(format, 0, wxRIGHT, FromDIP(32));
    }
    m_pColumn->Add(formats, 0, wxBOTTOM, FromDIP(kGap * 3));
    AddPrompt(IDS_WIZ_WINDOW_TITLE_PROMPT);
    m_pTitle = AddEdit();
    AddPreviewButton();
    m_pSmall->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnMode(0); });
    m_pFull->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnMode(1); });
    CommitOnKillFocus(m_pTitle, [this] { Commit(); });
    RefreshTitle();
}

void CWizWindowPage::OnActivate()
{
    CWizPage::OnActivate();
    (Data().m_nWindowMode == 0 ? m_pSmall : m_pFull)->SetValue(true);
    RefreshTitle();
}

void CWizWindowPage::RefreshTitle()
{
    m_pTitle->ChangeValue(Wx(Data().m_strBackgroundTitle));
    m_pTitle->Enable(BackgroundTitleEnabled(Data()));
}

void CWizWindowPage::OnMode(int mode)
{
    SetWindowMode(Answers(), mode);
    m_pTitle->Enable(BackgroundTitleEnabled(Data()));
}

void CWizWindowPage::Commit() { CommitBackgroundTitle(Answers(), Std(m_pTitle->GetValue())); }

wxRect CWizWindowPage::GetSketchRect(int mode) const { return m_pSketches[mode == 0 ? 0 : 1]->GetRect(); }

void CWizWindowPage::PaintPage(wxDC& dc)
{
    for (int mode = 0; mode < 2; ++mode) {
        wxRect frame = GetSketchRect(mode);
        if (GetUpdateRegion().Contains(frame) != wxOutRegion) DrawWindowSketch(dc, frame, mode);
    }
}

// ---------------------------------------------------------------------------------------
// 7. Bitmaps

CWizBitmapsPage::CWizBitmapsPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_BITMAPS)
{
    AddPrompt(IDS_WIZ_BITMAP_PROMPT);
    wxButton* browse = nullptr;
    m_pWizardBitmap = AddEditWithButton(IDS_BROWSE, &browse);
    m_pPatternText = AddPrompt(IDS_WIZ_PATTERN_PROMPT);
    m_pPattern = AddEditWithButton(IDS_WIZ_BROWSE_PATTERN, &m_pPatternBrowse);
    AddPreviewButton();
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(m_pWizardBitmap); });
    m_pPatternBrowse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(m_pPattern); });
    CommitOnKillFocus(m_pWizardBitmap, [this] { Commit(); });
    CommitOnKillFocus(m_pPattern, [this] { Commit(); });
}

void CWizBitmapsPage::OnActivate()
{
    CWizPage::OnActivate();
    m_pWizardBitmap->ChangeValue(Wx(Data().m_strWizardBitmap));
    m_pPattern->ChangeValue(Wx(Data().m_strBackgroundBitmap));
    bool shown = PatternControlsShown(Data());
    m_pPatternText->Show(shown);
    m_pPattern->Show(shown);
    m_pPatternBrowse->Show(shown);
    Layout();
}

void CWizBitmapsPage::Commit()
{
    Data().m_strWizardBitmap = Std(m_pWizardBitmap->GetValue());
    Data().m_strBackgroundBitmap = Std(m_pPattern->GetValue());
}

void CWizBitmapsPage::Browse(wxTextCtrl* edit)
{
    wxFileName current(edit->GetValue());
    std::string chosen;
    if (!BrowseForFile(this, {Std(current.GetPath()), Std(current.GetFullName())}, IDS_BITMAP_FILTER, chosen)) return;
    edit->ChangeValue(Wx(chosen));
    Commit();
}

// ---------------------------------------------------------------------------------------
// 8. Installation directory

CWizInstallDirPage::CWizInstallDirPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_INSTALL_DIR)
{
    AddPrompt(IDS_WIZ_INSTALL_DIR_PROMPT);
    m_pEdit = AddEdit();
    AddPrompt(IDS_WIZ_DIR_SOURCE_PROMPT);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* registry = new wxButton(this, wxID_ANY, Text(IDS_WIZ_REGISTRY_BASE));
    auto* ini = new wxButton(this, wxID_ANY, Text(IDS_WIZ_INI_FILE));
    row->Add(registry, 0, wxRIGHT, FromDIP(kGap));
    row->Add(ini, 0);
    m_pColumn->Add(row, 0, wxBOTTOM, FromDIP(kGap));
    AddPreviewButton();
    registry->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRegistry(); });
    ini->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnIniFile(); });
    CommitOnKillFocus(m_pEdit, [this] { Commit(); });
}

void CWizInstallDirPage::OnActivate()
{
    CWizPage::OnActivate();
    m_pEdit->ChangeValue(Wx(Data().m_strDefaultDir));
}

void CWizInstallDirPage::Commit() { Data().m_strDefaultDir = Std(m_pEdit->GetValue()); }

void CWizInstallDirPage::OnRegistry()
{
    CRegistryKeyDialog dialog(this, GetRegistryKey(Data()), m_pSheet->GetHost().help);
    if (dialog.ShowModal() == wxID_OK) SetRegistryKey(Data(), dialog.GetValues());
}

void CWizInstallDirPage::OnIniFile()
{
    CIniFileDialog dialog(this, GetIniFile(Data()), m_pSheet->GetHost().help);
    if (dialog.ShowModal() == wxID_OK) SetIniFile(Data(), dialog.GetValues());
}

// ---------------------------------------------------------------------------------------
// 9. End page options

CWizEndOptionsPage::CWizEndOptionsPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_END_OPTIONS)
{
    AddPrompt(IDS_WIZ_VIEW_FILE_PROMPT);
    wxButton* browseView = nullptr;
    m_pView = AddEditWithButton(IDS_BROWSE, &browseView);
    AddPrompt(IDS_WIZ_LAUNCH_FILE_PROMPT);
    wxButton* browseLaunch = nullptr;
    m_pLaunch = AddEditWithButton(IDS_BROWSE, &browseLaunch);
    m_pView->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { CheckButtons(); });
    m_pLaunch->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { CheckButtons(); });
    browseView->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(m_pView, kAllPattern, IDS_ALL_FILES_FILTER); });
    browseLaunch->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(m_pLaunch, kExePattern, IDS_EXE_FILE_FILTER); });
}

void CWizEndOptionsPage::OnActivate()
{
    ForgetButtons();
    m_pView->ChangeValue(Wx(Answers().viewFile));
    m_pLaunch->ChangeValue(Wx(Answers().runFile));
    CheckButtons();
    m_pView->SetFocus();
}

void CWizEndOptionsPage::Commit()
{
    Answers().viewFile = Std(m_pView->GetValue());
    Answers().runFile = Std(m_pLaunch->GetValue());
}

void CWizEndOptionsPage::CheckButtons()
{
    Commit();
    SendButtons(EndOptionsButtons(Answers().viewFile, Answers().runFile, Files()));
}

void CWizEndOptionsPage::Browse(wxTextCtrl* edit, const std::string& pattern, int filterId)
{
    std::string chosen;
    if (BrowseForFile(this, BrowseStartName(Data().m_strSourceDir, pattern), filterId, chosen)) edit->SetValue(Wx(chosen));
}

// ---------------------------------------------------------------------------------------
// 10. Uninstallation and 11. End

CWizUninstallPage::CWizUninstallPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_UNINSTALL)
{
    AddPrompt(IDS_WIZ_UNINSTALL_PROMPT);
    m_pBox = AddCheckBox(IDS_WIZ_UNINSTALL_PROGRAM);
    m_pBox->SetValue(Answers().createUninstaller != 0);
    m_pBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { Answers().createUninstaller = m_pBox->GetValue() ? 1 : 0; });
}

CWizEndPage::CWizEndPage(CWizSheet* sheet) : CWizPage(sheet, WIZ_END)
{
    AddPrompt(IDS_WIZ_END_TEXT1);
    AddPrompt(IDS_WIZ_END_TEXT2);
    m_pBox = AddCheckBox(IDS_WIZ_DO_NOT_BUILD);
}

// ---------------------------------------------------------------------------------------
// The sheet

CWizSheet::CWizSheet(wxWindow* owner, const NewProjectWizardHost& host, IWizardFiles& files)
    : m_host(host), m_files(files)
{
    SetExtraStyle(wxWIZARD_EX_HELPBUTTON);
    Create(owner, wxID_ANY, wxEmptyString);
    m_pages = {new CWizWelcomePage(this),   new CWizDirectoryPage(this), new CWizTitlePage(this),
               new CWizShellPage(this),     new CWizInformationPage(this), new CWizWindowPage(this),
               new CWizBitmapsPage(this),   new CWizInstallDirPage(this), new CWizEndOptionsPage(this),
               new CWizUninstallPage(this), new CWizEndPage(this)};
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i]->SetNeighbours(i > 0 ? m_pages[i - 1] : nullptr, i + 1 < m_pages.size() ? m_pages[i + 1] : nullptr);
        GetPageAreaSizer()->Add(m_pages[i]);
    }
    Bind(wxEVT_WIZARD_HELP, [this](wxWizardEvent& event) {
        if (m_host.help) m_host.help(static_cast<CWizPage*>(event.GetPage())->GetDialogId());
    });
}

WizardEnd CWizSheet::Run()
{
    bool finished = RunWizard(m_pages.front());
    if (finished) OnFinishEndPage(m_answers, Find<CWizEndPage>()->GetDoNotBuildBox()->GetValue());
    return finished ? WizardEnd::Finish : WizardEnd::Cancel;
}

void CWizSheet::SetWizardButtons(unsigned buttons)
{
    m_nButtons = buttons;
    m_btnPrev->Enable((buttons & WIZB_BACK) != 0);
    bool finish = (buttons & WIZB_FINISH) && !(buttons & WIZB_NEXT);
    wxString label = finish ? wxGetTranslation("&Finish") : wxGetTranslation("&Next >");
    if (finish || (buttons & WIZB_NEXT)) {
        if (m_btnNext->GetLabel() != label) m_btnNext->SetLabel(label);
    }
    m_btnNext->Enable((buttons & (WIZB_NEXT | WIZB_FINISH)) != 0);
}

void CWizSheet::PressBack()
{
    if (!m_btnPrev->IsEnabled()) return;
    wxCommandEvent click(wxEVT_BUTTON, m_btnPrev->GetId());
    click.SetEventObject(m_btnPrev);
    m_btnPrev->GetEventHandler()->ProcessEvent(click);
}

void CWizSheet::PressNext()
{
    if (!m_btnNext->IsEnabled()) return;
    wxCommandEvent click(wxEVT_BUTTON, m_btnNext->GetId());
    click.SetEventObject(m_btnNext);
    m_btnNext->GetEventHandler()->ProcessEvent(click);
}

bool RunNewProjectWizard(wxWindow* owner, CData& project, IProfile& profile, const NewProjectWizardHost& host)
{
    if (!ShouldRunWizard(profile, owner != nullptr && owner->IsShown())) return false;
    auto* sheet = new CWizSheet(owner, host);
    WizardEnd end = sheet->Run();
    bool filled = ApplyWizardResult(project, sheet->GetAnswers(), end, profile);
    sheet->Destroy();
    return filled;
}

}  // namespace sw
