// The window as a user meets it: open the example project, change options through the
// option pages, save and reload, build and read the report, cancel a build, preferences.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "GuiTestSupport.h"
#include "GuiWindowHelpers.h"
#include "app/CannotFindDirDialog.h"
#include "app/Commands.h"
#include "app/HelpLauncher.h"
#include "app/MainFrame.h"
#include "app/PreferencesDialog.h"
#include "model/SettingsFile.h"
#include "pages/BuildPage.h"
#include "pages/FilesPage.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw::test {
namespace {

CFilesPage& FilesPage() { return *Sheet().GetFilesPage(); }
wxListCtrl& FileList() { return *FilesPage().GetFileList(); }
wxListCtrl& Report() { return *Sheet().GetBuildPage()->GetReportList(); }

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

void SelectOnly(const std::string& name)
{
    FilesPage().SelectAll(false);
    int row = RowOf(FileList(), name);
    ASSERT_GE(row, 0) << name;
    FileList().SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    Pump();
}

const CFileItem& Item(const std::string& name)
{
    CData& data = *Frame().GetData();
    return data.m_files[static_cast<std::size_t>(data.m_files.FindFile(name))];
}

TEST(GuiWindow, StartsWithANewProjectAndTheFiveTabsInOrder)
{
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Install");
    const char* tabs[] = {"Files", "Wizard Texts", "Wizard Options", "Uninstaller", "Build"};
    ASSERT_EQ(Sheet().GetPageCount(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Std(Sheet().GetPageText(i)), tabs[i]);
    Frame().UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(Frame().GetMenuBar()->IsEnabled(ID_BUILD));
    EXPECT_TRUE(Frame().GetMenuBar()->IsEnabled(ID_TEST_WIZARD));
    EXPECT_EQ(Std(Frame().GetStatusBar()->GetStatusText(0)), "Ready");
    Frame().SetModifiedFlag();
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Install*");
    Frame().NewDocument();
    Screenshot("00-new-project");
}

TEST(GuiWindow, OpeningTheExampleListsItsFilesWithTheirOptions)
{
    ASSERT_TRUE(Frame().OpenDocumentFile(ExampleProject()));
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Example.kft");
    struct Row {
        const char* name;
        const char* code;
    };
    const Row rows[] = {{"readme.txt", "i.v...."},
                        {"bin\\example.ini", "......."},
                        {"bin\\ExampleTool.dll", "...su.."},
                        {"docs\\changes.txt", "......."},
                        {"docs\\licence.txt", "......."}};
    ASSERT_EQ(FileList().GetItemCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Cell(FileList(), i, 0), rows[i].name);
        EXPECT_EQ(Cell(FileList(), i, 1), rows[i].code);
    }
    Screenshot("01-files");
}

TEST(GuiWindow, OptionPagesWriteIntoTheSelectedFiles)
{
    COptSheet& options = *FilesPage().GetOptSheet();
    SelectOnly("docs\\changes.txt");

    options.SetSelection(3);
    Pump();
    auto& advanced = *static_cast<CFileOptAdv*>(options.GetPage(3));
    EXPECT_FALSE(advanced.Box(BOX_USAGE_COUNT)->IsEnabled());
    advanced.Box(BOX_SYSTEM)->SetValue(true);
    advanced.OnClick(BOX_SYSTEM);
    EXPECT_TRUE(advanced.Box(BOX_USAGE_COUNT)->IsEnabled());
    EXPECT_EQ(Cell(FileList(), RowOf(FileList(), "docs\\changes.txt"), 1), "...s...");
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Example.kft*");
    Screenshot("04-option-advanced");

    options.SetSelection(2);
    Pump();
    auto& endPage = *static_cast<CFileOptEndPage*>(options.GetPage(2));
    endPage.Box(1)->SetValue(true);
    endPage.OnClick(1);
    EXPECT_EQ(Cell(FileList(), RowOf(FileList(), "readme.txt"), 1), "i......");  // the View file moved
    EXPECT_EQ(Cell(FileList(), RowOf(FileList(), "docs\\changes.txt"), 1), "..vs...");
    Screenshot("03-option-view-run");

    options.SetSelection(0);
    Pump();
    auto& startMenu = *static_cast<CFileOptIcon*>(options.GetPage(0));
    startMenu.FolderEdit()->SetValue("Tools");
    EXPECT_EQ(Item("docs\\changes.txt").m_strIconFolder, "Tools");
    Screenshot("02-option-start-menu");

    options.SetSelection(1);
    Pump();
    Screenshot("02-option-shortcut");
    options.SetSelection(0);
}

TEST(GuiWindow, SavingAndOpeningAgainKeepsTheOptions)
{
    ASSERT_TRUE(Frame().SaveDocument(false));
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Example.kft");
    Frame().NewDocument();
    EXPECT_EQ(FileList().GetItemCount(), 0);
    ASSERT_TRUE(Frame().OpenDocumentFile(ExampleProject()));
    EXPECT_EQ(Item("docs\\changes.txt").GetOption(OPT_TARGET_DIR), 2);
    EXPECT_EQ(Item("docs\\changes.txt").GetOption(OPT_END_PAGE), 1);
    EXPECT_EQ(Item("docs\\changes.txt").m_strIconFolder, "Tools");
    EXPECT_EQ(Item("readme.txt").GetOption(OPT_END_PAGE), 0);
}

// Builds into the output path without the Save dialog, as a command-line build does.
void BuildInto(const std::string& output)
{
    CData& data = *Frame().GetData();
    data.m_strOutputFile = output;
    data.m_bCommandLineBuild = 1;
    Frame().BuildInstallProgram();
    data.m_bCommandLineBuild = 0;
}

// Takes a screenshot from inside a running build, a few event rounds after it started, so
// that the progress bar has been drawn.
void ScreenshotDuringBuild(int rounds)
{
    if (rounds > 0) {
        Frame().CallAfter([rounds] { ScreenshotDuringBuild(rounds - 1); });
        return;
    }
    std::string folder = Env("SETWRIGHT_SCREENSHOTS");
    if (!folder.empty()) std::system(("import -window root \"" + folder + "/05-build-progress.png\"").c_str());
}

TEST(GuiWindow, BuildShowsTheBuildPageAndReportsEveryFile)
{
    std::string output = Work() + "/Setup.exe";
    ScreenshotDuringBuild(3);
    BuildInto(output);
    EXPECT_EQ(Sheet().GetSelection(), 4);
    EXPECT_TRUE(Exists(output));
    ASSERT_GE(Report().GetItemCount(), 6);
    EXPECT_EQ(Cell(Report(), 0, 0), "Uninstal.exe");
    int readme = RowOf(Report(), "readme.txt");
    ASSERT_GE(readme, 0);
    EXPECT_EQ(Cell(Report(), readme, 2), "358");
    EXPECT_EQ(Cell(Report(), readme, 3).back(), '%');
    EXPECT_FALSE(Cell(Report(), readme, 1).empty());
    // Fresh preferences: ratio and packed size shown, the original size hidden.
    EXPECT_GT(Report().GetColumnWidth(1), 0);
    EXPECT_EQ(Report().GetColumnWidth(2), 0);
    EXPECT_GT(Report().GetColumnWidth(3), 0);
    EXPECT_TRUE(Frame().GetMenuBar()->IsEnabledTop(0));  // unlocked again
    Screenshot("05-build");
}

TEST(GuiWindow, CancelInTheSaveDialogBuildsNothing)
{
    int rows = Report().GetItemCount();
    g_dialogs.clear();
    g_modalAnswer = wxID_CANCEL;
    Frame().BuildInstallProgram();  // not a command-line build: the Save dialog asks
    EXPECT_FALSE(g_dialogs.empty());
    EXPECT_EQ(Report().GetItemCount(), rows);
    EXPECT_TRUE(Frame().GetMenuBar()->IsEnabledTop(0));
}

TEST(GuiWindow, EscapeStopsABuildWhenTheUserSaysYes)
{
    std::string output = Work() + "/Cancelled.exe";
    g_messages.clear();
    g_messageAnswer = IDYES;
    Frame().CallAfter([] { Frame().GetGuiBuildHost().NoteEscapePressed(); });
    BuildInto(output);
    g_messageAnswer = IDNO;
    ASSERT_FALSE(g_messages.empty());
    EXPECT_EQ(g_messages.front().first, LoadString(IDS_ASK_STOP_BUILD));
    EXPECT_FALSE(Exists(output));
    EXPECT_TRUE(Frame().GetMenuBar()->IsEnabledTop(0));
    EXPECT_TRUE(Sheet().IsEnabled());
}

TEST(GuiWindow, PressingEscapeOnTheKeyboardStopsABuild)
{
    std::string output = Work() + "/Escaped.exe";
    g_messages.clear();
    g_messageAnswer = IDYES;
    wxUIActionSimulator keyboard;
    // Held down, as a user's press lasts longer than a step of the build.
    Frame().CallAfter([&keyboard] { keyboard.KeyDown(WXK_ESCAPE); });
    BuildInto(output);
    keyboard.KeyUp(WXK_ESCAPE);
    Pump();
    g_messageAnswer = IDNO;
    ASSERT_FALSE(g_messages.empty());
    EXPECT_EQ(g_messages.front().first, LoadString(IDS_ASK_STOP_BUILD));
    EXPECT_FALSE(Exists(output));
}

TEST(GuiWindow, AnEscapePressedBeforeABuildDoesNotStopIt)
{
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(&Frame());
    Frame().ProcessWindowEvent(escape);
    EXPECT_FALSE(Frame().GetGuiBuildHost().IsEscapeDown());
}

TEST(GuiWindow, PreferencesChooseTheReportColumns)
{
    {
        CPreferencesDialog dialog(&Frame(), Frame().GetProfile(), App().GetHelp());
        for (int i = 1; i <= 3; ++i) dialog.Box(i)->SetValue(false);
        dialog.Show();
        Screenshot("06-preferences", &dialog);
        dialog.Apply();
        dialog.Hide();
    }
    Sheet().RedrawAllPages();
    EXPECT_EQ(Report().GetColumnWidth(1) + Report().GetColumnWidth(2) + Report().GetColumnWidth(3), 0);
    EXPECT_EQ(Report().GetColumnWidth(0), Report().GetClientSize().x);

    CPreferencesDialog dialog(&Frame(), Frame().GetProfile(), App().GetHelp());
    for (int i = 1; i <= 3; ++i) dialog.Box(i)->SetValue(true);
    dialog.Apply();
    // OK writes every value, the unchanged wizard box too.
    for (const char* name : {"output_ratio", "output_packedsize", "output_originalsize"})
        EXPECT_EQ(Frame().GetProfile().ReadInt("Output", name), 1) << name;
    EXPECT_EQ(Frame().GetProfile().ReadInt("General", "wizard"), 1);
    Sheet().RedrawAllPages();
    EXPECT_GT(Report().GetColumnWidth(2), Report().GetColumnWidth(1));
    BuildInto(Work() + "/Setup.exe");
    Screenshot("07-build-all-columns");
}

TEST(GuiWindow, TheOtherTabsAreThere)
{
    const char* names[] = {"08-wizard-texts", "09-wizard-options", "10-uninstaller"};
    for (std::size_t i = 1; i <= 3; ++i) {
        Sheet().SetSelection(i);
        Screenshot(names[i - 1]);
    }
    Sheet().SetSelection(0);
}

TEST(GuiWindow, TestCommandSaysWhyItCannotStartTheTestProgram)
{
    std::string path = Env("PATH");
    wxSetEnv("PATH", "/nonexistent");
    g_messages.clear();
    Frame().TestWizard();
    wxSetEnv("PATH", Wx(path));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].first.find(LoadString(IDS_TEST_NO_WINE)), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(App().GetTempFile().c_str(), &info), 0);
    EXPECT_GT(info.st_size, 0);  // the test program was written
}

