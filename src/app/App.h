#pragma once
// The application object: start-up in order (profile, temporary file, desktop
// registration, command line, the first New, the named file and its build), and exit.
#include <memory>
#include <string>

#include <wx/app.h>
#include <wx/config.h>

namespace sw {

class CHelpLauncher;
class CMainFrame;

class CSetwrightApp : public wxApp {
public:
    CSetwrightApp();
    ~CSetwrightApp() override;

    bool OnInit() override;
    int OnExit() override;
    int OnRun() override;

    // Null once the main window is gone.
    CMainFrame* GetMainFrame() { return m_pFrame; }
    const std::string& GetTempFile() const { return m_strTempFile; }
    CHelpLauncher& GetHelp() { return *m_pHelp; }

private:
    bool ReserveTempFile();
    void RegisterFileType();

    std::string m_strTempFile;
    std::unique_ptr<wxConfigBase> m_pConfig;
    std::unique_ptr<CHelpLauncher> m_pHelp;
    CMainFrame* m_pFrame = nullptr;
    int m_nExitCode = 0;
};

}  // namespace sw
