#include "model/Data.h"

#include <cstring>

#include "platform/StringTable.h"
#include "model/TextFile.h"
#include "model/WizardTexts.h"
#include "platform/Files.h"

namespace sw {

LogFont DefaultTitleFont()
{
    LogFont font;
    font.lfHeight = 50;
    font.lfWeight = 900;
    font.lfItalic = 1;
    font.lfCharSet = 1;
    font.lfQuality = 2;
    std::memcpy(font.lfFaceName, "Arial", 5);
    return font;
}

CData::CData()
    : m_strTitle(LoadString(IDS_DEFAULT_TITLE)),
      m_strBackgroundTitle(LoadString(IDS_DEFAULT_TITLE)),
      m_lfTitleFont(DefaultTitleFont()),
      m_strUninstallerName(LoadString(IDS_DEFAULT_UNINSTALLER))
{
    ResetTexts();
}

void CData::ResetTexts()
{
    m_texts.assign(kTextGroupCount, {});
    m_descriptions.assign(kTextGroupCount, {});
    for (int group = 0; group < kTextGroupCount; ++group) {
        for (const TextTableEntry& entry : TextTableGroup(group)) {
            m_texts[static_cast<std::size_t>(group)].push_back(LoadString(entry.textId));
            m_descriptions[static_cast<std::size_t>(group)].push_back(LoadString(entry.descriptionId));
        }
    }
}

void CData::ExportTexts(const std::string& path) const { WriteFileReplacing(path, FormatTextsFile(m_texts)); }

void CData::ImportTexts(const std::string& path) { ParseTextsFile(ReadWholeFile(path), m_texts); }

}  // namespace sw
