#include <gtest/gtest.h>

#include "model/WizardTexts.h"
#include "pages/TextsPageRules.h"

namespace sw {
namespace {

TEST(TextRows, ShowLineBreaksEscapedAndBlankTextsAsNone)
{
    struct Case {
        const char* text;
        const char* label;
    };
    const Case cases[] = {
        {"Line one\r\nLine two", "Line one\\nLine two"},
        {"", "<None>"},
        {"   ", "<None>"},
        {"\r", "<None>"},  // nothing left once the carriage return is dropped
        {"\n", "\\n"},
        {" a ", " a "},
        {"\t", "\t"},  // only blanks count as nothing
    };
    for (const Case& c : cases) EXPECT_EQ(TextRowLabel(c.text), c.label) << c.text;
}

TEST(TextRows, AnInPlaceEditStoresTheTypedTextWithItsLineBreaks)
{
    struct Case {
        const char* typed;
        const char* label;
        const char* stored;
    };
    const Case cases[] = {
        {"Line one\\nLine two", "Line one\\nLine two", "Line one\nLine two"},
        {"<None>", "<None>", ""},
        {"<none>", "<none>", ""},
        {"  ", "<None>", ""},
        {"", "<None>", ""},
        {" <None> ", " <None> ", " <None> "},  // not the word alone
        {"C:\\new", "C:\\new", "C:\new"},  // a backslash and n is always a line break
        {"Welcome", "Welcome", "Welcome"},
    };
    for (const Case& c : cases) {
        TextEditResult result = EndTextEdit(c.typed);
        EXPECT_EQ(result.label, c.label) << c.typed;
        EXPECT_EQ(result.stored, c.stored) << c.typed;
    }
}

TEST(TextRows, EditingARowWithoutChangeStoresTheTextWithoutCarriageReturns)
{
    CData data;
    ASSERT_TRUE(StoreText(data, 0, 1, "Line one\r\nLine two"));
    TextEditResult unchanged = EndTextEdit(GroupRowLabels(data, 0)[1]);
    ASSERT_TRUE(StoreText(data, 0, 1, unchanged.stored));
    EXPECT_EQ(data.m_texts[0][1], "Line one\nLine two");
}

TEST(TextRows, TextsOutsideTheGroupAreNeverWritten)
{
    CData data;
    CData before = data;
    EXPECT_FALSE(StoreText(data, 0, 5, "x"));
    EXPECT_FALSE(StoreText(data, 9, 0, "x"));
    EXPECT_FALSE(StoreText(data, -1, 0, "x"));
    EXPECT_TRUE(ResetTextsToDefault(data, 7, {7, -1}).empty());
    EXPECT_EQ(data, before);
    EXPECT_EQ(UsageText(data, 0, -1), "");
    EXPECT_EQ(UsageText(data, 3, 5), "");
}

TEST(TextRows, DefaultResetsEverySelectedRowAndLeavesTheOthers)
{
    CData data;
    for (std::string& text : data.m_texts[5]) text = "changed";
    std::vector<RowLabel> labels = ResetTextsToDefault(data, 5, {1, 2, 4});
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].row, 1);
    EXPECT_EQ(labels[0].label, "#Title has been successfully installed.");
    EXPECT_EQ(labels[1].label, "<None>");  // a default of one blank
    EXPECT_EQ(labels[2].label, EscapeLineBreaks(GetDefaultText(5, 4)));
    EXPECT_NE(labels[2].label.find("\\n\\n%s\\n\\n"), std::string::npos);
    EXPECT_EQ(data.m_texts[5][2], " ");
    EXPECT_EQ(data.m_texts[5][0], "changed");
    EXPECT_EQ(data.m_texts[5][3], "changed");
}

TEST(TextPages, GroupsPreviewAndTheInformationText)
{
    const char* names[] = {"Presentation", "Information", "Directory", "Confirmation",
                           "Progress",     "End",         "Miscellaneous texts", "Buttons"};
    for (int group = 0; group < kWizardPageGroupCount; ++group) {
        EXPECT_EQ(TextGroupName(group), names[group]);
        EXPECT_EQ(HasPreview(group), group <= 5) << group;
    }
    EXPECT_EQ(TextGroupName(8), "");
    EXPECT_TRUE(IsEditedInDialog(1, 1));
    EXPECT_FALSE(IsEditedInDialog(1, 0));
    EXPECT_FALSE(IsEditedInDialog(8, 1));  // the uninstaller's second text is edited in place
}

TEST(TextPages, UsageIsTheDescriptionOfTheFirstSelectedRow)
{
    CData data;
    EXPECT_EQ(UsageText(data, 8, 3), "Message box button. Put '&&' before the character which will be used as keyboard shortcut.");
    EXPECT_EQ(UsageText(data, 1, 1).rfind("This text is displayed in a scrollable window.", 0), 0u);
    std::vector<std::string> buttons = GroupRowLabels(data, 7);
    ASSERT_EQ(buttons.size(), 7u);
    EXPECT_EQ(buttons[0], "< &Back");
}

}  // namespace
}  // namespace sw
