#pragma once
// The base of a GUI test program: the real program, whose exit status is the result of the
// tests it runs from inside its event loop.
#include <gtest/gtest.h>

#include "app/App.h"
#include "app/MainFrame.h"

namespace sw::test {

class CGuiTestProgram : public CSetwrightApp {
public:
    int OnRun() override
    {
        CSetwrightApp::OnRun();
        return m_nResult;
    }

protected:
    // Runs every test, then closes the window, which ends the program.
    void RunTestsAndClose()
    {
        m_nResult = RUN_ALL_TESTS();
        if (CMainFrame* frame = GetMainFrame()) frame->Close(true);
    }

private:
    int m_nResult = 1;
};

}  // namespace sw::test
