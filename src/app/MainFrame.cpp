#include "app/MainFrame.h"

#include <wx/artprov.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include "app/AboutBox.h"
#include "app/CannotFindDirDialog.h"
#include "app/Commands.h"
#include "app/HelpLauncher.h"
#include "app/PreferencesDialog.h"
#include "app/ShellRules.h"
#include "app/TestLauncher.h"
#include "cli/HeadlessBuild.h"
#include "model/WizardTexts.h"
#include "pages/BuildPage.h"
#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "platform/FileError.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"
#include "ui/CaptionBand.h"
#include "ui/ToolBarEx.h"
#include "wizard/NewProjectWizard.h"

namespace sw {

namespace {

constexpr int kWholeWizard = -1;  // the Test command's start page
constexpr int kWindowTitlePart = 0;
constexpr int kFilterPart = 3;
constexpr int kExtensionPart = 4;
constexpr const char* kRecentFilesPath = "/Recent File List";
constexpr const char* kWindowPlacementKey = "/Settings/Window";
constexpr int kIndicatorPanes = 3;
// Before the user placed the window: room for the file list beside the options sheet.
const wxSize kDefaultFrameSize(900, 640);

// The text of a command's prompt before the line feed (status bar) or after it (tooltip,
// toolbar caption).
wxString PromptPart(int id, bool tooltip)
{
    std::string prompt = LoadString(id);
    std::size_t feed = prompt.rfind('\n');
    if (feed == std::string::npos) return tooltip ? wxString() : Wx(prompt);
    return Wx(tooltip ? prompt.substr(feed + 1) : prompt.substr(0, prompt.find('\n')));
}

wxString MenuLabel(int labelId, const char* accelerator = nullptr)
{
    wxString label = Wx(LoadString(labelId));
    if (accelerator) label << '\t' << accelerator;
    return label;
}

std::string SettingsFilter()
{
    std::string extension = DocTemplatePart(kExtensionPart);
    return DocTemplatePart(kFilterPart) + "|*" + extension;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

}  // namespace

CMainFrame::CMainFrame(wxConfigBase& config, CHelpLauncher& help, std::string tempFile)
    : wxFrame(nullptr, wxID_ANY, Wx(DocTemplatePart(kWindowTitlePart))),
      m_config(config),
      m_help(help),
      m_strTempFile(std::move(tempFile)),
      m_profile(config),
      m_buildHost(*this),
      m_fileHistory(kRecentFileCount, ID_FILE_MRU_FIRST)
{
    SetSize(FromDIP(kDefaultFrameSize));
    RestorePlacement();
    CreateMenus();
    CreateToolBarButtons();
    CreateStatusBarPanes();

    m_doc.m_onTitleChanged = [this] { UpdateTitle(); };
    m_pSheet = new CInstallSheet(this, *this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new CCaptionBand(this), 0, wxEXPAND);
    sizer->Add(m_pToolBar, 0, wxEXPAND);
    sizer->Add(m_pSheet, 1, wxEXPAND);
    SetSizer(sizer);
    // The window never gets smaller than the sheet needs.
    SetMinSize(ClientToWindowSize(sizer->GetMinSize()));
    wxSize size = GetSize();
    size.IncTo(GetMinSize());
    SetSize(size);

    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFileNew(); }, ID_FILE_NEW);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnOpen(); }, ID_FILE_OPEN);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SaveDocument(false); }, ID_FILE_SAVE);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SaveDocument(true); }, ID_FILE_SAVE_AS);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnExportTexts(); }, ID_EXPORT_TEXTS);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnImportTexts(); }, ID_IMPORT_TEXTS);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnPreferences(); }, ID_PREFERENCES);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, ID_APP_EXIT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { TestWizard(); }, ID_TEST_WIZARD);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { BuildInstallProgram(); }, ID_BUILD);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_help.ShowHelp(this, HelpPageForContext(0, false)); }, ID_HELP_CONTENTS);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnAbout(); }, ID_APP_ABOUT);
    // F1: the help of the page in front.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        CPatchPage* page = m_pSheet->GetActivePage();
        if (page) ShowHelp(page->GetHelpId());
    }, ID_CONTEXT_HELP);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_pSheet->AdvanceSelection(true); }, ID_NEXT_PANE);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_pSheet->AdvanceSelection(false); }, ID_PREV_PANE);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        m_pToolBar->Show(!m_pToolBar->IsShown());
        Layout();
    }, ID_VIEW_TOOLBAR);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Check(m_pToolBar->IsShown()); }, ID_VIEW_TOOLBAR);
    Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
        wxString path = m_fileHistory.GetHistoryFile(static_cast<size_t>(event.GetId() - ID_FILE_MRU_FIRST));
        if (!path.empty() && SaveModified()) OpenDocumentFile(Std(path));
    }, ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST);
    for (int id : {ID_TEST_WIZARD, ID_BUILD})
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(GetData() != nullptr && !IsBuilding()); }, id);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateMenus()
{
    auto* file = new wxMenu;
    file->Append(ID_FILE_NEW, MenuLabel(IDS_MENU_FILE_NEW, "Ctrl+N"), PromptPart(ID_FILE_NEW, false));
    file->Append(ID_FILE_OPEN, MenuLabel(IDS_MENU_FILE_OPEN, "Ctrl+O"), PromptPart(ID_FILE_OPEN, false));
    file->Append(ID_FILE_SAVE, MenuLabel(IDS_MENU_FILE_SAVE, "Ctrl+S"), PromptPart(ID_FILE_SAVE, false));
    file->Append(ID_FILE_SAVE_AS, MenuLabel(IDS_MENU_FILE_SAVE_AS), PromptPart(ID_FILE_SAVE_AS, false));
    file->AppendSeparator();
    file->Append(ID_EXPORT_TEXTS, MenuLabel(IDS_MENU_EXPORT_TEXTS), PromptPart(ID_EXPORT_TEXTS, false));
    file->Append(ID_IMPORT_TEXTS, MenuLabel(IDS_MENU_IMPORT_TEXTS), PromptPart(ID_IMPORT_TEXTS, false));
    file->AppendSeparator();
    file->Append(ID_PREFERENCES, MenuLabel(IDS_MENU_PREFERENCES), PromptPart(ID_PREFERENCES, false));
    file->AppendSeparator();
    auto* recent = new wxMenu;
    file->AppendSubMenu(recent, MenuLabel(IDS_MENU_RECENT_FILE));
    file->AppendSeparator();
    file->Append(ID_APP_EXIT, MenuLabel(IDS_MENU_EXIT), PromptPart(ID_APP_EXIT, false));
    m_config.SetPath(kRecentFilesPath);
    m_fileHistory.Load(m_config);
    m_config.SetPath("/");
    m_fileHistory.UseMenu(recent);
    m_fileHistory.AddFilesToMenu(recent);

    auto* view = new wxMenu;
    view->AppendCheckItem(ID_VIEW_TOOLBAR, MenuLabel(IDS_MENU_TOOLBAR), PromptPart(ID_VIEW_TOOLBAR, false));
    auto* install = new wxMenu;
    install->Append(ID_TEST_WIZARD, MenuLabel(IDS_MENU_TEST, "Ctrl+T"), PromptPart(ID_TEST_WIZARD, false));
    install->Append(ID_BUILD, MenuLabel(IDS_MENU_BUILD, "Ctrl+B"), PromptPart(ID_BUILD, false));
    auto* help = new wxMenu;
    help->Append(ID_HELP_CONTENTS, MenuLabel(IDS_MENU_CONTENTS), PromptPart(ID_HELP_CONTENTS, false));
    help->AppendSeparator();
    help->Append(ID_APP_ABOUT, MenuLabel(IDS_MENU_ABOUT), PromptPart(ID_APP_ABOUT, false));

    auto* bar = new wxMenuBar;
    bar->Append(file, MenuLabel(IDS_MENU_FILE));
    bar->Append(view, MenuLabel(IDS_MENU_VIEW));
    bar->Append(install, MenuLabel(IDS_MENU_INSTALL));
    bar->Append(help, MenuLabel(IDS_MENU_HELP));
    SetMenuBar(bar);

    wxAcceleratorEntry keys[] = {{wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE},
                                 {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},
                                 {wxACCEL_NORMAL, WXK_F1, ID_CONTEXT_HELP}};
    SetAcceleratorTable(wxAcceleratorTable(3, keys));
}

