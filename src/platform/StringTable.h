#pragma once
// Every text the user can see is kept in the string table (res/strings.def) and used
// by its number.
#include <string>

namespace sw {

enum StringId : int {
#define SW_STRING(symbol, number, text) symbol = number,
#include "strings.def"
#undef SW_STRING
};

// The text of a string number, or an empty text when the table has no such number.
std::string LoadString(int id);
bool HasString(int id);

}  // namespace sw
