#pragma once
// Registering and unregistering a control (a DLL or OCX that registers itself): the
// installer calls DllRegisterServer, its rollback and the uninstaller DllUnregisterServer.
#include <windows.h>

namespace sw::win {

// Loads the control from its own folder (and the system folder for what it imports, so
// that a DLL planted elsewhere never loads), calls its `entryName` ("DllRegisterServer" or
// "DllUnregisterServer") and unloads it. False when it cannot be loaded, has no such entry
// or the entry fails.
bool CallControlServer(const wchar_t* path, const char* entryName);

}  // namespace sw::win
