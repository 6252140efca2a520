#include "cli/CommandLine.h"

#include <stdexcept>

#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

using Action = CliOptions::Action;

std::string TrimmedFileName(std::string text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
}

bool IsClassicFlag(const std::string& arg)
{
    if (arg.size() < 2) return false;
    if (arg[0] == '-') return true;
    return arg[0] == '/' && arg.find('/', 1) == std::string::npos;
}

[[noreturn]] void Usage(int id, const std::string& argument = {})
{
    throw std::invalid_argument(argument.empty() ? LoadString(id) : FormatText(LoadString(id), argument));
}

// A count of bytes: decimal digits only, above 0 and below 2^32.
std::uint64_t ParseSplitBytes(const std::string& text)
{
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 0xFFFFFFFFu) Usage(IDS_CLI_SPLIT_BAD_BYTES, text);
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (text.empty() || value == 0 || value > 0xFFFFFFFFu) Usage(IDS_CLI_SPLIT_BAD_BYTES, text);
    return value;
}

// "A,B,C" as at most `count` fields; the last takes the rest. Empty fields are refused,
// with `shown` (the option and its value) in the message.
std::vector<std::string> SplitFields(const std::string& shown, const std::string& text, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < count) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) break;
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(text.substr(start));
    for (const std::string& field : fields)
        if (field.empty()) Usage(IDS_CLI_BAD_FIELDS, shown);
    if (fields.size() != count) Usage(IDS_CLI_BAD_FIELDS, shown);
    return fields;
}

// "NAME=REST" for the per-file options of new.
std::pair<std::string, std::string> SplitFileSetting(const std::string& option, const std::string& text)
{
    std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) Usage(IDS_CLI_BAD_FIELDS, option + " " + text);
    return {text.substr(0, equals), text.substr(equals + 1)};
}

struct Subcommand {
    const char* name;
    Action action;
};
constexpr Subcommand kSubcommands[] = {{"build", Action::build},     {"list", Action::list}, {"verify", Action::verify},
                                       {"split", Action::split},     {"new", Action::newProject}, {"show", Action::show},
                                       {"test-wizard", Action::testWizard}};

