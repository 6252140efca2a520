// The new-project wizard in the real program: New opens it while the "wizard" preference is
// on; a run through all eleven pages on a folder with a program, a readme and a DLL gives
// a project with the Start-menu icon, the View button, the title and the directory, and
// starts the build; Cancel keeps the default project; the Welcome page's box turns the
// wizard off. Each page is saved as wizard-page-NN.png in the screenshot folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include "app/App.h"
#include "app/MainFrame.h"
#include "app/WxProfile.h"
#include "pages/BuildPage.h"
#include "pages/MessageBoxes.h"
#include "pages/Preferences.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"
#include "wizard/NewProjectWizard.h"
#include "wizard/WizardDialogs.h"

namespace sw::test {
namespace {

// What runs a wizard once it is up; none: the wizard is cancelled.
std::function<void(CWizSheet&)> g_driveWizard;
int g_wizardsShown = 0;
std::string g_outputFile;  // the Save dialog of a build answers this file
int g_saveDialogs = 0;
std::vector<std::string> g_messageTexts;
// Runs once the first wizard (the one New opens at start-up) has closed.
std::function<void()> g_afterFirstWizard;

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}
std::string Work() { return Env("SETWRIGHT_TEST_WORK"); }

CSetwrightApp& App() { return *static_cast<CSetwrightApp*>(wxTheApp); }
CMainFrame& Frame() { return *App().GetMainFrame(); }

void Pump()
{
    for (int i = 0; i < 20; ++i) wxTheApp->Yield(true);
}

// A window alone, cut out of the screen.
void Screenshot(wxWindow& window, const std::string& name)
{
    window.Raise();
    window.Update();
    Pump();
    wxMilliSleep(150);
    Pump();
    std::string folder = Env("SETWRIGHT_SCREENSHOTS");
    if (folder.empty()) return;
    wxRect r = window.GetScreenRect();
    std::string command = "import -window root -crop " + std::to_string(r.width) + "x" + std::to_string(r.height) + "+" +
                          std::to_string(r.x) + "+" + std::to_string(r.y) + " +repage \"" + folder + "/" + name + ".png\"";
    wxExecute(Wx(command), wxEXEC_SYNC);
}

void Screenshot(CWizSheet& sheet, int page)
{
    char name[32];
    std::snprintf(name, sizeof name, "wizard-page-%02d", page);
    Screenshot(sheet, std::string(name));
}

// Nobody clicks here: the wizard runs what the test gives it, the small dialogs take the
// values the test wants, the Save dialog of the build names the output file.
class CWizardDialogHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override
    {
        if (auto* sheet = dynamic_cast<CWizSheet*>(dialog)) {
            ++g_wizardsShown;
            auto drive = g_driveWizard;
            g_driveWizard = nullptr;
            sheet->CallAfter([sheet, drive] {
                if (drive) {
                    drive(*sheet);
                } else {
                    sheet->EndModal(wxID_CANCEL);
                }
            });
            return wxID_NONE;
        }
        if (auto* registry = dynamic_cast<CRegistryKeyDialog*>(dialog)) {
            registry->GetRootList()->SetSelection(2);
            registry->GetKeyEdit()->SetValue("Software\\Quorvix\\Gadget");
            registry->GetSubkeyEdit()->SetValue("InstallDir");
            return Answer(dialog, wxID_OK, "wizard-registry-key");
        }
        if (auto* ini = dynamic_cast<CIniFileDialog*>(dialog)) {
            ini->GetFileEdit()->SetValue("gadget");
            ini->GetSectionEdit()->SetValue("Paths");
            ini->GetEntryEdit()->SetValue("Dir");
            return Answer(dialog, wxID_OK, "wizard-ini-file");
        }
        if (auto* save = dynamic_cast<wxFileDialog*>(dialog)) {
            ++g_saveDialogs;
            if (g_outputFile.empty()) return Answer(dialog, wxID_CANCEL);
            save->SetPath(Wx(g_outputFile));
            return Answer(dialog, wxID_OK);
        }
        return Answer(dialog, wxID_CANCEL);
    }
    void Exit(wxDialog* dialog) override
    {
        if (!dynamic_cast<CWizSheet*>(dialog) || !g_afterFirstWizard) return;
        wxTheApp->CallAfter(g_afterFirstWizard);
        g_afterFirstWizard = nullptr;
    }

private:
    // shot: the name of a screenshot of the dialog before it ends.
    static int Answer(wxDialog* dialog, int answer, std::string shot = {})
    {
        dialog->CallAfter([dialog, answer, shot] {
            if (!shot.empty()) Screenshot(*dialog, shot);
            dialog->EndModal(answer);
        });
        return wxID_NONE;
    }
};

