#pragma once
// The renames Windows makes at the next start (MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT),
// kept in the registry value PendingFileRenameOperations.
#include <windows.h>

namespace sw {

// Takes back the scheduled rename of `source`, so that it is not made at the next start.
// False when the list cannot be read or written (it needs the right to write to
// HKEY_LOCAL_MACHINE) or holds no such rename.
bool CancelPendingRename(const wchar_t* source);

}  // namespace sw
