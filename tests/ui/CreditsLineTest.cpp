#include <gtest/gtest.h>

#include "ui/CreditsLine.h"

namespace sw::test {
namespace {

TEST(CreditsText, SplitsAtEverySeparatorAndKeepsEmptyLines)
{
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a|b", {"a", "b"}},
        {"a|", {"a", ""}},  // a final separator leaves a final empty line
        {"", {""}},
        {"||x", {"", "", "x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCreditsText(c.text, '|'), c.lines) << c.text;
}

TEST(CreditsText, TheLastCharacterChoosesTheStyleAndIsNotDrawn)
{
    CreditsLook look;
    struct Case {
        const char* line;
        CreditsStyle style;
        const char* text;
    } cases[] = {
        {"Setwright\3", CreditsStyle::Title, "Setwright"},
        {"Version\2", CreditsStyle::Subtitle, "Version"},
        {"Thanks\1", CreditsStyle::Heading, "Thanks"},
        {"logo^", CreditsStyle::Picture, "logo"},
        {"\3", CreditsStyle::Title, ""},
        {"plain text", CreditsStyle::Body, "plain text"},
        {"marker\3 inside", CreditsStyle::Body, "marker\3 inside"},
        {"", CreditsStyle::Body, ""},
    };
    for (const Case& c : cases) {
        CreditsLine line = ParseCreditsLine(c.line, look);
        EXPECT_EQ(line.style, c.style) << c.line;
        EXPECT_EQ(line.text, c.text) << c.line;
        EXPECT_EQ(line.whole, c.line);
    }
}

TEST(CreditsText, FontsFollowTheStyleAndTheSettings)
{
    CreditsLook look;
    look.heights = {26, 22, 18, 14};
    look.colours = {0xFFFFFF, 1, 2, 3, 4};
    struct Case {
        CreditsStyle style;
        int height, weight;
        CreditsColour colour;
    } cases[] = {
        {CreditsStyle::Title, 26, 700, 1},
        {CreditsStyle::Subtitle, 22, 100, 1},
        {CreditsStyle::Heading, 18, 400, 2},
        {CreditsStyle::Body, 14, 100, 3},
    };
    for (const Case& c : cases) {
        CreditsFont font = FontOf(c.style, look);
        EXPECT_EQ(font.height, c.height);
        EXPECT_EQ(font.weight, c.weight);
        EXPECT_EQ(font.colour, c.colour);
    }
}

}  // namespace
}  // namespace sw::test
