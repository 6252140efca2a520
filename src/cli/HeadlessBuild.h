#pragma once
// The command-line build: open the settings file as the program opens it for a build
// (finding a moved source directory and bitmaps), then build without a window.
#include <string>

#include "cli/CommandLine.h"
#include "model/Data.h"

namespace sw {

// Paths of a settings file that do not lead anywhere are looked for again from the
// settings file's folder: a relative path counts from there, and a path that does not
// exist is tried as the same last folder or file name inside it. Returns false (with
// the message in `error`) when the source directory cannot be found.
bool RelocateProjectPaths(CData& data, const std::string& settingsFile, std::string& error);

// Exit status of the build: 0 when the install program was written.
int RunHeadlessBuild(const CliOptions& options);

// test-wizard: writes the wizard test program of the project (the runtime of the project's
// platform: 64-bit for platform 2, else 32-bit) to options.output, starting at
// options.testPage, without starting it. Exit status 0 when it was written.
int WriteTestWizard(const CliOptions& options);

}  // namespace sw
