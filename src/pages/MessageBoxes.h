#pragma once
// Message boxes of the program, with the window system's kinds and answers (BuildHost.h).
// Tests replace the box with an answering function, since nobody clicks under Xvfb.
#include <functional>
#include <string>

namespace sw {

// Yes, No and Cancel: the question before a modified project is left.
inline constexpr unsigned kMbYesNoCancel = 0x3;

int ShowMessageBox(const std::string& text, unsigned type);

using MessageBoxHook = std::function<int(const std::string& text, unsigned type)>;
// Null restores the real boxes.
void SetMessageBoxHook(MessageBoxHook hook);

// A filter of the string table ("Text Files (*.txt)|*.txt||") in the form of the file dialogs.
std::string DialogFilter(std::string filter);

}  // namespace sw