void CMainFrame::CreateToolBarButtons()
{
    auto* bar = new CToolBarEx(this);
    m_pToolBar = bar;
    struct Button {
        int id;
        wxArtID art;
    };
    const Button buttons[] = {{ID_FILE_NEW, wxART_NEW},        {ID_FILE_OPEN, wxART_FILE_OPEN}, {ID_FILE_SAVE, wxART_FILE_SAVE},
                              {0, {}},                         {ID_TEST_WIZARD, wxART_EXECUTABLE_FILE},
                              {ID_BUILD, wxART_GO_FORWARD},    {0, {}},
                              {ID_HELP_CONTENTS, wxART_HELP}};
    for (const Button& button : buttons) {
        if (button.id == 0) {
            bar->AddSeparator();
            continue;
        }
        bar->AddTool(button.id, PromptPart(button.id, true), wxArtProvider::GetBitmap(button.art, wxART_TOOLBAR),
                     PromptPart(button.id, true), PromptPart(button.id, false));
    }
    bar->Realize();
}

void CMainFrame::CreateStatusBarPanes()
{
    wxStatusBar* bar = CreateStatusBar(1 + kIndicatorPanes);
    const int indicators[] = {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};
    int widths[1 + kIndicatorPanes] = {-1};
    for (int i = 0; i < kIndicatorPanes; ++i) widths[i + 1] = bar->GetTextExtent(Wx(LoadString(indicators[i]))).x + 16;
    bar->SetStatusWidths(1 + kIndicatorPanes, widths);
    bar->SetStatusText(Wx(LoadString(IDS_IDLE_MESSAGE)), 0);
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    wxStatusBar* bar = GetStatusBar();
    const std::pair<wxKeyCode, int> indicators[] = {
        {WXK_CAPITAL, IDS_INDICATOR_CAPS}, {WXK_NUMLOCK, IDS_INDICATOR_NUM}, {WXK_SCROLL, IDS_INDICATOR_SCRL}};
    for (int i = 0; i < kIndicatorPanes; ++i) {
        auto [key, text] = indicators[i];
        wxString shown = wxGetKeyState(key) ? Wx(LoadString(text)) : wxString();
        if (bar->GetStatusText(i + 1) != shown) bar->SetStatusText(shown, i + 1);
    }
}

