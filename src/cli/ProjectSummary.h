#pragma once
// The summary of a project that setwright-cli prints.
#include <string>

#include "model/Data.h"

namespace sw {

std::string ProjectSummary(const CData& data, const std::string& settingsFile);

}  // namespace sw