TEST(GuiWindow, AMissingSourceDirectoryIsAskedForAndCancelKeepsIt)
{
    CData moved;
    moved.m_strSourceDir = "/nonexistent/product/";
    std::string project = Work() + "/moved.kft";
    SaveSettingsFile(moved, project);
    g_modalAnswer = wxID_CANCEL;
    g_messages.clear();
    ASSERT_TRUE(Frame().OpenDocumentFile(project));
    EXPECT_EQ(Frame().GetData()->m_strSourceDir, "/nonexistent/product/");
    EXPECT_FALSE(Frame().GetDocument().IsModified());
    ASSERT_FALSE(g_messages.empty());  // the scan could not enter it
    EXPECT_EQ(g_messages[0].first, "Cannot find this directory:\n\n/nonexistent/product/");

    CCannotFindDirDialog dialog(&Frame(), "/nonexistent/product/", App().GetHelp());
    EXPECT_FALSE(dialog.IsOkEnabled());
    dialog.SetDirectoryText(Work());
    EXPECT_TRUE(dialog.IsOkEnabled());
    EXPECT_EQ(dialog.GetDirectory(), Work() + "/");
    dialog.Show();
    Screenshot("11-cannot-find-directory", &dialog);
    dialog.Hide();
}

TEST(GuiWindow, HelpOpensTheInstalledPagesWhenNoAddressIsSet)
{
    std::string address = App().GetHelp().OnlineAddress("sw/o_fichiers.htm");
    ASSERT_EQ(address.rfind("file://", 0), 0u);
    EXPECT_TRUE(Exists(address.substr(7)));
}

