#pragma once
// Why a name cannot be installed, in words for the build's message, `verify` and the
// project summary: the user-visible side of the one name rule (core/InstallName.h).
#include <string>

#include "core/InstallName.h"

namespace sw {

// "" for NameProblem::none.
std::string DescribeNameProblem(NameProblem problem);

}  // namespace sw
