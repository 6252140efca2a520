#pragma once
// The folders of this Windows system that an installation refers to (the directory
// macros, the Windows/System/Fonts targets, the Start menu), and the installation
// directory to propose.
#include <windows.h>

#include <cstdint>

namespace sw {

class CSetup;

struct SystemFolders {
    wchar_t windows[MAX_PATH + 1] = {};
    wchar_t system[MAX_PATH + 1] = {};
    wchar_t programFiles[MAX_PATH + 1] = {};
    wchar_t fonts[MAX_PATH + 1] = {};
    wchar_t programs[MAX_PATH + 1] = {};   // Start menu\Programs
    wchar_t startMenu[MAX_PATH + 1] = {};  // the root of the Start menu
    wchar_t startup[MAX_PATH + 1] = {};
    wchar_t desktop[MAX_PATH + 1] = {};
};

// Fills every folder the system can name; those it cannot stay "".
void FindSystemFolders(SystemFolders& folders);

// `text` (bytes of the installation program) with "#Windows#", "#System#" and
// "#Program Files#" replaced; nullptr when it does not fit.
wchar_t* ExpandDirectoryText(const char* text, const SystemFolders& folders);

// The registry root a project stores as 0-3 (HKEY_CLASSES_ROOT .. HKEY_USERS).
HKEY RegistryRoot(std::uint32_t projectRoot);

// The previous installation directory (registry value or .ini entry named by the
// program) when it is set, else the default directory with its macros expanded; the
// caller releases it. `defaultDir` is the REC_DEFAULT_DIR bytes or nullptr.
wchar_t* FindProposedDirectory(const CSetup& setup, const char* defaultDir);

}  // namespace sw
