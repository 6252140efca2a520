#pragma once
// A project as JSON, keyed by the member names, for scripts that inspect or compare
// projects. Strings are the project's bytes; bytes that are not UTF-8 are escaped as \u00XX.
#include <string>

#include "model/Data.h"

namespace sw {

std::string ProjectToJson(const CData& data);
std::string JsonString(std::string_view text);

}  // namespace sw
