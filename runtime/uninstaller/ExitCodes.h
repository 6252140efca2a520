#pragma once
// Exit codes of the uninstaller runtime, for scripts that run it unattended (/S). The
// uninstaller removes its own file after it has exited (see SelfRemoval.h): a script that
// needs it gone waits for the cleanup copy too.

namespace sw {

enum UninstallerExitCode : int {
    kUninstallDone = 0,         // everything listed is removed (files in use: at the next start)
    kUninstallCancelled = 1,    // the user did not confirm
    kUninstallInvalidInfo = 2,  // the uninstaller's records or its uninstall information are missing or damaged
    kUninstallIncomplete = 3,   // something could not be removed; the uninstaller stays so that it can run again
};

}  // namespace sw
