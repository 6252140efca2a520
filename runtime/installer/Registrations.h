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

// ---- Taking registrations back: a failed or cancelled installation restores each value
// it changed as it was, and undoes what the registrations did outside the registry.

// A registry value as it was before a registration changed it: its type and bytes, or
// that there was none.
struct SavedValue {
    HKEY root = nullptr;
    wchar_t* key = nullptr;
    wchar_t* name = nullptr;  // nullptr: the key's default value
    bool present = false;
    DWORD type = 0;
    BYTE* data = nullptr;
    DWORD size = 0;
};

// Reads the value into `saved` (which the caller releases with ReleaseValue). False when
// memory is short or the value cannot be read: then the change must not be made.
bool SaveValue(HKEY root, const wchar_t* key, const wchar_t* name, SavedValue& saved);
// Writes the value back as it was, or deletes it when there was none. False when it fails.
bool RestoreValue(const SavedValue& saved);
void ReleaseValue(SavedValue& saved);

// The values AddSharedFileUse, RegisterFont and SetScreenSaver change, saved.
bool SaveSharedFileUse(const wchar_t* path, SavedValue& saved);
bool SaveFontValue(const wchar_t* valueName, SavedValue& saved);
bool SaveScreenSaver(SavedValue& file, SavedValue& active);

// Takes the font out of the current session (the registry value is restored apart).
void UnregisterFont(const wchar_t* path);
// Loads the control and calls its DllUnregisterServer. False when it cannot be loaded, has
// no such entry or the entry fails.
bool UnregisterControl(const wchar_t* path);
// Tells the system that the screen saver setting changed back to `active` (the saved
// ScreenSaveActive value).
void ScreenSaverRestored(const SavedValue& active);

}  // namespace sw
