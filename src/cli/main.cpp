// setwright-cli: reads a settings file and prints what the project holds, or makes a new
// project from a directory. Messages go to standard error, the summary to standard output.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ProjectSummary.h"
#include "model/Archive.h"
#include "model/SettingsFile.h"
#include "model/SettingsVersion.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/HostPath.h"

namespace sw {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void Error(const std::string& text) { std::fprintf(stderr, "setwright-cli: %s\n", text.c_str()); }

int NewProject(const CliOptions& options)
{
    std::string dir = WithTrailingSeparator(options.newDirectory);
    if (!IsDirectory(dir)) {
        Error(FormatText(LoadString(IDS_CANNOT_FIND_DIRECTORY), options.newDirectory));
        return kExitFailure;
    }
    CData data;
    data.m_strSourceDir = dir;
    data.m_bIncludeSubdirs = options.includeSubdirs ? 1 : 0;
    if (options.title) data.m_strTitle = data.m_strBackgroundTitle = *options.title;
    data.m_files.AddDirectory(dir, dir, options.includeSubdirs, nullptr);
    SaveSettingsFile(data, options.settingsFile);
    std::printf("%s\n",
                FormatText(LoadString(IDS_CLI_SAVED), options.settingsFile, static_cast<int>(data.m_files.size())).c_str());
    return 0;
}

int Run(const std::vector<std::string>& args)
{
    CliOptions options;
    try {
        options = ParseCliArguments(args);
    } catch (const std::invalid_argument& e) {
        Error(FormatText(LoadString(IDS_CLI_BAD_USAGE), std::string(e.what())));
        return kExitUsage;
    }
    switch (options.action) {
    case CliOptions::Action::help:
        std::fputs(LoadString(IDS_CLI_USAGE).c_str(), stdout);
        return 0;
    case CliOptions::Action::version:
        std::printf("%s\n", LoadString(IDS_CLI_VERSION).c_str());
        return 0;
    case CliOptions::Action::newProject:
        try {
            return NewProject(options);
        } catch (const CFileError& e) {
            Error(LoadString(IDS_FAILED_TO_SAVE_DOCUMENT) + " " + e.what());
            return kExitFailure;
        }
    case CliOptions::Action::summary:
        break;
    }
    CData data;
    try {
        LoadSettingsFile(data, options.settingsFile);
    } catch (const CIncorrectVersion& e) {
        Error(options.settingsFile + ": " + e.what());
        return kExitFailure;
    } catch (const CArchiveException& e) {
        Error(LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + " " + options.settingsFile + ": " + e.what());
        return kExitFailure;
    } catch (const CFileError& e) {
        Error(LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + " " + e.what());
        return kExitFailure;
    }
    std::fputs(ProjectSummary(data, options.settingsFile).c_str(), stdout);
    return 0;
}

}  // namespace
}  // namespace sw

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return sw::Run(args);
}