TEST(GuiWindow, TypedDirectoryIsScannedWhenCommittedAndSubDirectoriesFollowTheBox)
{
    Frame().NewDocument();
    std::string files = Work() + "/examples/files";
    FilesPage().GetDirectoryEdit()->SetValue(Wx(files));
    Sheet().SetSelection(4);  // leaving the page commits the directory
    Sheet().SetSelection(0);
    EXPECT_EQ(Frame().GetData()->m_strSourceDir, files + "/");
    EXPECT_EQ(Std(FilesPage().GetDirectoryEdit()->GetValue()), files + "/");
    EXPECT_EQ(FileList().GetItemCount(), 5);
    EXPECT_TRUE(Frame().GetDocument().IsModified());

    FilesPage().SetIncludeSubdirs(false);
    ASSERT_EQ(FileList().GetItemCount(), 1);
    EXPECT_EQ(Cell(FileList(), 0, 0), "readme.txt");
    FilesPage().SetIncludeSubdirs(true);
    EXPECT_EQ(FileList().GetItemCount(), 5);

    wxUIActionSimulator keyboard;
    keyboard.KeyDown(WXK_ESCAPE);
    Pump();
    FilesPage().RescanDirectory();  // Escape held: the scan stops with an empty list
    keyboard.KeyUp(WXK_ESCAPE);
    Pump();
    EXPECT_EQ(FileList().GetItemCount(), 0);
    EXPECT_EQ(Frame().GetData()->m_strSourceDir, files + "/");
    FilesPage().RescanDirectory();
    EXPECT_EQ(FileList().GetItemCount(), 5);
    EXPECT_EQ(Std(Frame().GetStatusBar()->GetStatusText(0)), "Ready");  // the scan's text is gone
}

