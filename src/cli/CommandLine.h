#pragma once
// The arguments of setwright-cli.
#include <optional>
#include <string>
#include <vector>

namespace sw {

struct CliOptions {
    enum class Action { summary, newProject, help, version } action = Action::summary;
    std::string settingsFile;  // summary: the file to read; newProject: where to save
    std::string newDirectory;
    std::optional<std::string> title;
    bool includeSubdirs = true;
};

// Throws std::invalid_argument with a user-facing text on a usage error.
CliOptions ParseCliArguments(const std::vector<std::string>& args);

}  // namespace sw
