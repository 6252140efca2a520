#pragma once
// The plain-text form of the wizard texts, used to export, import and keep translations:
// for every text a marker line *GGTT*, the text's lines, and an empty line; CR LF ends.
#include <string>
#include <string_view>

#include "model/Data.h"

namespace sw {

std::string FormatTextsFile(const TextGroups& texts);

// Reads texts into `texts` (its shape is kept: markers for texts that do not exist are
// skipped with the lines after them). Texts the file does not name keep their values.
// Empty lines are skipped, so empty lines inside a text do not come back.
void ParseTextsFile(std::string_view file, TextGroups& texts);

}  // namespace sw
