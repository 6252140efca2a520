#include "model/TextFile.h"

#include <gtest/gtest.h>

#include "platform/FileError.h"
#include "support/TempDir.h"

namespace sw {
namespace {

TEST(TextFile, ExportLaysOutMarkersTextsAndEmptyLines)
{
    std::string file = FormatTextsFile(CData().m_texts);
    std::string start = "*0000*\r\nWelcome\r\n\r\n*0001*\r\nWelcome to the #title Install program.\r\n\r\n*0002*";
    EXPECT_EQ(file.substr(0, start.size()), start);
    EXPECT_NE(file.find("*0101*\r\n \r\n\r\n*0200*"), std::string::npos);
    EXPECT_NE(file.find("reason:\r\n\r\n%s\r\n\r\nYou will"), std::string::npos);
    EXPECT_NE(file.find("*0631*\r\n"), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 4), "\r\n\r\n");
    TextGroups empty{{""}};
    EXPECT_EQ(FormatTextsFile(empty), "*0000*\r\n\r\n\r\n");
}

TEST(TextFile, RoundTripLosesOnlyEmptyLinesInsideTexts)
{
    test::TempDir dir;
    CData data;
    data.ExportTexts(dir / "texts.txt");
    CData back;
    back.ImportTexts(dir / "texts.txt");
    std::vector<int> changed;
    for (std::size_t g = 0; g < data.m_texts.size(); ++g)
        for (std::size_t t = 0; t < data.m_texts[g].size(); ++t)
            if (back.m_texts[g][t] != data.m_texts[g][t]) changed.push_back(static_cast<int>(g * 100 + t));
    EXPECT_EQ(changed, (std::vector<int>{504, 610, 613, 629, 630}));
    EXPECT_EQ(back.m_texts[6][10], "Cannot install the following file because it's in use:\n%s.");
}

TEST(TextFile, ImportReadsOnlyTheTextsItNames)
{
    struct Case {
        const char* file;
        std::size_t group, index;
        const char* expected;
    } cases[] = {
        {"*0000*\r\nBienvenue\r\n", 0, 0, "Bienvenue"},
        {"*0000*\nUnix\nline ends\n\n\n", 0, 0, "Unix\nline ends"},
        {"before\r\n*0000*trailing words\r\nA\r\n\r\nB\r\n", 0, 0, "A\nB"},
        {"*9900*\r\nignored\r\n*0001*\r\nkept", 0, 1, "kept"},
        {"*0099*\r\nignored\r\n", 0, 0, "Welcome"},
        {"*000*\r\nnot a marker\r\n", 0, 0, "Welcome"},
        {"*0102*\r\nno such text\r\n*0101*\r\n", 1, 1, ""},
    };
    for (const Case& c : cases) {
        CData data;
        ParseTextsFile(c.file, data.m_texts);
        EXPECT_EQ(data.m_texts[c.group][c.index], c.expected) << c.file;
        CData defaults;
        for (std::size_t g = 0; g < data.m_texts.size(); ++g) {
            for (std::size_t t = 0; t < data.m_texts[g].size(); ++t) {
                if (g != c.group || t != c.index) {
                    EXPECT_EQ(data.m_texts[g][t], defaults.m_texts[g][t]) << c.file;
                }
            }
        }
    }
}

TEST(TextFile, LongLinesSurviveWhole)
{
    CData data;
    data.m_texts[1][1] = std::string(40000, 'x') + "\n" + std::string(32766, 'y');
    CData back;
    ParseTextsFile(FormatTextsFile(data.m_texts), back.m_texts);
    EXPECT_TRUE(back.m_texts[1][1] == data.m_texts[1][1]);
}

TEST(TextFile, UnreadableFileChangesNothing)
{
    test::TempDir dir;
    CData data;
    EXPECT_THROW(data.ImportTexts(dir / "missing.txt"), CFileError);
    EXPECT_EQ(data, CData());
}

}  // namespace
}  // namespace sw