void Type(wxTextCtrl* edit, const std::string& text)
{
    edit->SetFocus();
    edit->SetValue(Wx(text));  // the text event, as typing sends it
    Pump();
}

void Click(wxCheckBox* box)
{
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(box->GetValue() ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

void Click(wxRadioButton* button)
{
    button->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void Click(wxButton* button)
{
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

bool NextEnabled(CWizSheet& sheet) { return sheet.FindWindow(wxID_FORWARD)->IsEnabled(); }
bool BackEnabled(CWizSheet& sheet) { return sheet.FindWindow(wxID_BACKWARD)->IsEnabled(); }
std::string NextLabel(CWizSheet& sheet) { return Std(sheet.FindWindow(wxID_FORWARD)->GetLabel()); }

// The product: a program, a readme and a DLL.
std::string MakeProduct()
{
    std::string dir = Work() + "/Gadget";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/gadget.exe", std::ios::binary) << std::string(4096, 'M');
    std::ofstream(dir + "/readme.txt") << "Gadget 1.0\nRead me first.\n";
    std::ofstream(dir + "/helper.dll", std::ios::binary) << std::string(2048, 'D');
    return dir;
}

template <typename Page>
Page* Expect(CWizSheet& sheet, int number)
{
    auto* page = dynamic_cast<Page*>(sheet.GetActivePage());
    EXPECT_NE(page, nullptr) << "page " << number;
    EXPECT_EQ(sheet.GetActivePage(), sheet.GetPage(static_cast<std::size_t>(number - 1)));
    return page;
}

// Every page in order, with what it allows, what it stores and a screenshot.
void RunThroughEveryPage(CWizSheet& sheet, const std::string& product)
{
    WizardAnswers& answers = sheet.GetAnswers();
    EXPECT_EQ(Std(sheet.GetTitle()), "");
    ASSERT_EQ(sheet.GetPageCount(), 11u);

    // 1. Welcome: Next only.
    ASSERT_NE(Expect<CWizWelcomePage>(sheet, 1), nullptr);
    EXPECT_FALSE(BackEnabled(sheet));
    EXPECT_TRUE(NextEnabled(sheet));
    EXPECT_EQ(sheet.GetWizardButtons(), unsigned(WIZB_NEXT));
    Screenshot(sheet, 1);
    sheet.PressNext();

    // 2. Directory: Back alone until a directory that exists is typed.
    auto* directory = Expect<CWizDirectoryPage>(sheet, 2);
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(sheet.GetWizardButtons(), unsigned(WIZB_BACK));
    EXPECT_FALSE(NextEnabled(sheet));
    Type(directory->GetEdit(), product + "/missing");
    EXPECT_FALSE(NextEnabled(sheet));
    Type(directory->GetEdit(), product);
    EXPECT_TRUE(NextEnabled(sheet));
    EXPECT_EQ(answers.data.m_strSourceDir, product + "/");      // stored with the separator
    EXPECT_EQ(Std(directory->GetEdit()->GetValue()), product);  // shown as typed
    EXPECT_TRUE(directory->GetSubdirsBox()->GetValue());
    Screenshot(sheet, 2);
    sheet.PressNext();

    // 3. Title: English chosen; the background title follows the title.
    auto* title = Expect<CWizTitlePage>(sheet, 3);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(sheet.GetWizardButtons(), unsigned(WIZB_BACK | WIZB_NEXT));
    EXPECT_EQ(Std(title->GetLanguageList()->GetStringSelection()), "English");
    EXPECT_EQ(Std(title->GetTitleEdit()->GetValue()), "MyProduct");
    EXPECT_TRUE(title->GetPreviewButton()->IsShown());
    Type(title->GetTitleEdit(), "Gadget");
    Screenshot(sheet, 3);
    sheet.PressNext();
    EXPECT_EQ(answers.data.m_strTitle, "Gadget");
    EXPECT_EQ(answers.data.m_strBackgroundTitle, "Gadget");

    // 4. Shell: a file needs an icon name and has to open.
    auto* shell = Expect<CWizShellPage>(sheet, 4);
    ASSERT_NE(shell, nullptr);
    EXPECT_TRUE(NextEnabled(sheet));  // no file: no icon
    Type(shell->GetFileEdit(), "gadget.exe");
    EXPECT_FALSE(NextEnabled(sheet));  // no icon name yet
    Type(shell->GetIconNameEdit(), "Gadget");
    EXPECT_TRUE(NextEnabled(sheet));
    Type(shell->GetFileEdit(), "nothing.exe");
    EXPECT_FALSE(NextEnabled(sheet));
    Type(shell->GetFileEdit(), "gadget.exe");
    Click(shell->GetShortcutBox());
    EXPECT_EQ(answers.desktopShortcut, 1);
    Screenshot(sheet, 4);
    sheet.PressNext();

    // 5. Information: Preview needs text.
    auto* information = Expect<CWizInformationPage>(sheet, 5);
    ASSERT_NE(information, nullptr);
    Type(information->GetEdit(), "   ");
    EXPECT_FALSE(information->GetPreviewButton()->IsEnabled());
    Type(information->GetEdit(), "Gadget is free software.\nUse it at your own risk.");
    EXPECT_TRUE(information->GetPreviewButton()->IsEnabled());
    Screenshot(sheet, 5);
    sheet.PressNext();
    EXPECT_EQ(answers.data.m_texts[1][1], "Gadget is free software.\nUse it at your own risk.");

    // 6. Window: full screen with the title; Small disables the title.
    auto* window = Expect<CWizWindowPage>(sheet, 6);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->GetModeButton(1)->GetValue());
    EXPECT_EQ(Std(window->GetTitleEdit()->GetValue()), "Gadget");
    EXPECT_TRUE(window->GetTitleEdit()->IsEnabled());
    Click(window->GetModeButton(0));
    EXPECT_EQ(answers.data.m_nWindowMode, 0);
    EXPECT_FALSE(window->GetTitleEdit()->IsEnabled());
    Click(window->GetModeButton(1));
    EXPECT_TRUE(window->GetTitleEdit()->IsEnabled());
    EXPECT_FALSE(window->GetSketchRect(0).Intersects(window->GetSketchRect(1)));
    EXPECT_FALSE(window->GetSketchRect(0).Intersects(window->GetPictureRect()));
    Screenshot(sheet, 6);
    sheet.PressNext();

    // 7. Bitmaps: the pattern controls are there for the full screen.
    auto* bitmaps = Expect<CWizBitmapsPage>(sheet, 7);
    ASSERT_NE(bitmaps, nullptr);
    EXPECT_TRUE(bitmaps->GetPatternEdit()->IsShown());
    EXPECT_TRUE(bitmaps->GetPatternButton()->IsShown());
    Screenshot(sheet, 7);
    // Back to the Window page for the small format: the pattern goes.
    sheet.PressBack();
    Click(window->GetModeButton(0));
    sheet.PressNext();
    EXPECT_FALSE(bitmaps->GetPatternEdit()->IsShown());
    EXPECT_FALSE(bitmaps->GetPatternText()->IsShown());
    sheet.PressBack();
    Click(window->GetModeButton(1));
    sheet.PressNext();
    EXPECT_TRUE(bitmaps->GetPatternEdit()->IsShown());
    sheet.PressNext();

    // 8. Installation directory with its Registry key and INI file.
    auto* installDir = Expect<CWizInstallDirPage>(sheet, 8);
    ASSERT_NE(installDir, nullptr);
    Type(installDir->GetEdit(), "#Program Files#\\Gadget");
    installDir->OnRegistry();
    installDir->OnIniFile();
    EXPECT_EQ(answers.data.m_nRegRoot, 2);
    EXPECT_EQ(answers.data.m_strRegKey, "Software\\Quorvix\\Gadget");
    EXPECT_EQ(answers.data.m_strRegValue, "InstallDir");
    EXPECT_EQ(answers.data.m_strIniFile, "gadget.ini");
    Screenshot(sheet, 8);
    sheet.PressNext();
    EXPECT_EQ(answers.data.m_strDefaultDir, "#Program Files#\\Gadget");

    // 9. End page options: unreadable files take Next away.
    auto* endOptions = Expect<CWizEndOptionsPage>(sheet, 9);
    ASSERT_NE(endOptions, nullptr);
    EXPECT_TRUE(NextEnabled(sheet));
    Type(endOptions->GetViewEdit(), "nothing.txt");
    EXPECT_FALSE(NextEnabled(sheet));
    Type(endOptions->GetViewEdit(), "readme.txt");
    EXPECT_TRUE(NextEnabled(sheet));
    Type(endOptions->GetLaunchEdit(), "nothing.exe");
    EXPECT_FALSE(NextEnabled(sheet));
    EXPECT_TRUE(BackEnabled(sheet));
    Type(endOptions->GetLaunchEdit(), "");
    EXPECT_TRUE(NextEnabled(sheet));
    Screenshot(sheet, 9);
    sheet.PressNext();

    // 10. Uninstallation: checked at first.
    auto* uninstall = Expect<CWizUninstallPage>(sheet, 10);
    ASSERT_NE(uninstall, nullptr);
    EXPECT_TRUE(uninstall->GetBox()->GetValue());
    Screenshot(sheet, 10);
    sheet.PressNext();

    // 11. End: Back and Finish; the build box clear.
    auto* end = Expect<CWizEndPage>(sheet, 11);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(sheet.GetWizardButtons(), unsigned(WIZB_BACK | WIZB_FINISH));
    EXPECT_EQ(NextLabel(sheet), "&Finish");
    EXPECT_FALSE(end->GetDoNotBuildBox()->GetValue());
    Screenshot(sheet, 11);
    sheet.PressNext();  // Finish
}

const CFileItem* Item(const std::string& name)
{
    CData& data = *Frame().GetData();
    int index = data.m_files.FindFile(name);
    return index < 0 ? nullptr : &data.m_files[static_cast<std::size_t>(index)];
}

TEST(GuiWizard, StartUpOpensTheWizardAndCancelKeepsTheDefaultProject)
{
    EXPECT_EQ(g_wizardsShown, 1);  // at start-up, cancelled by the hook
    EXPECT_FALSE(Frame().GetDocument().IsModified());
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Install");
    EXPECT_TRUE(*Frame().GetData() == CData());
}

TEST(GuiWizard, CancelAfterEditingKeepsTheDefaultProject)
{
    std::string product = MakeProduct();
    g_driveWizard = [product](CWizSheet& sheet) {
        sheet.PressNext();
        auto* directory = dynamic_cast<CWizDirectoryPage*>(sheet.GetActivePage());
        ASSERT_NE(directory, nullptr);
        Type(directory->GetEdit(), product);
        Click(static_cast<wxButton*>(sheet.FindWindow(wxID_CANCEL)));
    };
    Frame().OnFileNew();
    EXPECT_EQ(g_wizardsShown, 2);
    EXPECT_TRUE(*Frame().GetData() == CData());
    EXPECT_FALSE(Frame().GetDocument().IsModified());
}

TEST(GuiWizard, NewRunsThroughEveryPageToFinishAndStartsTheBuild)
{
    std::string product = MakeProduct();
    g_outputFile = Work() + "/GadgetSetup.exe";
    g_driveWizard = [product](CWizSheet& sheet) { RunThroughEveryPage(sheet, product); };
    Frame().OnFileNew();
    EXPECT_EQ(g_wizardsShown, 3);

    CData& data = *Frame().GetData();
    EXPECT_TRUE(Frame().GetDocument().IsModified());
    EXPECT_EQ(Std(Frame().GetTitle()), "Quorvix Setwright - Install*");
    EXPECT_EQ(data.m_strSourceDir, product + "/");
    EXPECT_EQ(data.m_strTitle, "Gadget");
    EXPECT_EQ(data.m_strBackgroundTitle, "Gadget");
    EXPECT_EQ(data.m_strDefaultDir, "#Program Files#\\Gadget");
    EXPECT_EQ(data.m_strRegKey, "Software\\Quorvix\\Gadget");
    EXPECT_EQ(data.m_strIniFile, "gadget.ini");
    EXPECT_EQ(data.m_strUninstallerName, "Uninstal.exe");
    EXPECT_EQ(data.m_strUninstallIconFolder, "Gadget");
    EXPECT_EQ(data.m_strUninstallIconName, "Uninstall Gadget");
    EXPECT_EQ(data.m_bApplyWizardResults, 0);  // the Files page applied the answers

    ASSERT_EQ(data.m_files.size(), 3u);
    const CFileItem* program = Item("gadget.exe");
    const CFileItem* readme = Item("readme.txt");
    ASSERT_NE(program, nullptr);
    ASSERT_NE(readme, nullptr);
    ASSERT_NE(Item("helper.dll"), nullptr);
    EXPECT_EQ(program->m_strIconFolder, "Gadget");
    EXPECT_EQ(program->m_strIconName, "Gadget");
    EXPECT_EQ(program->m_strShortcutName, "Gadget");
    EXPECT_EQ(readme->GetOption(OPT_END_PAGE), 1);  // the View button
    EXPECT_EQ(data.m_texts[5][2], LoadString(IDS_WIZ_VIEW_FILE_TEXT));

    // The build starts by itself on the Build page.
    for (int i = 0; i < 200 && !std::filesystem::exists(g_outputFile); ++i) {
        Pump();
        wxMilliSleep(50);
    }
    Pump();
    EXPECT_GE(g_saveDialogs, 1);  // GTK's file dialog passes the hook twice
    EXPECT_EQ(Frame().GetSheet()->GetSelection(), 4);
    EXPECT_TRUE(std::filesystem::exists(g_outputFile));
    EXPECT_GE(Frame().GetSheet()->GetBuildPage()->GetReportList()->GetItemCount(), 4);
    EXPECT_EQ(data.m_bBuildPending, 0);
    Frame().GetDocument().SetModifiedFlag(false);
}

TEST(GuiWizard, PreviewStartsTheTestAtThePageOfEachButtonAndHelpNamesThePage)
{
    std::string product = MakeProduct();
    std::vector<std::pair<int, std::string>> previews;  // start page, title of the project tested
    std::vector<int> helps;
    NewProjectWizardHost host{[&previews](const CData& data, int page) { previews.emplace_back(page, data.m_strTitle); },
                              [&helps](int helpId) { helps.push_back(helpId); }};
    auto* sheet = new CWizSheet(&Frame(), host);
    g_driveWizard = [product](CWizSheet& wizard) {
        for (std::size_t i = 0; i < wizard.GetPageCount(); ++i) {
            CWizPage* page = wizard.GetActivePage();
            ASSERT_EQ(page, wizard.GetPage(i));
            Click(static_cast<wxButton*>(wizard.FindWindow(wxID_HELP)));
            if (auto* directory = dynamic_cast<CWizDirectoryPage*>(page)) Type(directory->GetEdit(), product);
            if (auto* title = dynamic_cast<CWizTitlePage*>(page)) Type(title->GetTitleEdit(), "Previewed");
            if (auto* information = dynamic_cast<CWizInformationPage*>(page)) {
                Type(information->GetEdit(), " ");
                Click(information->GetPreviewButton());  // nothing to show: no test
                Type(information->GetEdit(), "Licence");
            }
            if (wxButton* preview = page->GetPreviewButton()) Click(preview);
            if (i + 1 < wizard.GetPageCount()) wizard.PressNext();
        }
        Click(static_cast<wxButton*>(wizard.FindWindow(wxID_CANCEL)));
    };
    EXPECT_EQ(sheet->Run(), WizardEnd::Cancel);
    sheet->Destroy();
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "Previewed"}, {1, "Previewed"}, {0, "Previewed"}, {0, "Previewed"}, {2, "Previewed"}};
    EXPECT_EQ(previews, expected);  // Title, Information, Window, Bitmaps, Installation directory
    EXPECT_EQ(helps, (std::vector<int>{142, 143, 144, 10000, 167, 145, 146, 150, 10003, 9999, 152}));
}

TEST(GuiWizard, TheWelcomeBoxWithFinishTurnsTheWizardOff)
{
    g_driveWizard = [](CWizSheet& sheet) {
        auto* welcome = dynamic_cast<CWizWelcomePage*>(sheet.GetActivePage());
        ASSERT_NE(welcome, nullptr);
        Click(welcome->GetStopBox());
        EXPECT_EQ(sheet.GetWizardButtons(), unsigned(WIZB_FINISH));
        EXPECT_EQ(NextLabel(sheet), "&Finish");
        EXPECT_EQ(sheet.GetAnswers().useWizard, 0);
        Click(welcome->GetStopBox());
        EXPECT_EQ(sheet.GetWizardButtons(), unsigned(WIZB_NEXT));
        Click(welcome->GetStopBox());
        sheet.PressNext();  // Finish
    };
    Frame().OnFileNew();
    EXPECT_EQ(g_wizardsShown, 5);
    EXPECT_TRUE(*Frame().GetData() == CData());
    EXPECT_FALSE(Frame().GetDocument().IsModified());
    EXPECT_EQ(GeneralSettings().Read(Frame().GetProfile(), PREF_WIZARD), 0);
    Frame().OnFileNew();  // no wizard now
    EXPECT_EQ(g_wizardsShown, 5);
}

}  // namespace

class CWizardGuiTestApp : public CSetwrightApp {
public:
    bool OnInit() override
    {
        ::testing::InitGoogleTest(&argc, argv.operator char**());
        SetMessageBoxHook([](const std::string& text, unsigned) {
            g_messageTexts.push_back(text);
            return IDOK;
        });
        m_hook.Register();
        if (!CSetwrightApp::OnInit()) return false;
        // The start-up New opens the wizard once the window stands; the tests run after it
        // closed, outside its event loop.
        g_afterFirstWizard = [this] {
            m_nResult = RUN_ALL_TESTS();
            if (CMainFrame* frame = GetMainFrame()) frame->Close(true);
        };
        return true;
    }
    int OnRun() override
    {
        CSetwrightApp::OnRun();
        return m_nResult;
    }

private:
    CWizardDialogHook m_hook;
    int m_nResult = 1;
};

}  // namespace sw::test

wxIMPLEMENT_APP(sw::test::CWizardGuiTestApp);
