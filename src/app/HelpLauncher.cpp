#include "app/HelpLauncher.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/process.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

constexpr const char* kViewerName = "QuorvixHelp";
constexpr const char* kHelpAddressKey = "/Settings/HelpAddress";
constexpr int kTextWidth = 320;

// The help pages installed beside the program (bin/../share/setwright/help, wherever the
// installation was put), else those of the configured prefix; in a build tree, the pages
// of the source tree.
wxString LocalHelpFolder()
{
    wxFileName beside(wxStandardPaths::Get().GetExecutablePath());
    beside.RemoveLastDir();
    wxString candidates[] = {beside.GetPath() + "/share/setwright/help", SETWRIGHT_HELP_DIR, SETWRIGHT_SOURCE_HELP_DIR};
    for (const wxString& folder : candidates)
        if (wxFileExists(folder + "/index.htm")) return folder;
    return SETWRIGHT_HELP_DIR;
}

// "Help": the viewer is missing. Returns true when the user chose the online help.
bool AskForOnlineHelp(wxWindow* parent)
{
    wxDialog dialog(parent, wxID_ANY, Wx(LoadString(IDS_HELP_DIALOG_TITLE)));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* text = new wxStaticText(&dialog, wxID_ANY, Wx(LoadString(IDS_HELP_NOT_INSTALLED)));
    text->Wrap(kTextWidth);
    sizer->Add(text, 0, wxALL, 12);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(&dialog, wxID_OK, Wx(LoadString(IDS_ONLINE_HELP))), 0, wxRIGHT, 8);
    buttons->Add(new wxButton(&dialog, wxID_CANCEL, Wx(LoadString(IDS_CLOSE))), 0);
    sizer->Add(buttons, 0, wxALIGN_CENTER | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    dialog.SetSizerAndFit(sizer);
    dialog.CentreOnParent();
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace

CHelpLauncher::CHelpLauncher(wxConfigBase& config) : m_config(config) {}

CHelpLauncher::~CHelpLauncher()
{
    if (m_nViewerPid != 0 && wxProcess::Exists(static_cast<int>(m_nViewerPid)))
        wxProcess::Kill(static_cast<int>(m_nViewerPid), wxSIGTERM);
}

std::string CHelpLauncher::OnlineAddress(const std::string& page) const
{
    wxString base = m_config.Read(kHelpAddressKey, wxString());
    if (base.empty()) base = "file://" + LocalHelpFolder() + "/";
    if (!base.EndsWith("/")) base += "/";
    return Std(base) + page;
}

bool CHelpLauncher::OpenAddress(const std::string& address) const
{
    wxLogNull quiet;  // without a browser, help does nothing, as a failed open should
    return wxLaunchDefaultBrowser(Wx(address));
}

bool CHelpLauncher::StartViewer(const std::string& page)
{
    wxFileName program(wxStandardPaths::Get().GetExecutablePath());
    wxFileName viewer(program.GetPath(), kViewerName);
    if (!viewer.FileExists()) return false;
    wxFileName archive(program);
    archive.SetExt("hsa");
    // A viewer on this system takes a new page by a new start; the old one is closed first.
    if (m_nViewerPid != 0 && wxProcess::Exists(static_cast<int>(m_nViewerPid)))
        wxProcess::Kill(static_cast<int>(m_nViewerPid), wxSIGTERM);
    wxString command = "\"" + viewer.GetFullPath() + "\" \"" + archive.GetFullPath() + "\" \"" + Wx(page) + "\"";
    wxLogNull quiet;  // a viewer that does not start leads to the Help dialog instead
    m_nViewerPid = wxExecute(command, wxEXEC_ASYNC);
    return m_nViewerPid > 0;
}

void CHelpLauncher::ShowHelp(wxWindow* parent, const std::string& page)
{
    if (m_bOnlineHelp) {
        OpenAddress(OnlineAddress(page));
        return;
    }
    if (StartViewer(page)) return;
    m_bOnlineHelp = AskForOnlineHelp(parent);
    if (m_bOnlineHelp) OpenAddress(OnlineAddress(page));
}

}  // namespace sw