void CMainFrame::OnCharHook(wxKeyEvent& event)
{
    // Only a press during a build counts: one made before would stop the next build.
    if (event.GetKeyCode() == WXK_ESCAPE && IsBuilding()) m_buildHost.NoteEscapePressed();
    event.Skip();
}

void CMainFrame::RestorePlacement()
{
    wxString saved;
    if (!m_config.Read(kWindowPlacementKey, &saved)) return;
    std::optional<FrameRect> rect = ParseFramePlacement(Std(saved));
    wxRect screen = wxDisplay(0u).GetGeometry();
    if (rect && FitsScreen(*rect, screen.width, screen.height)) SetSize(rect->left, rect->top, rect->width, rect->height);
}

void CMainFrame::SavePlacement()
{
    wxRect rect = GetRect();
    m_config.Write(kWindowPlacementKey, Wx(FormatFramePlacement({rect.x, rect.y, rect.width, rect.height})));
    m_config.Flush();
}

void CMainFrame::UpdateTitle()
{
    wxString title = Wx(MakeFrameTitle(DocTemplatePart(kWindowTitlePart), m_doc.GetTitle(), m_doc.IsModified()));
    if (GetTitle() != title) SetTitle(title);
}

void CMainFrame::AfterProjectChanged()
{
    m_pSheet->UpdateAllPages();
    UpdateTitle();
}

void CMainFrame::NewDocument()
{
    m_doc.OnNewDocument();
    AfterProjectChanged();
}

