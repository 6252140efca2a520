#pragma once
// The uninstaller's log (/LOG=FILE): UTF-8 lines. The cleanup copy (SelfRemoval.h) adds
// its lines to the same file after the uninstaller has exited, so the log is opened for
// appending by the copy and created afresh by the uninstaller.
#include <windows.h>

namespace sw {

void OpenUninstallLog(const wchar_t* path, bool append);
void CloseUninstallLog();
void LogText(const char* text);
// "<prefix><text>\r\n"
void LogLine(const char* prefix, const wchar_t* text);

}  // namespace sw
