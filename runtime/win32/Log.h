#pragma once
// The runtimes' log (/LOG=FILE): UTF-8 lines, written as they happen so that the log of a
// run that stopped half-way shows how far it got. Safe to call from the installer's worker
// thread; without a log file every call does nothing. The file is shared for writing: the
// uninstaller's cleanup copy opens it for appending while the uninstaller still holds it
// (and writes only once the uninstaller has ended).
#include <windows.h>

namespace sw {

// Creates the log afresh, or with `append` adds to it.
void OpenLog(const wchar_t* path, bool append = false);
void CloseLog();
void LogText(const char* text);
void LogWide(const wchar_t* text);
// "<prefix><text>\r\n"
void LogLine(const char* prefix, const wchar_t* text);

}  // namespace sw
