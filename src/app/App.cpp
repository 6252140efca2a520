#include "app/App.h"

#include <unistd.h>

#include <cstdlib>

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include "app/Commands.h"
#include "app/DesktopFiles.h"
#include "app/HelpLauncher.h"
#include "app/MainFrame.h"
#include "app/ShellRules.h"
#include "pages/Preferences.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr const char* kCompany = "Quorvix";
}

CSetwrightApp::CSetwrightApp() = default;
CSetwrightApp::~CSetwrightApp() = default;

bool CSetwrightApp::ReserveTempFile()
{
    std::string pattern = Std(wxFileName::GetTempDir());
    if (pattern.empty() || pattern.back() != '/') pattern += '/';
    // The test program is started from here, so it carries the extension Windows programs have.
    pattern += "tmpXXXXXX.exe";
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) return false;
    ::close(fd);
    m_strTempFile = pattern;
    return true;
}

void CSetwrightApp::RegisterFileType()
{
    std::string dataHome = UserDataHome();
    if (!RegisterSettingsFileType(dataHome, Std(wxStandardPaths::Get().GetExecutablePath()))) return;
    // The desktop learns the new type when its databases are rebuilt; without the tool,
    // it learns it at the next log-in, so a missing tool is no failure to report.
    wxLogNull quiet;
    wxExecute("update-mime-database \"" + Wx(dataHome) + "/mime\"", wxEXEC_ASYNC | wxEXEC_HIDE_CONSOLE);
}

bool CSetwrightApp::OnInit()
{
    SetVendorName(kCompany);
    SetAppName(Wx(LoadString(IDS_APP_NAME)));
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
    // The profile's folder may not exist yet on a fresh account.
    wxFileName::Mkdir(wxStandardPaths::Get().GetUserConfigDir(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    m_pConfig = std::make_unique<wxFileConfig>(GetAppName(), GetVendorName());
    m_pHelp = std::make_unique<CHelpLauncher>(*m_pConfig);

    if (!ReserveTempFile()) return false;
    RegisterFileType();

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Std(argv[i]));
    AppCommandLine line = ParseAppCommandLine(args);

    m_pFrame = new CMainFrame(*m_pConfig, *m_pHelp, m_strTempFile);
    m_pFrame->m_onExitStatus = [this](int status) { m_nExitCode = status; };
    m_pFrame->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == m_pFrame) m_pFrame = nullptr;
        event.Skip();
    });
    m_pFrame->NewDocument();
    m_pFrame->Show();
    SetTopWindow(m_pFrame);

    if (!line.file.empty()) {
        if (line.build) m_pFrame->GetData()->m_bCommandLineBuild = 1;
        if (m_pFrame->OpenDocumentFile(line.file) && line.build) {
            CData* data = m_pFrame->GetData();
            data->m_bBuildPending = 1;
            data->m_bCommandLineBuild = 1;
            m_pFrame->GetSheet()->UpdateAllPages();
        }
    } else {
        CWxProfile profile(*m_pConfig);
        if (GeneralSettings().Read(profile, PREF_WIZARD)) {
            CMainFrame* frame = m_pFrame;
            CallAfter([frame] { frame->OnFileNew(); });
        }
    }
    return true;
}

int CSetwrightApp::OnRun()
{
    int status = wxApp::OnRun();
    return status != 0 ? status : m_nExitCode;
}

int CSetwrightApp::OnExit()
{
    if (!m_strTempFile.empty()) ::unlink(m_strTempFile.c_str());
    m_pHelp.reset();
    if (m_pConfig) m_pConfig->Flush();
    return wxApp::OnExit();
}

}  // namespace sw
