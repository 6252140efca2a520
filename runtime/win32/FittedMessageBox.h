#pragma once
// MessageBoxW, widened when its caption needs more room than its text: wine sizes a
// message box by its text and buttons only and cuts a long caption ("<title> Install
// Program" with a long title). The buttons move with the centre; the icon and the text stay.
#include <windows.h>

namespace sw::win {

int FittedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

}  // namespace sw::win
