#include "cli/CommandLine.h"
#include "cli/ProjectJson.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using Action = CliOptions::Action;

TEST(CommandLine, Accepted)
{
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string file;
        std::string output;
    } cases[] = {
        {{"build", "p.kft"}, Action::build, "p.kft", ""},
        {{"build", "p.kft", "-o", "Setup.exe", "--yes"}, Action::build, "p.kft", "Setup.exe"},
        {{"list", "Setup.exe"}, Action::list, "Setup.exe", ""},
        {{"verify", "Setup.exe"}, Action::verify, "Setup.exe", ""},
        {{"new", "p.kft", "--source", "dir", "--output", "Setup.exe"}, Action::newProject, "p.kft", "Setup.exe"},
        {{"show", "p.kft"}, Action::show, "p.kft", ""},
        {{"p.kft"}, Action::summary, "p.kft", ""},
        {{"/b", "project.kft"}, Action::build, "project.kft", ""},
        {{"-Build", "project.kft", "-o", "x.exe"}, Action::build, "project.kft", "x.exe"},
        {{"project.kft", "/x"}, Action::summary, "project.kft", ""},
        {{"a.kft", "b.kft"}, Action::summary, "b.kft", ""},
        {{"  \"with blanks.kft\"  ", "-B"}, Action::build, "with blanks.kft", ""},
        {{"/home/author/p.kft", "/B"}, Action::build, "/home/author/p.kft", ""},
        {{"show", "--help"}, Action::help, "", ""},
        {{"--version"}, Action::version, "", ""},
    };
    for (const Case& c : cases) {
        CliOptions options = ParseCliArguments(c.args);
        EXPECT_EQ(options.action, c.action) << c.args[0];
        EXPECT_EQ(options.file, c.file) << c.args[0];
        EXPECT_EQ(options.output, c.output) << c.args[0];
    }
    CliOptions full = ParseCliArguments({"new", "p.kft", "--no-subdirs", "--source", "dir", "--title", "T"});
    EXPECT_EQ(full.source, "dir");
    EXPECT_EQ(full.title, "T");
    EXPECT_FALSE(full.includeSubdirs);
    EXPECT_FALSE(full.platform);
    EXPECT_EQ(ParseCliArguments({"new", "p.kft", "--source", "d", "--platform", "2"}).platform, 2);
    EXPECT_TRUE(ParseCliArguments({"build", "p.kft", "--yes"}).assumeYes);
    CliOptions uninstall = ParseCliArguments({"new", "p.kft", "--source", "d", "--remove-key", "HKEY_CURRENT_USER\\A",
                                              "--uninstaller", "Remove.exe", "--remove-key", "B"});
    EXPECT_EQ(uninstall.uninstaller, "Remove.exe");
    EXPECT_EQ(uninstall.removeKeys, (std::vector<std::string>{"HKEY_CURRENT_USER\\A", "B"}));
    EXPECT_EQ(ParseCliArguments({"new", "p.kft", "--source", "d", "--uninstaller", ""}).uninstaller, "")
        << "an empty name asks for no uninstaller";
    EXPECT_FALSE(full.uninstaller) << "without the option the project's default name stays";

    CliOptions look = ParseCliArguments({"new", "p.kft", "--source", "d", "--window-mode", "0", "--wizard-bitmap", "w.bmp",
                                         "--background-bitmap", "b.bmp", "--texts", "French.txt"});
    EXPECT_EQ(look.windowMode, 0);
    EXPECT_EQ(look.wizardBitmap, "w.bmp");
    EXPECT_EQ(look.backgroundBitmap, "b.bmp");
    EXPECT_EQ(look.texts, "French.txt");
    EXPECT_FALSE(full.windowMode);
    EXPECT_FALSE(full.wizardBitmap);

    CliOptions files = ParseCliArguments({"new", "p.kft", "--source", "d", "--option", "a.dll=4:2", "--icon",
                                          "tool.exe=#Start Menu#Acme,Acme Tool, v2", "--shortcut", "tool.exe=Acme",
                                          "--dir-registry", "1,Software\\Acme,Dir", "--dir-ini", "acme.ini,Setup,Dir"});
    using Kind = CliOptions::FileSetting::Kind;
    ASSERT_EQ(files.fileSettings.size(), 3u);
    EXPECT_TRUE(files.fileSettings[0].kind == Kind::option && files.fileSettings[0].name == "a.dll" &&
                files.fileSettings[0].slot == 4 && files.fileSettings[0].value == 2);
    EXPECT_TRUE(files.fileSettings[1].kind == Kind::icon && files.fileSettings[1].first == "#Start Menu#Acme" &&
                files.fileSettings[1].second == "Acme Tool, v2")
        << "the folder ends at the first comma, the icon's name takes the rest";
    EXPECT_TRUE(files.fileSettings[2].kind == Kind::shortcut && files.fileSettings[2].first == "Acme");
    EXPECT_EQ(files.dirRegistry, (std::vector<std::string>{"1", "Software\\Acme", "Dir"}));
    EXPECT_EQ(files.dirIni, (std::vector<std::string>{"acme.ini", "Setup", "Dir"}));
}

