#pragma once
// Files beside their targets: a new file is decoded under a free name next to the file it
// becomes, and a file that an installation replaces is kept under such a name until the
// installation ends, so that a failed one can move it back.
#include <windows.h>

namespace sw {

// "<path>.~sw<n>": a name beside `path` that no file or folder has; nullptr when the
// thousand names are all taken or memory is short.
wchar_t* FreeNameBeside(const wchar_t* path);

// Renames the file at `path` to a free name beside it and gives that name in `kept`
// (released by the caller). False (GetLastError says why, `kept` nullptr) when it cannot
// be renamed: the file is in use, say.
bool SetAside(const wchar_t* path, wchar_t*& kept);

// Deletes a file set aside once the installation no longer needs it. A file that cannot
// be deleted now (a program still runs from it) is deleted at the next start. False when
// neither can be done.
bool DeleteSetAside(const wchar_t* kept);

}  // namespace sw
