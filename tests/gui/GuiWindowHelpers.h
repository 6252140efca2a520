#pragma once
// What the GUI tests of the main window share: the window and its sheet, the test's work
// folder with its copy of the examples, letting the window handle its events, screenshots
// and the cells of report lists.
#include <cstdlib>
#include <string>

#include <wx/listctrl.h>
#include <wx/utils.h>

#include "app/App.h"
#include "app/MainFrame.h"
#include "pages/WxText.h"

namespace sw::test {

inline CSetwrightApp& App() { return *static_cast<CSetwrightApp*>(wxTheApp); }
inline CMainFrame& Frame() { return *App().GetMainFrame(); }
inline CInstallSheet& Sheet() { return *Frame().GetSheet(); }

inline std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}
inline std::string Work() { return Env("SETWRIGHT_TEST_WORK"); }
inline std::string ExampleProject() { return Work() + "/examples/Example.kft"; }

inline void Pump()
{
    for (int i = 0; i < 20; ++i) wxTheApp->Yield(true);
}

// front: the window on top (without a window manager, the last one raised).
inline void Screenshot(const std::string& name, wxWindow* front = nullptr)
{
    Frame().Raise();
    if (front) front->Raise();
    Frame().Update();
    Pump();
    wxMilliSleep(150);
    Pump();
    std::string folder = Env("SETWRIGHT_SCREENSHOTS");
    if (folder.empty()) return;
    wxExecute(Wx("import -window root \"" + folder + "/" + name + ".png\""), wxEXEC_SYNC);
}

inline int RowOf(wxListCtrl& list, const std::string& text) { return static_cast<int>(list.FindItem(-1, Wx(text))); }

inline std::string Cell(wxListCtrl& list, int row, int column = 0) { return Std(list.GetItemText(row, column)); }

}  // namespace sw::test