TEST(CommandLine, TestWizardWritesTheTestProgramOfAStartPage)
{
    CliOptions whole = ParseCliArguments({"test-wizard", "p.kft", "-o", "T.exe"});
    EXPECT_EQ(whole.action, Action::testWizard);
    EXPECT_EQ(whole.file, "p.kft");
    EXPECT_EQ(whole.output, "T.exe");
    EXPECT_EQ(whole.testPage, -1);
    EXPECT_EQ(ParseCliArguments({"test-wizard", "p.kft", "--page", "2", "--output", "T.exe"}).testPage, 2);
    EXPECT_EQ(ParseCliArguments({"test-wizard", "p.kft", "-o", "T.exe", "--page", "-1"}).testPage, -1);
}

TEST(CommandLine, Refused)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "setwright-cli needs a file name"},
        {{"/x"}, "setwright-cli needs a file name"},
        {{"\"\""}, "setwright-cli needs a file name"},
        {{"build"}, "build needs a file name"},
        {{"--bogus", "a.kft"}, "unknown option: --bogus"},
        {{"build", "a.kft", "b.kft"}, "unknown option: b.kft"},
        {{"list", "a.exe", "--yes"}, "unknown option: --yes"},
        {{"new", "p.kft"}, "new needs --source DIR"},
        {{"new", "p.kft", "--source", "d", "--platform", "3"}, "--platform wants 0, 1 or 2: 3"},
        {{"new", "p.kft", "--source", "d", "--platform", "x2"}, "--platform wants 0, 1 or 2: x2"},
        {{"build", "p.kft", "--platform", "2"}, "unknown option: --platform"},
        {{"new", "p.kft", "--source"}, "option --source needs a value"},
        {{"build", "p.kft", "-o"}, "option -o needs a value"},
        {{"new", "p.kft", "--source", "d", "--remove-key"}, "option --remove-key needs a value"},
        {{"build", "p.kft", "--uninstaller", "U.exe"}, "unknown option: --uninstaller"},
        {{"test-wizard", "p.kft"}, "option -o needs a value"},
        {{"test-wizard", "p.kft", "-o", "T.exe", "--page", "9"}, "unknown option: --page 9"},
        {{"test-wizard", "p.kft", "-o", "T.exe", "--page", "-2"}, "unknown option: --page -2"},
        {{"test-wizard", "-o", "T.exe"}, "test-wizard needs a file name"},
        {{"build", "p.kft", "--page", "2"}, "unknown option: --page"},
        {{"new", "p.kft", "--source", "d", "--window-mode", "2"}, "unknown option: --window-mode 2"},
        {{"new", "p.kft", "--source", "d", "--option", "a=5:1"}, "malformed value (see --help): --option a=5:1"},
        {{"new", "p.kft", "--source", "d", "--option", "=0:1"}, "malformed value (see --help): --option =0:1"},
        {{"new", "p.kft", "--source", "d", "--icon", "a=Folder"}, "malformed value (see --help): --icon a=Folder"},
        {{"new", "p.kft", "--source", "d", "--shortcut", "a="}, "malformed value (see --help): --shortcut a="},
        {{"new", "p.kft", "--source", "d", "--dir-registry", "4,K,V"}, "malformed value (see --help): --dir-registry 4,K,V"},
        {{"new", "p.kft", "--source", "d", "--dir-ini", "a.ini,S"}, "malformed value (see --help): --dir-ini a.ini,S"},
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

// `show` writes valid UTF-8 whatever bytes a settings file holds: well-formed sequences as
// they are, every other byte as the lone surrogate \udcXX that stands for it.
TEST(ProjectJson, StringsAreValidUtf8AndKeepEveryByte)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string json;
    } cases[] = {
        {"ASCII and escapes", "a\"b\\c\n\t\x01", R"("a\"b\\c\n\t\u0001")"},
        {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\""},
        {"the highest code point", "\xF4\x8F\xBF\xBF", "\"\xF4\x8F\xBF\xBF\""},
        {"a code page byte", "caf\xE9", R"("caf\udce9")"},
        {"bytes F5 to FF", "\xF5\xFF", R"("\udcf5\udcff")"},
        {"overlong forms", "\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF", R"("\udcc0\udcaf\udce0\udc80\udcaf\udcf0\udc80\udc80\udcaf")"},
        {"a surrogate", "\xED\xA0\x80", R"("\udced\udca0\udc80")"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"},
        {"cut short", "\xE2\x82", R"("\udce2\udc82")"},
    };
    for (const Case& c : cases) EXPECT_EQ(sw::JsonString(c.bytes), c.json) << c.what;
}
