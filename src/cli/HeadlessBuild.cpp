#include "cli/HeadlessBuild.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "build/Builder.h"
#include "build/RuntimeResources.h"
#include "cli/ConsoleBuildHost.h"
#include "model/Archive.h"
#include "model/SettingsFile.h"
#include "model/SettingsVersion.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/HostPath.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

std::string FolderOf(const std::string& file)
{
    char resolved[PATH_MAX];
    std::string folder = file.find('/') == std::string::npos ? "." : file.substr(0, file.rfind('/') + 1);
    if (folder.empty()) folder = "/";
    return ::realpath(folder.c_str(), resolved) ? WithTrailingSeparator(resolved) : WithTrailingSeparator(folder);
}

// The last name of a path written either way (sub/dir/, C:\src\), without separators.
std::string LastName(std::string path)
{
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    std::size_t cut = path.find_last_of("/\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsReadable(const std::string& path) { return !path.empty() && ::access(path.c_str(), R_OK) == 0 && !IsDirectory(path); }

// The path itself when it leads somewhere, else the candidates inside the settings folder.
std::string Locate(const std::string& path, const std::string& folder, bool directory)
{
    auto exists = [directory](const std::string& candidate) { return directory ? IsDirectory(candidate) : IsReadable(candidate); };
    if (path.empty()) return path;
    std::string candidates[] = {path.front() == '/' ? path : folder + path, folder + LastName(path)};
    for (const std::string& candidate : candidates)
        if (exists(candidate)) return directory ? WithTrailingSeparator(candidate) : candidate;
    return {};
}

}  // namespace

bool RelocateProjectPaths(CData& data, const std::string& settingsFile, std::string& error)
{
    std::string folder = FolderOf(settingsFile);
    if (!data.m_strSourceDir.empty()) {
        std::string found = Locate(data.m_strSourceDir, folder, true);
        if (found.empty()) {
            error = FormatText(LoadString(IDS_CANNOT_FIND_DIRECTORY), data.m_strSourceDir);
            return false;
        }
        data.m_strSourceDir = found;
    }
    for (std::string* path : {&data.m_strWizardBitmap, &data.m_strBackgroundBitmap, &data.m_strAttachedFile}) {
        std::string found = Locate(*path, folder, false);
        if (!found.empty()) *path = found;  // a file that cannot be found stays as it was
    }
    if (!data.m_strOutputFile.empty() && data.m_strOutputFile.front() != '/') data.m_strOutputFile = folder + data.m_strOutputFile;
    return true;
}

namespace {

int Fail(const std::string& text)
{
    std::fprintf(stderr, "setwright-cli: %s\n", text.c_str());
    return 1;
}

// Reads the settings file as a build does; prints why not and returns false when it cannot.
bool LoadForBuild(CData& data, const std::string& file)
{
    std::string error;
    try {
        LoadSettingsFile(data, file);
    } catch (const CIncorrectVersion& e) {
        error = file + ": " + e.what();
    } catch (const CArchiveException& e) {
        error = LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + " " + file + ": " + e.what();
    } catch (const CFileError& e) {
        error = LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + " " + e.what();
    }
    if (error.empty() && RelocateProjectPaths(data, file, error)) return true;
    Fail(error);
    return false;
}

}  // namespace

int RunHeadlessBuild(const CliOptions& options)
{
    CData data;
    data.m_bCommandLineBuild = 1;
    if (!LoadForBuild(data, options.file)) return 1;
    if (!options.output.empty()) data.m_strOutputFile = options.output;
    if (data.m_strOutputFile.empty()) return Fail(LoadString(IDS_CLI_NO_OUTPUT_FILE));
    data.m_bBuildPending = 1;

    CConsoleBuildHost host(options.assumeYes);
    bool built = false;
    {
        CConsoleReport report;
        built = CBuilder(host).Build(data, report);
    }
    if (!built) return Fail(LoadString(IDS_CLI_BUILD_FAILED));
    std::printf("%s\n", FormatText(LoadString(IDS_CLI_BUILT), data.m_strOutputFile).c_str());
    return 0;
}

int WriteTestWizard(const CliOptions& options)
{
    CData data;
    if (!LoadForBuild(data, options.file)) return 1;
    CConsoleBuildHost host(false);
    const int runtime = data.m_nPlatform == 2 ? RES_INSTALLER_64 : RES_INSTALLER;
    if (!CBuilder(host).TestWizard(data, options.output, options.testPage, runtime))
        return Fail(LoadString(IDS_CLI_BUILD_FAILED));
    std::printf("%s\n", FormatText(LoadString(IDS_CLI_BUILT), options.output).c_str());
    return 0;
}

}  // namespace sw
