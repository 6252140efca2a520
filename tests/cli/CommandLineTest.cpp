#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using Action = CliOptions::Action;

TEST(CommandLine, Accepted)
{
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string settingsFile;
    } cases[] = {
        {{"p.kft"}, Action::summary, "p.kft"},
        {{"--help", "whatever"}, Action::help, ""},
        {{"-h"}, Action::help, ""},
        {{"--version"}, Action::version, ""},
        {{"--new", "dir", "--output", "out.kft"}, Action::newProject, "out.kft"},
        {{"-o", "out.kft", "--no-subdirs", "--new", "dir", "--title", "T"}, Action::newProject, "out.kft"},
        {{"-"}, Action::summary, "-"},
    };
    for (const Case& c : cases) {
        CliOptions options = ParseCliArguments(c.args);
        EXPECT_EQ(options.action, c.action) << c.args[0];
        EXPECT_EQ(options.settingsFile, c.settingsFile) << c.args[0];
    }
    CliOptions full = ParseCliArguments({"-o", "out.kft", "--no-subdirs", "--new", "dir", "--title", "T"});
    EXPECT_EQ(full.newDirectory, "dir");
    EXPECT_EQ(full.title, "T");
    EXPECT_FALSE(full.includeSubdirs);
}

TEST(CommandLine, Refused)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "name exactly one settings file"},
        {{"a.kft", "b.kft"}, "name exactly one settings file"},
        {{"--bogus", "a.kft"}, "unknown option: --bogus"},
        {{"--new"}, "option --new needs a value"},
        {{"--new", "dir"}, "--new needs --output"},
        {{"--new", "dir", "-o", "x.kft", "stray"}, "unknown option: stray"},
        {{"a.kft", "-o", "x.kft"}, "name exactly one settings file"},
    };
    for (const Case& c : cases) {
        try {
            ParseCliArguments(c.args);
            ADD_FAILURE() << c.message;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace sw
