#pragma once
// The installer's log (/LOG=FILE): UTF-8 lines, written as they happen so that a log of
// an installation that stopped half-way shows how far it got. Safe to call from the
// install engine's worker thread; without a log file every call does nothing.
#include <windows.h>

namespace sw {

void OpenLog(const wchar_t* path);
void CloseLog();
bool LogIsOpen();
void LogText(const char* text);
void LogWide(const wchar_t* text);
// "<prefix><path>\r\n"
void LogLine(const char* prefix, const wchar_t* path);

}  // namespace sw
