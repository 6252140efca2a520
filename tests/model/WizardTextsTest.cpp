#include "model/WizardTexts.h"

#include <gtest/gtest.h>

#include "model/Data.h"
#include "platform/Files.h"
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

// The format items of a text in order: the installer fills the first %s or %d with its
// argument, so a translation that drops, adds or swaps one shows the wrong thing.
std::string FormatItems(const std::string& text)
{
    std::string items;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') continue;
        items += text.substr(i, 2);
        ++i;
    }
    return items;
}

TEST(WizardTexts, ShippedTranslationsReplaceEveryTextAndKeepItsFormatItems)
{
    std::size_t templates = 0;
    for (const DirEntry& entry : ListDirectory(GetTemplateDir())) {
        if (entry.isDirectory || entry.name.size() < 4 || entry.name.substr(entry.name.size() - 4) != ".txt") continue;
        ++templates;
        CData data;
        data.ImportTexts(GetTemplateDir() + entry.name);
        for (std::size_t g = 0; g < data.m_texts.size(); ++g) {
            for (std::size_t t = 0; t < data.m_texts[g].size(); ++t) {
                const std::string& text = data.m_texts[g][t];
                std::string fallback = GetDefaultText(static_cast<int>(g), static_cast<int>(t));
                EXPECT_EQ(FormatItems(text), FormatItems(fallback)) << entry.name << " text " << g << "/" << t;
                EXPECT_EQ(text.find_first_not_of(' ') == std::string::npos, fallback.find_first_not_of(' ') == std::string::npos)
                    << entry.name << " text " << g << "/" << t << " is blank where the default is not, or the other way";
                EXPECT_EQ(text.find("#title") != std::string::npos || text.find("#Title") != std::string::npos,
                          fallback.find("#title") != std::string::npos || fallback.find("#Title") != std::string::npos)
                    << entry.name << " text " << g << "/" << t << " lost or gained the title";
            }
        }
    }
    EXPECT_GE(templates, 1u) << "no translation beside the program in " << GetTemplateDir();
}

}  // namespace
}  // namespace sw
