#include <gtest/gtest.h>

#include "app/ShellRules.h"

namespace sw {
namespace {

TEST(AppCommandLine, FileAndBuildFlag)
{
    struct Case {
        std::vector<std::string> args;
        std::string file;
        bool build;
    };
    const Case cases[] = {
        {{}, "", false},
        {{"/b", "project.kft"}, "project.kft", true},
        {{"-Build", "project.kft"}, "project.kft", true},
        {{"project.kft", "/x"}, "project.kft", false},
        {{"  \"my project.kft\"  "}, "my project.kft", false},
        {{"first.kft", "second.kft"}, "second.kft", false},
        {{"/home/me/p.kft", "/B"}, "/home/me/p.kft", true},  // a path, not a flag
    };
    for (const Case& c : cases) {
        AppCommandLine line = ParseAppCommandLine(c.args);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.build, c.build) << c.file;
    }
}

TEST(FramePlacement, ReadsFourNumbersAndAppliesOnlyWhatFitsTheScreen)
{
    EXPECT_FALSE(ParseFramePlacement("1,2,3").has_value());
    std::optional<FrameRect> rect = ParseFramePlacement("10,20,800,600");
    ASSERT_TRUE(rect);
    EXPECT_EQ(FormatFramePlacement(*rect), "10,20,800,600");
    struct Case {
        FrameRect rect;
        bool fits;
    };
    const Case cases[] = {
        {{0, 0, 5000, 5000}, false}, {{10, 20, 800, 600}, true}, {{1024, 0, 10, 10}, false},
        {{0, 0, 1024, 768}, true},   {{1, 0, 1024, 768}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(FitsScreen(c.rect, 1024, 768), c.fits) << FormatFramePlacement(c.rect);
}

TEST(FrameTitle, WindowTitleDocumentTitleAndStar)
{
    EXPECT_EQ(MakeFrameTitle(DocTemplatePart(0), DocTemplatePart(1), true), "Quorvix Setwright - Install*");
    EXPECT_EQ(MakeFrameTitle("Quorvix Setwright", "Example.kft", false), "Quorvix Setwright - Example.kft");
    EXPECT_EQ(MakeFrameTitle("Quorvix Setwright", "", false), "Quorvix Setwright");
}

TEST(DocTemplate, SevenParts)
{
    const char* parts[] = {"Quorvix Setwright", "Install", "", "Settings File (*.kft)", ".kft", "Setwright.Settings",
                           "Quorvix Setwright Settings"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(DocTemplatePart(i), parts[i]);
    EXPECT_EQ(DocTemplatePart(7), "");
}

TEST(HelpPages, ContextsMapToTheirPages)
{
    struct Case {
        std::uint32_t context;
        bool isContext;
        const char* page;
    };
    const Case cases[] = {
        {0x20000 + 160, true, "sw/o_fichiers.htm"},     {0x20000 + 136, true, "sw/o_construction.htm"},
        {0x20000 + 10001, true, "sw/o_optionsfichiers.htm"}, {0x20000 + 155, true, "sw/o_assistant.htm"},
        {0x20000 + 171, true, "sw/preferences.htm"},    {0x20000 + 9999, true, "sw/assistant10.htm"},
        {0x20000 + 169, true, "sw/o_uninstall.htm"},    {0x20000 + 500, true, "index.htm"},
        {0x20000 + 160, false, "index.htm"},
    };
    for (const Case& c : cases) EXPECT_EQ(HelpPageForContext(c.context, c.isContext), c.page) << c.context;
    std::vector<std::string> all = AllHelpPages();
    EXPECT_EQ(all.size(), 19u);  // index, 7 page topics, 11 wizard steps
    EXPECT_EQ(all.front(), "index.htm");
}

}  // namespace
}  // namespace sw
