#include "model/WizardTexts.h"

#include <gtest/gtest.h>

#include "model/Data.h"
#include "platform/StringTable.h"

namespace sw {
namespace {

TEST(WizardTexts, NewProjectHasTheDefaultShape)
{
    CData data;
    std::vector<std::size_t> sizes;
    for (const auto& group : data.m_texts) sizes.push_back(group.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{5, 2, 8, 5, 3, 8, 32, 7, 11}));
    EXPECT_EQ(data.m_texts[0][0], "Welcome");
    EXPECT_EQ(data.m_texts[6][31], "This file contains invalid data.");
    EXPECT_EQ(data.m_texts[8][7], "Out of memory!");
    EXPECT_EQ(data.m_texts[5][4],
              "#Title has not been totally installed because of the following reason:\n\n%s\n\nYou will have to run "
              "this utility again to completely install #title.");
    EXPECT_EQ(data.m_descriptions[6][23], data.m_descriptions[6][27]);
    EXPECT_EQ(data.m_descriptions[1][1].substr(0, 42), "This text is displayed in a scrollable win");

    data.m_texts[2][1] = "changed";
    data.m_texts[3].push_back("extra");
    data.ResetTexts();
    EXPECT_EQ(data.m_texts, CData().m_texts);
}

TEST(WizardTexts, EveryWizardTextAndDescriptionIsInTheTable)
{
    int texts = 0;
    for (int group = 0; group < kTextGroupCount; ++group) {
        for (const TextTableEntry& entry : TextTableGroup(group)) {
            EXPECT_TRUE(HasString(entry.textId)) << entry.textId;
            EXPECT_TRUE(HasString(entry.descriptionId)) << entry.descriptionId;
            ++texts;
        }
    }
    EXPECT_EQ(texts, 81);
}

TEST(WizardTexts, DefaultTextsByGroupAndIndex)
{
    EXPECT_EQ(GetDefaultText(7, 6), "&Restart");
    EXPECT_EQ(GetDefaultText(2, 7), "%d Mb");
    EXPECT_EQ(GetDefaultText(1, 1), " ");
    EXPECT_EQ(GetDefaultText(9, 0), "");
    EXPECT_EQ(GetDefaultText(0, 5), "");
}

TEST(WizardTexts, TitleMacro)
{
    struct Case {
        const char* text;
        const char* title;
        const char* expected;
    } cases[] = {
        {"#Title's files", "acme", "Acme's files"},
        {"#Title's files", "#title", "#Title's files"},
        {"#title and #title", "Acme", "Acme and Acme"},
        {"Install #title. #Title!", "zeta Soft", "Install zeta Soft. Zeta Soft!"},
        {"#TITLE stays", "acme", "#TITLE stays"},
        {"#Title's files", "", "'s files"},
        {"#Titlexyz", "", "Xyz"},
        {"#Title", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},  // only a to z are upper-cased
        {"#title", "x#titl", "x#titl"},                       // no title makes the replacement run forever
        {"#titlee", "x#titl", "x#title"},
        {"no macro", "acme", "no macro"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplaceTitleMacro(c.text, c.title), c.expected) << c.text << " / " << c.title;
}

TEST(WizardTexts, LineBreakForms)
{
    struct Case {
        const char* stored;
        const char* shown;
    } cases[] = {{"a\nb", "a\\nb"}, {"a\r\nb", "a\\nb"}, {"\n\n", "\\n\\n"}, {"plain", "plain"}, {"", ""}};
    for (const Case& c : cases) EXPECT_EQ(EscapeLineBreaks(c.stored), c.shown) << c.stored;
    EXPECT_EQ(UnescapeLineBreaks("a\\nb\\\\n\\t\\"), "a\nb\\\n\\t\\");
}

TEST(WizardTexts, TemplateFolderEndsWithTempl)
{
    std::string dir = GetTemplateDir();
    EXPECT_EQ(dir.substr(dir.size() - 6), "Templ/");
}

}  // namespace
}  // namespace sw
