#pragma once
// What an installation registers with the system besides its files: shared-file usage
// counts, fonts, controls, the screen saver, the entry in the system's list of installed
// programs and the installation directory for the next installation.
#include <windows.h>

#include <cstdint>

namespace sw {

class CSetup;

// Adds one to the usage count of a shared file (SharedDLLs). A file that was already
// there without a count was put there by someone else: it starts at 1, so that our
// uninstaller never takes it away. Returns the new count, 0 when it cannot be written.
DWORD AddSharedFileUse(const wchar_t* path, bool existedBefore);

// The font's name for the Fonts key: the file name without extension, with " (TrueType)"
// for TrueType and OpenType files.
wchar_t* FontValueName(const wchar_t* path);
// Makes an installed font usable now and after the next start. False when it fails.
bool RegisterFont(const wchar_t* path, const wchar_t* valueName);

// Loads the control and calls its DllRegisterServer. False when it cannot be loaded, has
// no such entry or the entry fails.
bool RegisterControl(const wchar_t* path);

// Makes the file the current user's screen saver.
bool SetScreenSaver(const wchar_t* path);

// Writes the uninstall entry (Software\Microsoft\Windows\CurrentVersion\Uninstall\<name>)
// for `uninstaller`, machine-wide where allowed, else for the current user. Gives the
// root code (0x80000002 or 0x80000001) and the key's path (released by the caller).
bool RegisterUninstaller(const CSetup& setup, const wchar_t* uninstaller, const wchar_t* directory,
                         std::uint32_t& rootCode, wchar_t*& key);

// Stores the installation directory where the program says (the registry value with
// option 0x4, the .ini entry with 0x8), for the next installation to propose.
void StoreInstallationDirectory(const CSetup& setup, const wchar_t* directory);

}  // namespace sw
