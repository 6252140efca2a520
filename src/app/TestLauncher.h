#pragma once
// The wizard test: the test program is written to the reserved temporary file and started
// through wine, without waiting for it.
#include <string>

#include "build/BuildHost.h"
#include "model/Data.h"

namespace sw {

// Returns why the test program could not be started, or an empty text (also when nothing
// was started because the previous test program is still running). startPage: the text
// group of the page to show, -1 for the whole wizard (the Test command); the new-project
// wizard's Preview buttons pass 0, 1 or 2.
std::string RunWizardTest(const CData& data, const std::string& path, IBuildHost& host, int startPage = -1);

// The runtime this machine can start: the 64-bit one when the program carries it.
int TestRuntimeId();

}  // namespace sw
