#include "cli/CommandLine.h"

#include <stdexcept>

#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

CliOptions ParseCliArguments(const std::vector<std::string>& args)
{
    CliOptions options;
    std::vector<std::string> files;
    bool output = false;
    auto value = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= args.size()) throw std::invalid_argument(FormatText(LoadString(IDS_CLI_MISSING_VALUE), args[i]));
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.action = CliOptions::Action::help;
            return options;
        }
        if (arg == "--version") {
            options.action = CliOptions::Action::version;
            return options;
        }
        if (arg == "--new") {
            options.action = CliOptions::Action::newProject;
            options.newDirectory = value(i);
        } else if (arg == "--output" || arg == "-o") {
            options.settingsFile = value(i);
            output = true;
        } else if (arg == "--title") {
            options.title = value(i);
        } else if (arg == "--no-subdirs") {
            options.includeSubdirs = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw std::invalid_argument(FormatText(LoadString(IDS_CLI_UNKNOWN_OPTION), arg));
        } else {
            files.push_back(arg);
        }
    }
    if (options.action == CliOptions::Action::newProject) {
        if (!output) throw std::invalid_argument(LoadString(IDS_CLI_NEW_NEEDS_OUTPUT));
        if (!files.empty()) throw std::invalid_argument(FormatText(LoadString(IDS_CLI_UNKNOWN_OPTION), files[0]));
        return options;
    }
    if (files.size() != 1 || output) throw std::invalid_argument(LoadString(IDS_CLI_ONE_SETTINGS_FILE));
    options.settingsFile = files[0];
    return options;
}

}  // namespace sw
