#pragma once
// Start-menu icons and desktop shortcuts: shell links to installed files.
#include <windows.h>

namespace sw {

struct SystemFolders;

// The folder an icon goes into. The icon folder of a file names a Start-menu folder
// below Programs ("Acme Tools"); "#Start Menu#" puts it at the root of the Start menu
// and "#Startup#" into the Startup folder instead, with any other text of the field as
// a folder below that. Nullptr when the field names a folder outside them (an absolute
// path or a ".." part).
wchar_t* ResolveIconFolder(const char* field, const SystemFolders& folders);

// Writes the shell link `linkPath` (a ".lnk") to `target`; COM must be initialised on the
// calling thread. False when the shell cannot make it.
bool CreateShellLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* arguments, int iconIndex);

// "<folder>\<name>.lnk", or nullptr when the name is not a plain file name.
wchar_t* LinkPath(const wchar_t* folder, const char* name);

}  // namespace sw
