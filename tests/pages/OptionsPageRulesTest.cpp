#include <gtest/gtest.h>

#include "pages/OptionsPageRules.h"

namespace sw {
namespace {

// One edit typed over a project whose fields all hold "C:\Program" (the .ini file
// "setup.ini"); then every edit is stored, as when that edit loses the focus.
struct StoreCase {
    std::string OptionEdits::* edit;
    std::string CData::* field;
    const char* typed;
    const char* stored;
    bool modified;
};

TEST(OptionsPage, EditsAreStoredWhenTheyChangedWithLetterCaseCountingWhereItMatters)
{
    const StoreCase cases[] = {
        {&OptionEdits::defaultDir, &CData::m_strDefaultDir, "C:\\PROGRAM", "C:\\Program", false},
        {&OptionEdits::defaultDir, &CData::m_strDefaultDir, "D:\\Program", "D:\\Program", true},
        {&OptionEdits::wizardBitmap, &CData::m_strWizardBitmap, "c:\\program", "C:\\Program", false},
        {&OptionEdits::backgroundBitmap, &CData::m_strBackgroundBitmap, "C:\\PROGRAM", "C:\\Program", false},
        {&OptionEdits::backgroundBitmap, &CData::m_strBackgroundBitmap, "", "", true},
        {&OptionEdits::backgroundTitle, &CData::m_strBackgroundTitle, "C:\\PROGRAM", "C:\\PROGRAM", true},
        {&OptionEdits::regKey, &CData::m_strRegKey, "C:\\PROGRAM", "C:\\PROGRAM", true},
        {&OptionEdits::regValue, &CData::m_strRegValue, "c:\\Program", "c:\\Program", true},
        {&OptionEdits::iniSection, &CData::m_strIniSection, "C:\\Program", "C:\\Program", false},
        {&OptionEdits::iniEntry, &CData::m_strIniEntry, "Dir", "Dir", true},
        {&OptionEdits::iniFile, &CData::m_strIniFile, "setup", "setup.ini", true},
        {&OptionEdits::iniFile, &CData::m_strIniFile, "setup.cfg", "setup.cfg", true},
        {&OptionEdits::iniFile, &CData::m_strIniFile, "", "", true},
        {&OptionEdits::iniFile, &CData::m_strIniFile, "SETUP.INI", "SETUP.INI", true},
    };
    for (const StoreCase& c : cases) {
        CData data;
        for (std::string* field : {&data.m_strWizardBitmap, &data.m_strBackgroundBitmap, &data.m_strBackgroundTitle,
                                   &data.m_strDefaultDir, &data.m_strRegKey, &data.m_strRegValue, &data.m_strIniSection,
                                   &data.m_strIniEntry})
            *field = "C:\\Program";
        data.m_strIniFile = "setup.ini";
        OptionEdits edits = OptionEditsOf(data);
        edits.*c.edit = c.typed;
        EXPECT_EQ(StoreOptionEdits(data, edits), c.modified) << c.typed;
        EXPECT_EQ(data.*c.field, c.stored) << c.typed;
        if (c.edit == &OptionEdits::iniFile) {
            EXPECT_EQ(edits.iniFile, c.stored);  // the edit shows the stored name
        }
    }
}

TEST(OptionsPage, UntouchedEditsStoreNothing)
{
    CData data;
    data.m_strIniFile = "legacy";  // a name from an older file, without its extension
    OptionEdits edits = OptionEditsOf(data);
    EXPECT_FALSE(StoreOptionEdits(data, edits));
    EXPECT_EQ(data.m_strIniFile, "legacy");
}

TEST(OptionsPage, CheckBoxesChangeOnlyTheirOwnBit)
{
    struct Case {
        std::int32_t flags;
        DirFlagBox box;
        bool checked;
        std::int32_t after;
    };
    const Case cases[] = {
        {0x2, DirFlagBox::readOnly, true, 0x0},          {0x0, DirFlagBox::readOnly, false, 0x2},
        {0x7F, DirFlagBox::readOnly, true, 0x7D},        {0x2, DirFlagBox::updateKey, true, 0x6},
        {0x7F, DirFlagBox::updateKey, false, 0x7B},      {0x2, DirFlagBox::updateEntry, true, 0xA},
        {0x10A, DirFlagBox::updateEntry, false, 0x102},  {0x6, DirFlagBox::updateKey, true, 0x6},
    };
    for (const Case& c : cases) {
        std::int32_t after = ApplyDirFlagBox(c.flags, c.box, c.checked);
        EXPECT_EQ(after, c.after) << c.flags;
        EXPECT_EQ(IsDirFlagBoxChecked(after, c.box), c.checked);
    }
    EXPECT_FALSE(IsDirFlagBoxChecked(CData().m_nDirFlags, DirFlagBox::readOnly));
}

TEST(OptionsPage, MacrosAppendToTheTypedDirectory)
{
    CData data;
    EXPECT_TRUE(StoreDirMacro(data, data.m_strDefaultDir, DirMacro::windows));
    EXPECT_EQ(data.m_strDefaultDir, "#Windows#");
    EXPECT_TRUE(StoreDirMacro(data, data.m_strDefaultDir, DirMacro::windows));
    EXPECT_EQ(data.m_strDefaultDir, "#Windows##Windows#");
    EXPECT_TRUE(StoreDirMacro(data, "D:\\", DirMacro::programFiles));  // the edit's text, not the field
    EXPECT_EQ(data.m_strDefaultDir, "D:\\#Program Files#");
    data.m_strDefaultDir = "#system#";
    EXPECT_FALSE(StoreDirMacro(data, "", DirMacro::system));
    EXPECT_EQ(data.m_strDefaultDir, "#system#");
}

TEST(OptionsPage, BackgroundControlsFollowTheWindowMode)
{
    EXPECT_FALSE(BackgroundControlsEnabled(0));
    EXPECT_TRUE(BackgroundControlsEnabled(1));
}

TEST(OptionsPage, AChosenFontKeepsWhatTheDialogDoesNotShow)
{
    LogFont font = DefaultTitleFont();
    font.lfUnderline = 1;
    FontChoice shown = FontChoiceOf(font);
    EXPECT_EQ(shown.faceName, "Arial");
    EXPECT_EQ(shown.pixelHeight, 50);
    EXPECT_EQ(shown.weight, 900);
    EXPECT_TRUE(shown.italic);

    LogFont chosen = ApplyFontChoice(font, {"A face name longer than the thirty-two bytes", 24, 400, false});
    EXPECT_EQ(FaceNameOf(chosen), "A face name longer than the thi");
    EXPECT_EQ(FaceNameOf(chosen).size(), 31u);  // room for the terminating NUL
    EXPECT_EQ(chosen.lfHeight, 24);
    EXPECT_EQ(chosen.lfWeight, 400);
    EXPECT_EQ(chosen.lfItalic, 0);
    EXPECT_EQ(chosen.lfUnderline, 0);
    EXPECT_EQ(chosen.lfCharSet, font.lfCharSet);
    EXPECT_EQ(chosen.lfQuality, font.lfQuality);

    font.lfHeight = -30;
    EXPECT_EQ(ApplyFontChoice(font, {"Sans", 12, 700, true}).lfHeight, -12);
}

}  // namespace
}  // namespace sw
