#pragma once
// The arguments of setwright-cli.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sw {

struct CliOptions {
    enum class Action { summary, build, list, verify, split, newProject, show, testWizard, help, version } action = Action::summary;
    std::string file;    // the settings file, or the install program of list and verify
    std::string output;  // build: the install program to write instead of the project's; new: its output path;
                         // test-wizard: the test program to write
    std::string source;  // new: the folder to scan
    std::optional<std::string> title;
    std::optional<int> platform;  // new: 0 Windows 3.1, 1 32-bit, 2 64-bit Windows
    std::optional<std::string> defaultDir;               // new: the default installation directory
    std::vector<std::pair<std::string, int>> targets;  // new: a file's target folder (option 0)
    std::optional<std::string> uninstaller;            // new: the uninstaller's file name ("" = none)
    std::vector<std::string> removeKeys;               // new: registry keys the uninstaller removes
    std::optional<int> windowMode;                // new: 0 small wizard, 1 full screen with background
    std::optional<std::string> wizardBitmap;      // new: the bitmap at the left of the wizard
    std::optional<std::string> backgroundBitmap;  // new: the bitmap tiled on the background
    std::optional<std::string> texts;             // new: wizard texts to import (the export format)
    // new: per-file settings, in the order given. option: "SLOT:VALUE" (one of the five
    // option slots); icon: "FOLDER,NAME" (the Start-menu icon); shortcut: the desktop
    // shortcut's name.
    struct FileSetting {
        enum class Kind { option, icon, shortcut } kind;
        std::string name;
        int slot = 0;
        int value = 0;
        std::string first, second;
    };
    std::vector<FileSetting> fileSettings;
    // new: where the installer reads and stores the installation directory.
    std::optional<std::vector<std::string>> dirRegistry;  // ROOT (0-3), KEY, VALUE
    std::optional<std::vector<std::string>> dirIni;       // FILE, SECTION, ENTRY
    int testPage = -1;  // test-wizard: the text group of the page to start at, -1 for the first page
    bool includeSubdirs = true;
    bool assumeYes = false;
    std::uint64_t splitBytes = 0;  // split: the most data bytes per file
};

// Subcommands: build, list, verify, split, new, show, test-wizard. Without one, the classic command line of
// the program applies: a parameter that is not a flag names the settings file (blanks
// trimmed, one pair of surrounding double quotes removed; a later one replaces an earlier
// one); a flag after "/" or "-" whose first letter is B or b asks for a build, other
// flags are ignored, and the project's summary is printed when no build is asked for. An
// argument that starts with "/" and holds another "/" is a path, not a flag. Throws
// std::invalid_argument with a user-facing text on a usage error.
CliOptions ParseCliArguments(const std::vector<std::string>& args);

}  // namespace sw
