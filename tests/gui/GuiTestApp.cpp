// The program with its GUI tests: start-up as usual, then, once the window stands, the
// tests run inside the event loop, and the window closes.
#include <gtest/gtest.h>

#include <wx/evtloop.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include "GuiTestSupport.h"
#include "app/MainFrame.h"
#include "pages/MessageBoxes.h"
#include "pages/WxText.h"

namespace sw::test {

namespace {

// Dialogs end at once with the answer the test set, since nobody clicks here.
class CModalAnswer : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override
    {
        ShownDialog shown{Std(dialog->GetTitle()), {}};
        for (wxWindow* child : dialog->GetChildren()) {
            wxString label = child->GetLabel();
            label.Replace("\n", " ");  // wrapped texts read as written
            shown.texts.push_back(Std(label));
        }
        g_dialogs.push_back(shown);
        int answer = g_modalAnswer;
        dialog->CallAfter([dialog, answer] { dialog->EndModal(answer); });
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

}  // namespace

int g_modalAnswer = wxID_CANCEL;
std::vector<std::pair<std::string, unsigned>> g_messages;
int g_messageAnswer = IDNO;
std::vector<ShownDialog> g_dialogs;

class CGuiTestApp : public CSetwrightApp {
public:
    bool OnInit() override
    {
        ::testing::InitGoogleTest(&argc, argv.operator char**());
        SetMessageBoxHook([](const std::string& text, unsigned type) {
            g_messages.emplace_back(text, type);
            return g_messageAnswer;
        });
        m_hook.Register();
        if (!CSetwrightApp::OnInit()) return false;
        m_startTimer.SetOwner(this);
        Bind(wxEVT_TIMER, [this](wxTimerEvent&) { RunTests(); });
        CallAfter([this] { RunTests(); });
        return true;
    }
    // From the main event loop only: the New that start-up posts may open the new-project
    // wizard, whose own loop runs until the dialog hook has closed it.
    void RunTests()
    {
        if (wxEventLoopBase::GetActive() != GetMainLoop()) {
            m_startTimer.StartOnce(20);
            return;
        }
        m_nResult = RUN_ALL_TESTS();
        if (CMainFrame* frame = GetMainFrame()) frame->Close(true);
    }
    int OnRun() override
    {
        CSetwrightApp::OnRun();
        return m_nResult;
    }

private:
    CModalAnswer m_hook;
    wxTimer m_startTimer;
    int m_nResult = 1;
};

}  // namespace sw::test

wxIMPLEMENT_APP(sw::test::CGuiTestApp);
