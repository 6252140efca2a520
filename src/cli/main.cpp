// setwright-cli: the headless side of Setwright. Builds the install program of a project,
// lists and verifies install programs, makes new projects from a folder, and shows
// projects as JSON. Messages go to standard error, results to standard output.
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/HeadlessBuild.h"
#include "cli/ProgramCommands.h"
#include "cli/ProjectJson.h"
#include "cli/ProjectSummary.h"
#include "model/Archive.h"
#include "model/FileItem.h"
#include "model/SettingsFile.h"
#include "model/SettingsVersion.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/HostPath.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Error(const std::string& text)
{
    std::fprintf(stderr, "setwright-cli: %s\n", text.c_str());
    return kExitFailure;
}

// Reads a settings file; prints why not and returns false when it cannot.
bool Load(CData& data, const std::string& path)
{
    try {
        LoadSettingsFile(data, path);
        return true;
    } catch (const CIncorrectVersion& e) {
        Error(path + ": " + e.what());
    } catch (const CArchiveException& e) {
        Error(LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + " " + path + ": " + e.what());
    } catch (const CFileError& e) {
        Error(LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + " " + e.what());
    }
    return false;
}

// The source directory as the project keeps it: relative to the settings file's folder
// when it lies inside it (so the two can move together), absolute otherwise.
std::string StoredSourceDir(const std::string& source, const std::string& settingsFile)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path dir = fs::weakly_canonical(fs::absolute(source), error);
    fs::path folder = fs::weakly_canonical(fs::absolute(settingsFile).parent_path(), error);
    fs::path relative = dir.lexically_relative(folder);
    bool inside = !relative.empty() && *relative.begin() != "..";
    return WithTrailingSeparator(inside && relative != "." ? relative.string() : inside ? folder.string() : dir.string());
}

int NewProject(const CliOptions& options)
{
    std::string dir = WithTrailingSeparator(options.source);
    if (!IsDirectory(dir)) return Error(FormatText(LoadString(IDS_CANNOT_FIND_DIRECTORY), options.source));
    CData data;
    data.m_strSourceDir = StoredSourceDir(options.source, options.file);
    data.m_bIncludeSubdirs = options.includeSubdirs ? 1 : 0;
    if (options.title) data.m_strTitle = data.m_strBackgroundTitle = *options.title;
    data.m_strOutputFile = options.output;
    if (options.platform) data.m_nPlatform = *options.platform;
    data.m_files.AddDirectory(dir, dir, options.includeSubdirs, nullptr);
    if (options.defaultDir) data.m_strDefaultDir = *options.defaultDir;
    if (options.windowMode) data.m_nWindowMode = *options.windowMode;
    if (options.wizardBitmap) data.m_strWizardBitmap = *options.wizardBitmap;
    if (options.backgroundBitmap) data.m_strBackgroundBitmap = *options.backgroundBitmap;
    if (options.texts) {
        try {
            data.ImportTexts(*options.texts);
        } catch (const CFileError& e) {
            return Error(e.what());
        }
    }
    if (options.uninstaller) data.m_strUninstallerName = *options.uninstaller;
    data.m_regKeysToRemove = options.removeKeys;
    for (const auto& [name, target] : options.targets) {
        int index = data.m_files.FindFile(name);
        if (index < 0) return Error(FormatText(LoadString(IDS_CLI_NOT_A_PROJECT_FILE), name));
        data.m_files[static_cast<std::size_t>(index)].SetOption(OPT_TARGET_DIR, target);
    }
    for (const CliOptions::FileSetting& setting : options.fileSettings) {
        int index = data.m_files.FindFile(setting.name);
        if (index < 0) return Error(FormatText(LoadString(IDS_CLI_NOT_A_PROJECT_FILE), setting.name));
        CFileItem& item = data.m_files[static_cast<std::size_t>(index)];
        switch (setting.kind) {
        case CliOptions::FileSetting::Kind::option: item.SetOption(setting.slot, setting.value); break;
        case CliOptions::FileSetting::Kind::icon:
            item.m_strIconFolder = setting.first;
            item.m_strIconName = setting.second;
            break;
        case CliOptions::FileSetting::Kind::shortcut: item.m_strShortcutName = setting.first; break;
        }
    }
    if (options.dirRegistry) {
        data.m_nRegRoot = (*options.dirRegistry)[0][0] - '0';
        data.m_strRegKey = (*options.dirRegistry)[1];
        data.m_strRegValue = (*options.dirRegistry)[2];
        data.m_nDirFlags |= 0x4;
    }
    if (options.dirIni) {
        data.m_strIniFile = (*options.dirIni)[0];
        data.m_strIniSection = (*options.dirIni)[1];
        data.m_strIniEntry = (*options.dirIni)[2];
        data.m_nDirFlags |= 0x8;
    }
    try {
        SaveSettingsFile(data, options.file);
    } catch (const CFileError& e) {
        return Error(LoadString(IDS_FAILED_TO_SAVE_DOCUMENT) + " " + e.what());
    }
    std::printf("%s\n", FormatText(LoadString(IDS_CLI_SAVED), options.file, static_cast<int>(data.m_files.size())).c_str());
    return 0;
}

int Run(const std::vector<std::string>& args)
{
    CliOptions options;
    try {
        options = ParseCliArguments(args);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "setwright-cli: %s\n", FormatText(LoadString(IDS_CLI_BAD_USAGE), std::string(e.what())).c_str());
        return kExitUsage;
    }
    CData data;
    switch (options.action) {
    case CliOptions::Action::help:
        std::fputs(LoadString(IDS_CLI_USAGE).c_str(), stdout);
        return 0;
    case CliOptions::Action::version:
        std::printf("%s\n", LoadString(IDS_CLI_VERSION).c_str());
        return 0;
    case CliOptions::Action::build: return RunHeadlessBuild(options);
    case CliOptions::Action::testWizard: return WriteTestWizard(options);
    case CliOptions::Action::list: return ListProgram(options.file);
    case CliOptions::Action::verify: return VerifyProgram(options.file);
    case CliOptions::Action::split: return SplitProgram(options.file, options.splitBytes);
    case CliOptions::Action::newProject: return NewProject(options);
    case CliOptions::Action::show:
        if (!Load(data, options.file)) return kExitFailure;
        std::fputs(ProjectToJson(data).c_str(), stdout);
        return 0;
    case CliOptions::Action::summary:
        if (!Load(data, options.file)) return kExitFailure;
        std::fputs(ProjectSummary(data, options.file).c_str(), stdout);
        return 0;
    }
    return kExitUsage;
}

}  // namespace
}  // namespace sw

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return sw::Run(args);
}