TEST(GuiWindow, WizardTextsGoOutToATextFileAndComeBackWithoutMarkingTheProject)
{
    Frame().NewDocument();
    CData& data = *Frame().GetData();
    std::string file = Work() + "/texts.txt";
    ASSERT_TRUE(Frame().ExportTextsTo(file));
    std::string welcome = data.m_texts[0][0];
    data.m_texts[0][0] = "Changed";
    ASSERT_TRUE(Frame().ImportTextsFrom(file));
    EXPECT_EQ(Frame().GetData()->m_texts[0][0], welcome);
    EXPECT_FALSE(Frame().GetDocument().IsModified());

    g_messages.clear();
    EXPECT_FALSE(Frame().ImportTextsFrom(Work() + "/missing.txt"));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].first.find("missing.txt"), std::string::npos);
}

bool HasText(const ShownDialog& dialog, const std::string& text)
{
    return std::find(dialog.texts.begin(), dialog.texts.end(), text) != dialog.texts.end();
}

TEST(GuiWindow, HelpWithoutTheViewerOffersTheOnlineHelp)
{
    g_dialogs.clear();
    g_modalAnswer = wxID_CANCEL;
    Frame().ShowHelp(160);
    ASSERT_EQ(g_dialogs.size(), 1u);
    EXPECT_EQ(g_dialogs[0].title, "Help");
    EXPECT_TRUE(HasText(g_dialogs[0], LoadString(IDS_HELP_NOT_INSTALLED)));
    EXPECT_TRUE(HasText(g_dialogs[0], "Online &Help"));
    EXPECT_FALSE(App().GetHelp().m_bOnlineHelp);  // Close keeps asking next time

    // F1 asks for the help of the page in front.
    g_dialogs.clear();
    wxCommandEvent f1(wxEVT_MENU, ID_CONTEXT_HELP);
    Frame().ProcessWindowEvent(f1);
    EXPECT_EQ(g_dialogs.size(), 1u);
}