void CMainFrame::OnFileNew()
{
    if (IsBuilding() || !SaveModified()) return;
    m_doc.OnNewDocument();
    // The new-project wizard, while the "wizard" preference is on; Cancel keeps the default project.
    NewProjectWizardHost wizard{[this](const CData& data, int startPage) {
        std::string error = RunWizardTest(data, m_strTempFile, m_buildHost, startPage);
        if (!error.empty()) ShowMessageBox(FormatText(LoadString(IDS_TEST_CANNOT_START), error), MB_OK | MB_ICONSTOP);
    }, [this](int helpId) { ShowHelp(helpId); }};
    if (RunNewProjectWizard(this, *GetData(), m_profile, wizard)) m_doc.SetModifiedFlag(true);
    AfterProjectChanged();
}

bool CMainFrame::SaveModified()
{
    if (!m_doc.IsModified() || !GetData()) return true;
    std::string question = LoadString(IDS_ASK_TO_SAVE);
    if (std::size_t mark = question.find("%1"); mark != std::string::npos) question.replace(mark, 2, m_doc.GetTitle());
    switch (ShowMessageBox(question, kMbYesNoCancel | MB_ICONQUESTION)) {
    case IDYES: return SaveDocument(false);
    case IDNO: return true;
    default: return false;
    }
}

void CMainFrame::OnOpen()
{
    if (IsBuilding() || !SaveModified()) return;
    wxFileDialog dialog(this, wxEmptyString, wxEmptyString, wxEmptyString, Wx(SettingsFilter()),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK) OpenDocumentFile(Std(dialog.GetPath()));
}

bool CMainFrame::OpenDocumentFile(const std::string& name)
{
    // The scan moves the current directory into the source directory, so a settings file
    // named relative to where the program started is kept by its full path.
    wxFileName absolute(Wx(name));
    absolute.MakeAbsolute();
    std::string path = Std(absolute.GetFullPath());
    std::string error;
    if (!m_doc.OnOpenDocument(path, error)) {
        ShowMessageBox(error, MB_OK | MB_ICONSTOP);
        NewDocument();
        return false;
    }
    AddRecentFile(path);
    CData& data = *GetData();
    std::string storedSourceDir = data.m_strSourceDir;
    if (!RelocateProjectPaths(data, path, error)) {
        CCannotFindDirDialog dialog(this, storedSourceDir, m_help);
        if (dialog.ShowModal() == wxID_OK) {
            data.m_strSourceDir = dialog.GetDirectory();
            RelocateProjectPaths(data, path, error);  // the bitmaps and output of the found project
            m_doc.SetModifiedFlag(true);
        }
    } else if (IsAbsolute(storedSourceDir) && data.m_strSourceDir != storedSourceDir && !data.m_bCommandLineBuild) {
        // Found again beside the settings file: the project now points there.
        m_doc.SetModifiedFlag(true);
    }
    AfterProjectChanged();
    return true;
}

bool CMainFrame::SaveDocument(bool askForName)
{
    if (!GetData()) return false;
    m_pSheet->CommitEdits();  // a text still being typed is saved too
    std::string path = m_doc.GetPathName();
    if (askForName || path.empty()) {
        wxFileDialog dialog(this, wxEmptyString, wxEmptyString, Wx(m_doc.GetTitle() + DocTemplatePart(kExtensionPart)),
                            Wx(SettingsFilter()), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() != wxID_OK) return false;
        wxFileName chosen(dialog.GetPath());
        if (!chosen.HasExt()) chosen.SetExt(Wx(DocTemplatePart(kExtensionPart).substr(1)));
        chosen.MakeAbsolute();
        path = Std(chosen.GetFullPath());
    }
    std::string error;
    if (!m_doc.OnSaveDocument(path, error)) {
        ShowMessageBox(error, MB_OK | MB_ICONSTOP);
        return false;
    }
    AddRecentFile(path);
    return true;
}

void CMainFrame::AddRecentFile(const std::string& path)
{
    m_fileHistory.AddFileToHistory(Wx(path));
    m_config.SetPath(kRecentFilesPath);
    m_fileHistory.Save(m_config);
    m_config.SetPath("/");
    m_config.Flush();
}

