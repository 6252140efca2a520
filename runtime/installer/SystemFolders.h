#pragma once
// The folders of this Windows system that an installation refers to (the directory
// macros, the Windows/System/Fonts targets, the Start menu; found by win32/KnownFolders.h),
// and the installation directory to propose.
#include <windows.h>

#include <cstdint>

#include "win32/KnownFolders.h"

namespace sw {

class CSetup;

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
