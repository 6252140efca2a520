// The window dressing in the real program: the caption band over the main window,
// Preferences and About; the flat toolbar's buttons, their enabling, hot tracking and
// clicks; the About box's credits moving. Saves ui-*.png in the screenshot folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "GuiTestProgram.h"
#include "app/App.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/PreferencesDialog.h"
#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "ui/CaptionBand.h"
#include "ui/CreditsPanel.h"
#include "ui/ToolBarEx.h"

namespace sw::test {
namespace {

// What runs inside the About box while it is up; the box closes afterwards.
std::function<void(wxDialog&)> g_visitAboutBox;

CSetwrightApp& App() { return *static_cast<CSetwrightApp*>(wxTheApp); }
CMainFrame& Frame() { return *App().GetMainFrame(); }

void Pump()
{
    for (int i = 0; i < 20; ++i) wxTheApp->Yield(true);
}

void PumpFor(long milliseconds)
{
    wxStopWatch clock;
    while (clock.Time() < milliseconds) {
        Pump();
        wxMilliSleep(10);
    }
}

// Pumps events until the condition holds, for at most two seconds.
bool PumpUntil(const std::function<bool()>& condition)
{
    for (int round = 0; round < 100 && !condition(); ++round) {
        Pump();
        wxMilliSleep(20);
    }
    return condition();
}

std::string ScreenshotPath(const std::string& name)
{
    const char* folder = std::getenv("SETWRIGHT_SCREENSHOTS");
    return folder ? std::string(folder) + "/" + name + ".png" : std::string();
}

// The whole screen, with `front` raised over the main window.
std::string Screenshot(const std::string& name, wxWindow* front)
{
    front->Raise();
    front->Update();
    Pump();
    std::string path = ScreenshotPath(name);
    if (!path.empty()) wxExecute(Wx("import -window root \"" + path + "\""), wxEXEC_SYNC);
    return path;
}

template <class Child>
Child* FindChild(wxWindow& parent)
{
    for (wxWindow* child : parent.GetChildren())
        if (auto* found = dynamic_cast<Child*>(child)) return found;
    return nullptr;
}

// The About box runs what the test gives it; any other dialog (the new-project wizard
// that New opens, a file dialog) is cancelled at once.
class CDressingDialogHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override
    {
        auto visit = g_visitAboutBox;
        g_visitAboutBox = nullptr;
        bool about = visit && FindChild<CCreditsPanel>(*dialog);
        dialog->CallAfter([dialog, visit, about] {
            if (about) visit(*dialog);
            dialog->EndModal(about ? wxID_OK : wxID_CANCEL);
        });
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

TEST(GuiDressing, TheMainWindowOpensWithTheCaptionBandAboveTheFlatToolbar)
{
    CCaptionBand* band = FindChild<CCaptionBand>(Frame());
    CToolBarEx* bar = FindChild<CToolBarEx>(Frame());
    ASSERT_NE(band, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(band->GetPosition().y, 0);
    EXPECT_EQ(bar->GetPosition().y, band->GetSize().y);
    EXPECT_EQ(band->GetSize().x, Frame().GetClientSize().x);
    // The band follows the title.
    Frame().SetModifiedFlag();
    ASSERT_TRUE(PumpUntil([&] { return band->GetShownText() == Frame().GetTitle(); }));
    EXPECT_EQ(Std(band->GetShownText()), "Quorvix Setwright - Install*");

    const int commands[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_TEST_WIZARD, ID_BUILD, ID_HELP_CONTENTS};
    for (std::size_t i = 1; i < std::size(commands); ++i)
        EXPECT_LT(bar->FindButton(commands[i - 1]), bar->FindButton(commands[i])) << "in the order of the menu";
    // A separator after Save and after Build.
    EXPECT_EQ(bar->FindButton(ID_TEST_WIZARD), bar->FindButton(ID_FILE_SAVE) + 2);
    EXPECT_EQ(bar->FindButton(ID_HELP_CONTENTS), bar->FindButton(ID_BUILD) + 2);
    Screenshot("ui-main-frame", &Frame());
}

TEST(GuiDressing, ToolbarButtonsFollowTheCommandsEnabling)
{
    CToolBarEx& bar = *FindChild<CToolBarEx>(Frame());
    Frame().UpdateWindowUI(wxUPDATE_UI_RECURSE);
    for (int id : {ID_FILE_NEW, ID_FILE_SAVE, ID_TEST_WIZARD, ID_BUILD}) EXPECT_TRUE(bar.GetToolEnabled(id)) << id;
    // As a build starts.
    Frame().LockForBuild(true);
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_TEST_WIZARD, ID_BUILD, ID_HELP_CONTENTS})
        EXPECT_FALSE(bar.GetToolEnabled(id)) << id;
    Screenshot("ui-toolbar-disabled", &Frame());
    Frame().LockForBuild(false);
    Frame().UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(bar.GetToolEnabled(ID_BUILD));
}

TEST(GuiDressing, TheButtonUnderTheMouseLightsUpAndAClickSendsItsCommand)
{
    CToolBarEx& bar = *FindChild<CToolBarEx>(Frame());
    Frame().Raise();
    Pump();
    std::vector<int> clicked;
    auto record = [&clicked](wxCommandEvent& event) { clicked.push_back(event.GetId()); };
    bar.Bind(wxEVT_TOOL, record);

    wxUIActionSimulator mouse;
    int save = bar.FindButton(ID_FILE_SAVE);
    mouse.MouseMove(bar.ClientToScreen(bar.GetButtonRect(save).GetPosition() + wxPoint(8, 8)));
    ASSERT_TRUE(PumpUntil([&] { return bar.GetHotButton() == save; }));
    Screenshot("ui-toolbar-hot", &Frame());
    mouse.MouseClick();
    EXPECT_TRUE(PumpUntil([&] { return !clicked.empty(); }));
    EXPECT_EQ(clicked, std::vector<int>{ID_FILE_SAVE});
    // During a build the button neither lights up nor answers.
    Frame().LockForBuild(true);
    EXPECT_EQ(bar.GetHotButton(), -1);
    mouse.MouseMove(bar.ClientToScreen(bar.GetButtonRect(save).GetPosition() + wxPoint(10, 10)));
    mouse.MouseClick();
    Pump();
    EXPECT_EQ(bar.GetHotButton(), -1);
    EXPECT_EQ(clicked.size(), 1u);
    Frame().LockForBuild(false);

    // Off the bar without a move over it: the timer clears the hot look.
    mouse.MouseMove(Frame().GetScreenRect().GetBottomRight() + wxPoint(40, 40));
    EXPECT_TRUE(PumpUntil([&] { return bar.GetHotButton() == -1; }));
    bar.Unbind(wxEVT_TOOL, record);
}

TEST(GuiDressing, PreferencesCarryTheCaptionBandAndAWindowWithoutCaptionNone)
{
    CPreferencesDialog dialog(&Frame(), Frame().GetProfile(), App().GetHelp());
    CCaptionBand* band = FindChild<CCaptionBand>(dialog);
    ASSERT_NE(band, nullptr);
    dialog.Show();
    EXPECT_TRUE(PumpUntil([&] { return band->GetShownText() == "Preferences"; }));
    EXPECT_EQ(band->GetPosition().y, 0);
    Screenshot("ui-preferences", &dialog);
    dialog.Hide();

    wxDialog captionless(&Frame(), wxID_ANY, "Captionless", wxDefaultPosition, wxDefaultSize, wxRESIZE_BORDER);
    EXPECT_EQ(AttachCaptionBand(&captionless), nullptr);
    EXPECT_EQ(FindChild<CCaptionBand>(captionless), nullptr);
}

wxRect ScreenRectOf(wxWindow& window) { return wxRect(window.GetScreenPosition(), window.GetSize()); }

TEST(GuiDressing, TheAboutBoxsCreditsScroll)
{
    std::string first;
    std::string second;
    wxRect credits;
    std::string bandText;
    g_visitAboutBox = [&](wxDialog& about) {
        CCreditsPanel* panel = FindChild<CCreditsPanel>(about);
        if (CCaptionBand* band = FindChild<CCaptionBand>(about)) bandText = Std(band->GetShownText());
        PumpUntil([&] { return panel->IsShownOnScreen(); });
        credits = ScreenRectOf(*panel);
        PumpFor(6000);  // the emblem and the title are in
        first = Screenshot("ui-about-1", &about);
        // A second later the credits have risen by about twenty pixels.
        PumpFor(1000);
        second = Screenshot("ui-about-2", &about);
    };
    wxCommandEvent command(wxEVT_MENU, ID_APP_ABOUT);
    Frame().ProcessWindowEvent(command);
    EXPECT_EQ(bandText, "About Setwright");
    if (first.empty()) GTEST_SKIP() << "no screenshot folder";
    wxImage before(Wx(first));
    wxImage after(Wx(second));
    ASSERT_TRUE(before.IsOk() && after.IsOk());
    wxImage panelBefore = before.GetSubImage(credits);
    wxImage panelAfter = after.GetSubImage(credits);
    std::size_t bytes = static_cast<std::size_t>(credits.width) * static_cast<std::size_t>(credits.height) * 3;
    EXPECT_FALSE(std::equal(panelBefore.GetData(), panelBefore.GetData() + bytes, panelAfter.GetData()));
}

}  // namespace

class CDressingTestApp : public CGuiTestProgram {
public:
    bool OnInit() override
    {
        ::testing::InitGoogleTest(&argc, argv.operator char**());
        wxInitAllImageHandlers();
        SetMessageBoxHook([](const std::string&, unsigned) { return IDNO; });
        m_hook.Register();
        if (!CSetwrightApp::OnInit()) return false;
        CallAfter([this] { RunTestsAndClose(); });
        return true;
    }

private:
    CDressingDialogHook m_hook;
};

}  // namespace sw::test

wxIMPLEMENT_APP(sw::test::CDressingTestApp);