CliOptions ParseSubcommand(Action action, const std::vector<std::string>& args)
{
    CliOptions options;
    options.action = action;
    bool haveFile = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) Usage(IDS_CLI_MISSING_VALUE, arg);
            return args[++i];
        };
        bool takesOutput = action == Action::build || action == Action::newProject || action == Action::testWizard;
        if ((arg == "-o" || arg == "--output") && takesOutput) {
            options.output = value();
        } else if (arg == "--yes" && action == Action::build) {
            options.assumeYes = true;
        } else if (arg == "--source" && action == Action::newProject) {
            options.source = value();
        } else if (arg == "--title" && action == Action::newProject) {
            options.title = value();
        } else if (arg == "--platform" && action == Action::newProject) {
            const std::string& platform = value();
            if (platform != "0" && platform != "1" && platform != "2") Usage(IDS_CLI_BAD_PLATFORM, platform);
            options.platform = platform[0] - '0';
        } else if (arg == "--default-dir" && action == Action::newProject) {
            options.defaultDir = value();
        } else if (arg == "--target" && action == Action::newProject) {
            const std::string& target = value();
            std::size_t equals = target.rfind('=');
            if (equals == std::string::npos || equals == 0 || equals + 2 != target.size() || target[equals + 1] < '0' ||
                target[equals + 1] > '3')
                Usage(IDS_CLI_BAD_TARGET, target);
            options.targets.emplace_back(target.substr(0, equals), target[equals + 1] - '0');
        } else if (arg == "--uninstaller" && action == Action::newProject) {
            options.uninstaller = value();
        } else if (arg == "--remove-key" && action == Action::newProject) {
            options.removeKeys.push_back(value());
        } else if (arg == "--window-mode" && action == Action::newProject) {
            const std::string& mode = value();
            if (mode != "0" && mode != "1") Usage(IDS_CLI_UNKNOWN_OPTION, arg + " " + mode);
            options.windowMode = mode[0] - '0';
        } else if (arg == "--wizard-bitmap" && action == Action::newProject) {
            options.wizardBitmap = value();
        } else if (arg == "--background-bitmap" && action == Action::newProject) {
            options.backgroundBitmap = value();
        } else if (arg == "--texts" && action == Action::newProject) {
            options.texts = value();
        } else if (arg == "--page" && action == Action::testWizard) {
            // The text group of the page (0 to 8, as the Wizard texts page passes it), or -1.
            const std::string& page = value();
            bool valid = page == "-1" || (page.size() == 1 && page[0] >= '0' && page[0] <= '8');
            if (!valid) Usage(IDS_CLI_UNKNOWN_OPTION, arg + " " + page);
            options.testPage = page == "-1" ? -1 : page[0] - '0';
        } else if (arg == "--option" && action == Action::newProject) {
            auto [name, rest] = SplitFileSetting(arg, value());
            bool valid = rest.size() == 3 && rest[0] >= '0' && rest[0] <= '4' && rest[1] == ':' && rest[2] >= '0' && rest[2] <= '3';
            if (!valid) Usage(IDS_CLI_BAD_FIELDS, arg + " " + args[i]);
            options.fileSettings.push_back({CliOptions::FileSetting::Kind::option, name, rest[0] - '0', rest[2] - '0', {}, {}});
        } else if (arg == "--icon" && action == Action::newProject) {
            auto [name, rest] = SplitFileSetting(arg, value());
            std::vector<std::string> fields = SplitFields(arg + " " + args[i], rest, 2);
            options.fileSettings.push_back({CliOptions::FileSetting::Kind::icon, name, 0, 0, fields[0], fields[1]});
        } else if (arg == "--shortcut" && action == Action::newProject) {
            auto [name, rest] = SplitFileSetting(arg, value());
            options.fileSettings.push_back({CliOptions::FileSetting::Kind::shortcut, name, 0, 0, rest, {}});
        } else if (arg == "--dir-registry" && action == Action::newProject) {
            const std::string& text = value();
            std::vector<std::string> fields = SplitFields(arg + " " + text, text, 3);
            if (fields[0].size() != 1 || fields[0][0] < '0' || fields[0][0] > '3') Usage(IDS_CLI_BAD_FIELDS, arg + " " + args[i]);
            options.dirRegistry = fields;
        } else if (arg == "--dir-ini" && action == Action::newProject) {
            const std::string& text = value();
            options.dirIni = SplitFields(arg + " " + text, text, 3);
        } else if (arg == "--no-subdirs" && action == Action::newProject) {
            options.includeSubdirs = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            Usage(IDS_CLI_UNKNOWN_OPTION, arg);
        } else if (haveFile && action == Action::split && options.splitBytes == 0) {
            options.splitBytes = ParseSplitBytes(arg);
        } else if (!haveFile) {
            options.file = arg;
            haveFile = true;
        } else {
            Usage(IDS_CLI_UNKNOWN_OPTION, arg);
        }
    }
    if (!haveFile) Usage(IDS_CLI_NAME_A_FILE, args[0]);
    if (action == Action::newProject && options.source.empty()) Usage(IDS_CLI_NEW_NEEDS_SOURCE);
    if (action == Action::split && options.splitBytes == 0) Usage(IDS_CLI_SPLIT_BAD_BYTES, "none given");
    if (action == Action::testWizard && options.output.empty()) Usage(IDS_CLI_MISSING_VALUE, "-o");
    return options;
}

}  // namespace

CliOptions ParseCliArguments(const std::vector<std::string>& args)
{
    CliOptions options;
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") {
            options.action = Action::help;
            return options;
        }
        if (arg == "--version") {
            options.action = Action::version;
            return options;
        }
    }
    if (!args.empty())
        for (const Subcommand& subcommand : kSubcommands)
            if (args[0] == subcommand.name) return ParseSubcommand(subcommand.action, args);

    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-o" || arg == "--output") {
            if (i + 1 >= args.size()) Usage(IDS_CLI_MISSING_VALUE, arg);
            options.output = args[++i];
            continue;
        }
        if (arg == "--yes") {
            options.assumeYes = true;
            continue;
        }
        if (arg.rfind("--", 0) == 0) Usage(IDS_CLI_UNKNOWN_OPTION, arg);
        if (IsClassicFlag(arg)) {
            if (arg[1] == 'B' || arg[1] == 'b') options.action = Action::build;
            continue;
        }
        options.file = TrimmedFileName(arg);
        haveFile = !options.file.empty();
    }
    if (!haveFile) Usage(IDS_CLI_NAME_A_FILE, "setwright-cli");
    return options;
}

}  // namespace sw