void CMainFrame::OnExportTexts()
{
    CData* data = GetData();
    if (!data) return;
    wxFileDialog dialog(this, wxEmptyString, Wx(GetTemplateDir()), Wx(LoadString(IDS_UNTITLED_TXT)),
                        Wx(DialogFilter(LoadString(IDS_TEXT_FILE_FILTER))), wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK) return;
    wxFileName chosen(dialog.GetPath());
    if (!chosen.HasExt()) chosen.SetExt("txt");
    ExportTextsTo(Std(chosen.GetFullPath()));
}

bool CMainFrame::ExportTextsTo(const std::string& path)
{
    CData* data = GetData();
    if (!data) return false;
    try {
        data->ExportTexts(path);
    } catch (const CFileError& error) {
        ShowMessageBox(error.what(), MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}

void CMainFrame::OnImportTexts()
{
    CData* data = GetData();
    if (!data) return;
    wxFileDialog dialog(this, wxEmptyString, Wx(GetTemplateDir()), wxEmptyString,
                        Wx(DialogFilter(LoadString(IDS_TEXT_FILE_FILTER))), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK) ImportTextsFrom(Std(dialog.GetPath()));
}

bool CMainFrame::ImportTextsFrom(const std::string& path)
{
    CData* data = GetData();
    if (!data) return false;
    try {
        data->ImportTexts(path);
    } catch (const CFileError& error) {
        ShowMessageBox(error.what(), MB_OK | MB_ICONSTOP);
        return false;
    }
    // The pages show the new texts; the project counts as unchanged.
    m_pSheet->UpdateAllPages();
    return true;
}

void CMainFrame::OnPreferences()
{
    CPreferencesDialog dialog(this, m_profile, m_help);
    if (dialog.ShowModal() == wxID_OK) m_pSheet->RedrawAllPages();
}

void CMainFrame::OnAbout()
{
    ShowAboutBox(this);
}

void CMainFrame::TestWizard()
{
    if (!GetData() || IsBuilding()) return;
    SetFocus();  // an edit being typed in commits its text first
    PreviewWizard(kWholeWizard);
}

void CMainFrame::PreviewWizard(int startPage)
{
    CData* data = GetData();
    if (!data || IsBuilding()) return;
    m_pSheet->CommitEdits();
    std::string error = RunWizardTest(*data, m_strTempFile, m_buildHost, startPage);
    if (!error.empty()) ShowMessageBox(FormatText(LoadString(IDS_TEST_CANNOT_START), error), MB_OK | MB_ICONSTOP);
}

void CMainFrame::BuildInstallProgram()
{
    if (!GetData() || IsBuilding()) return;
    m_pSheet->Build();
}

bool CMainFrame::IsBuilding() const { return m_pSheet && m_pSheet->GetBuildPage()->IsBuilding(); }

void CMainFrame::LockForBuild(bool lock)
{
    wxMenuBar* menus = GetMenuBar();
    for (size_t i = 0; i < menus->GetMenuCount(); ++i) menus->EnableTop(i, !lock);
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_TEST_WIZARD, ID_BUILD, ID_HELP_CONTENTS}) m_pToolBar->EnableTool(id, !lock);
    m_pSheet->Enable(!lock);
    if (!lock && m_buildHost.TakeQuitRequest()) CallAfter([this] { Close(); });
}

void CMainFrame::PostExit(bool built)
{
    m_nExitCode = built ? 0 : 1;
    if (m_onExitStatus) m_onExitStatus(m_nExitCode);
    CallAfter([this] { Close(); });
}

void CMainFrame::ShowHelp(int helpId)
{
    m_help.ShowHelp(this, HelpPageForContext(kHelpContextBase + static_cast<std::uint32_t>(helpId), true));
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    if (IsBuilding()) {
        // The build stops at its next step; the window closes after it.
        m_buildHost.RequestQuit();
        event.Veto();
        return;
    }
    if (event.CanVeto() && !SaveModified()) {
        event.Veto();
        return;
    }
    SavePlacement();
    Destroy();
}

}  // namespace sw
