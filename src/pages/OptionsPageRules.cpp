#include "pages/OptionsPageRules.h"

#include <cstdlib>
#include <cstring>

#include "pages/FieldStore.h"

namespace sw {

namespace {

std::int32_t FlagOf(DirFlagBox box)
{
    switch (box) {
    case DirFlagBox::readOnly: return DIR_USER_CAN_CHANGE;
    case DirFlagBox::updateKey: return DIR_WRITE_REGISTRY;
    case DirFlagBox::updateEntry: return DIR_WRITE_INI;
    }
    return 0;
}

}  // namespace

bool BackgroundControlsEnabled(int windowMode) { return windowMode != 0; }

OptionEdits OptionEditsOf(const CData& data)
{
    return {data.m_strWizardBitmap, data.m_strBackgroundBitmap, data.m_strBackgroundTitle, data.m_strDefaultDir,
            data.m_strRegKey,       data.m_strRegValue,         data.m_strIniFile,         data.m_strIniSection,
            data.m_strIniEntry};
}

std::string WithIniExtension(const std::string& fileName)
{
    if (fileName.empty() || fileName.find('.') != std::string::npos) return fileName;
    return fileName + ".ini";
}

bool StoreOptionEdits(CData& data, OptionEdits& edits)
{
    bool stored = false;
    stored |= StoreIfDifferentIgnoringCase(data.m_strWizardBitmap, edits.wizardBitmap);
    stored |= StoreIfDifferentIgnoringCase(data.m_strBackgroundBitmap, edits.backgroundBitmap);
    // The title is drawn as typed: a change of letter case is a change.
    stored |= StoreIfDifferent(data.m_strBackgroundTitle, edits.backgroundTitle);
    stored |= StoreIfDifferentIgnoringCase(data.m_strDefaultDir, edits.defaultDir);
    stored |= StoreIfDifferent(data.m_strRegKey, edits.regKey);
    stored |= StoreIfDifferent(data.m_strRegValue, edits.regValue);
    if (data.m_strIniFile != edits.iniFile) {
        edits.iniFile = WithIniExtension(edits.iniFile);
        data.m_strIniFile = edits.iniFile;
        stored = true;
    }
    stored |= StoreIfDifferent(data.m_strIniSection, edits.iniSection);
    stored |= StoreIfDifferent(data.m_strIniEntry, edits.iniEntry);
    return stored;
}

std::int32_t ApplyDirFlagBox(std::int32_t flags, DirFlagBox box, bool checked)
{
    // "Read-only" shows the inverse of the bit: the user may change the directory.
    bool set = box == DirFlagBox::readOnly ? !checked : checked;
    return set ? (flags | FlagOf(box)) : (flags & ~FlagOf(box));
}

bool IsDirFlagBoxChecked(std::int32_t flags, DirFlagBox box)
{
    bool set = (flags & FlagOf(box)) != 0;
    return box == DirFlagBox::readOnly ? !set : set;
}

std::string AppendDirMacro(const std::string& directory, DirMacro macro)
{
    switch (macro) {
    case DirMacro::windows: return directory + "#Windows#";
    case DirMacro::system: return directory + "#System#";
    case DirMacro::programFiles: return directory + "#Program Files#";
    }
    return directory;
}

bool StoreDirMacro(CData& data, const std::string& editText, DirMacro macro)
{
    return StoreIfDifferentIgnoringCase(data.m_strDefaultDir, AppendDirMacro(editText, macro));
}

std::string FaceNameOf(const LogFont& font) { return std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName)); }

FontChoice FontChoiceOf(const LogFont& font)
{
    return {FaceNameOf(font), std::abs(font.lfHeight), font.lfWeight, font.lfItalic != 0};
}

LogFont ApplyFontChoice(const LogFont& font, const FontChoice& choice)
{
    LogFont chosen = font;
    chosen.lfHeight = font.lfHeight < 0 ? -choice.pixelHeight : choice.pixelHeight;
    chosen.lfWidth = 0;
    chosen.lfWeight = choice.weight;
    chosen.lfItalic = choice.italic ? 1 : 0;
    // The dialog offers no effects: a chosen font is never underlined or struck out.
    chosen.lfUnderline = 0;
    chosen.lfStrikeOut = 0;
    std::memset(chosen.lfFaceName, 0, sizeof chosen.lfFaceName);
    std::memcpy(chosen.lfFaceName, choice.faceName.data(), std::min(choice.faceName.size(), sizeof chosen.lfFaceName - 1));
    return chosen;
}

}  // namespace sw
