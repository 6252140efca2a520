#pragma once
// Shared by the GUI tests and the program they run in.
#include <string>
#include <utility>
#include <vector>

#include "app/App.h"

namespace sw::test {

// What modal dialogs answer (wxID_OK, wxID_CANCEL).
extern int g_modalAnswer;
// Every message box shown, with its kind; and what they answer (IDYES, IDNO, IDOK...).
extern std::vector<std::pair<std::string, unsigned>> g_messages;
extern int g_messageAnswer;
// Every dialog shown modally: its title and the texts of its labels and buttons.
struct ShownDialog {
    std::string title;
    std::vector<std::string> texts;
};
extern std::vector<ShownDialog> g_dialogs;

}  // namespace sw::test
