#pragma once
// Help: the maker's help viewer beside the program when it is there; otherwise the Help
// dialog, which offers the online help in the default browser. The online address is
// "Settings"/"HelpAddress" of the profile, or else the help pages installed with the
// program, so that Help always shows something.
#include <string>

#include <wx/config.h>
#include <wx/window.h>

namespace sw {

class CHelpLauncher {
public:
    explicit CHelpLauncher(wxConfigBase& config);
    ~CHelpLauncher();

    // page: a page of the help table ("sw/o_fichiers.htm", "index.htm").
    void ShowHelp(wxWindow* parent, const std::string& page);
    // The address the online help opens for a page.
    std::string OnlineAddress(const std::string& page) const;
    // Opens the address in the default browser.
    bool OpenAddress(const std::string& address) const;

    bool m_bOnlineHelp = false;

private:
    bool StartViewer(const std::string& page);
    wxConfigBase& m_config;
    long m_nViewerPid = 0;
};

}  // namespace sw