TEST(GuiWindow, AboutBoxShowsTheVersion)
{
    g_dialogs.clear();
    wxCommandEvent about(wxEVT_MENU, ID_APP_ABOUT);
    Frame().ProcessWindowEvent(about);
    ASSERT_EQ(g_dialogs.size(), 1u);
    EXPECT_EQ(g_dialogs[0].title, "About Setwright");
    EXPECT_TRUE(HasText(g_dialogs[0], "Version 1.2"));
}

TEST(GuiWindow, LeavesTheExampleOpenInAPlacedWindow)
{
    // Named relative to the current directory, which the scan then leaves.
    ASSERT_EQ(::chdir(Work().c_str()), 0);
    ASSERT_TRUE(Frame().OpenDocumentFile("examples/Example.kft"));
    EXPECT_EQ(Frame().GetDocument().GetPathName(), ExampleProject());
    Frame().SetSize(40, 50, 950, 700);
    Pump();
}

// Last of the first run: closing the window during a build stops the build, then closes.
TEST(GuiWindow, ClosingTheWindowDuringABuildStopsItAndThenCloses)
{
    std::string output = Work() + "/Quit.exe";
    g_messages.clear();
    Frame().CallAfter([] { Frame().Close(); });
    BuildInto(output);
    EXPECT_TRUE(g_messages.empty());  // no question: the user asked to quit
    EXPECT_FALSE(Exists(output));
    for (int round = 0; round < 5 && App().GetMainFrame(); ++round) Pump();
    EXPECT_EQ(App().GetMainFrame(), nullptr);
}

// Starts wine, which takes long the first time in a fresh prefix: only when asked for with
// SETWRIGHT_TEST_WINE=1 (and a WINEPREFIX of its own).
TEST(GuiWine, TestCommandStartsTheTestProgramUnderWine)
{
    if (Env("SETWRIGHT_TEST_WINE") != "1") GTEST_SKIP() << "set SETWRIGHT_TEST_WINE=1 to start wine";
    if (!App().GetMainFrame()) GTEST_SKIP() << "run it on its own: --gtest_filter=GuiWine.*";
    g_messages.clear();
    Frame().TestWizard();
    EXPECT_TRUE(g_messages.empty());
    for (int second = 0; second < 40; ++second) {
        wxMilliSleep(1000);
        Pump();
    }
    Frame().Lower();  // the test program's window in front
    Pump();
    std::string folder = Env("SETWRIGHT_SCREENSHOTS");
    if (!folder.empty()) std::system(("import -window root \"" + folder + "/13-test-wizard-under-wine.png\"").c_str());
    wxExecute("wineserver -k", wxEXEC_SYNC);
}

// Run by a second start of the program, after the first closed its window.
TEST(GuiRestart, TheWindowComesBackWhereItWasWithTheProjectInTheRecentFiles)
{
    wxRect rect = Frame().GetRect();
    EXPECT_EQ(rect, wxRect(40, 50, 950, 700));
    ASSERT_GE(Frame().GetFileHistory().GetCount(), 1u);
    EXPECT_EQ(Std(Frame().GetFileHistory().GetHistoryFile(0)), ExampleProject());
    wxCommandEvent recent(wxEVT_MENU, ID_FILE_MRU_FIRST);
    Frame().ProcessWindowEvent(recent);
    EXPECT_EQ(Frame().GetDocument().GetPathName(), ExampleProject());
    EXPECT_EQ(FileList().GetItemCount(), 5);
}

}  // namespace
}  // namespace sw::test
