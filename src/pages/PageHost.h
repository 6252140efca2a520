#pragma once
// What the pages of the main sheet need from the window around them: the project, the
// modified flag, the status bar and keyboard for scans, the build's host and locks, the
// preferences, the wizard test and help. The application's view answers; tests answer
// with fakes.
#include "build/BuildHost.h"
#include "model/Data.h"
#include "model/ScanHost.h"
#include "pages/Preferences.h"

namespace sw {

class IPageHost {
public:
    virtual ~IPageHost() = default;
    // Null when there is no project: every page command then does nothing.
    virtual CData* GetData() = 0;
    virtual void SetModifiedFlag() = 0;
    virtual IScanHost& GetScanHost() = 0;
    virtual IBuildHost& GetBuildHost() = 0;
    virtual IProfile& GetProfile() = 0;
    // Disables (or enables again) the menus, the toolbar and the sheet around a build.
    virtual void LockForBuild(bool lock) = 0;
    // After a build that the command line asked for; built: whether it wrote the program.
    virtual void PostExit(bool built) = 0;
    // Writes the wizard test program and starts it on the page of a text group (-1: the
    // whole wizard); tells the user why when it cannot start.
    virtual void PreviewWizard(int startPage) = 0;
    // Context help for a page or dialog number.
    virtual void ShowHelp(int helpId) = 0;
};

}  // namespace sw
