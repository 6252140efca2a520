#pragma once
// What the uninstaller may act on: the records of the uninstall information judged against
// this system's folders (the rules are in core/UninstallerRecords.h).
#include <windows.h>

#include <cstddef>

#include "core/UninstallInfo.h"

namespace sw {

// The installation folder of the uninstaller at `self` (heap, release with win::Release),
// when every record names only what the installation may own; nullptr otherwise, after a
// log line for each record that does not (the information was altered: nothing may go).
wchar_t* CheckInformationScope(const wchar_t* self, const UninstallRecord* records, std::size_t count);

}  // namespace sw
