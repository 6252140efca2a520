#pragma once
// The installation wizard: the interactive installer. Shows the pages of the program's
// dialog templates (Welcome, Information, Directory, Confirmation, Installing, End) with
// the program's texts, title, bitmaps and window mode, and installs with RunInstall on a
// worker thread. A test program (CSetup::IsTest) shows the same pages from its start page
// and installs nothing.
#include <windows.h>

namespace sw {
class CSetup;
}

// Returns an exit code of ExitCodes.h: 0 installed (and always for a test program), 1 the
// user left or cancelled, 2 the program's dialog templates are missing, 6 installed but a
// restart is needed and the user did not restart, or the engine's code when it failed.
int RunWizard(const sw::CSetup& setup, HINSTANCE instance);

namespace sw {
using ::RunWizard;
}
