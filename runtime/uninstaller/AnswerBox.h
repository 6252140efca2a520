#pragma once
// The question asked when a shared file is no longer used: a box with four answers (Yes,
// Yes to all, No, No to all), whose captions are the uninstaller's texts. Message boxes
// offer no such buttons, so the box is a dialog built in memory.
#include <windows.h>

namespace sw {

enum class Answer { yes, yesToAll, no, noToAll };

// Shows `question` under `title`; the captions are in the order of Answer. Closing the box
// or Escape is No, the answer that keeps the file.
Answer AskFourWays(const wchar_t* title, const wchar_t* question, const wchar_t* const (&captions)[4]);

}  // namespace sw
