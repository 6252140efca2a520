// The settings file form of a project: the fields in a fixed order after a version
// value, with no header, class tags or trailer.
#include "model/Archive.h"
#include "model/Data.h"
#include "model/SettingsVersion.h"
#include "platform/StringTable.h"

namespace sw {

CIncorrectVersion::CIncorrectVersion(std::int32_t version)
    : std::runtime_error(LoadString(IDS_INCORRECT_VERSION)), m_nVersion(version)
{
}

namespace {

void StoreFont(CArchive& ar, const LogFont& font)
{
    std::string bytes = EncodeLogFont(font);
    ar.WriteBytes(bytes.data(), bytes.size());
}

LogFont LoadFont(CArchive& ar)
{
    LogFont font;
    for (std::int32_t* value : {&font.lfHeight, &font.lfWidth, &font.lfEscapement, &font.lfOrientation, &font.lfWeight})
        *value = ar.ReadInt();
    std::uint8_t bytes[8];
    ar.ReadBytes(bytes, sizeof bytes);
    font.lfItalic = bytes[0];
    font.lfUnderline = bytes[1];
    font.lfStrikeOut = bytes[2];
    font.lfCharSet = bytes[3];
    font.lfOutPrecision = bytes[4];
    font.lfClipPrecision = bytes[5];
    font.lfQuality = bytes[6];
    font.lfPitchAndFamily = bytes[7];
    ar.ReadBytes(font.lfFaceName, sizeof font.lfFaceName);
    return font;
}

// The fewest bytes one stored file record can take (the oldest form with no options).
constexpr std::size_t kMinFileRecordSize = 1 + 4 + 4 + 4 + 1 + 1 + 1 + 4;
// A stored text group is at least its two-byte count.
constexpr std::size_t kMinTextGroupSize = 2;

}  // namespace

void CData::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        // Read into a copy so that a file that turns out to be bad leaves the project as it was.
        CData loaded(*this);
        loaded.LoadFrom(ar);
        *this = std::move(loaded);
    } else {
        Store(ar);
    }
}

void CData::Store(CArchive& ar) const
{
    ar.WriteInt(kSettingsVersionCurrent);
    ar.WriteString(m_strSourceDir);
    ar.WriteInt(m_bIncludeSubdirs);
    ar.WriteCount(m_files.size());
    for (const CFileItem& item : m_files) item.Store(ar);
    ar.WriteString(m_strTitle);
    ar.WriteCount(m_texts.size());
    for (const auto& group : m_texts) ar.WriteStringArray(group);
    ar.WriteString(m_strUninstallerName);
    ar.WriteString(m_strUninstallIconFolder);
    ar.WriteString(m_strUninstallIconName);
    ar.WriteStringArray(m_regKeysToRemove);
    ar.WriteString(m_strWizardBitmap);
    ar.WriteString(m_strBackgroundBitmap);
    ar.WriteString(m_strBackgroundTitle);
    ar.WriteString(m_strAttachedFile);
    ar.WriteInt(m_nWindowMode);
    StoreFont(ar, m_lfTitleFont);
    ar.WriteInt(m_nDirFlags);
    ar.WriteString(m_strDefaultDir);
    ar.WriteInt(m_nRegRoot);
    ar.WriteString(m_strRegKey);
    ar.WriteString(m_strRegValue);
    ar.WriteString(m_strIniFile);
    ar.WriteString(m_strIniSection);
    ar.WriteString(m_strIniEntry);
    ar.WriteString(m_strOutputFile);
    ar.WriteInt(m_nPlatform);
}

void CData::LoadFrom(CArchive& ar)
{
    std::int32_t version = ar.ReadInt();
    if (version < kSettingsVersionFirst || version > kSettingsVersionCurrent) throw CIncorrectVersion(version);

    m_strSourceDir = ar.ReadString();
    m_bIncludeSubdirs = ar.ReadInt();

    m_files.clear();
    std::size_t fileCount = ar.ReadCount(kMinFileRecordSize);
    for (std::size_t i = 0; i < fileCount; ++i) {
        CFileItem item;  // defaults without the .dll/.ocx rule: older forms keep them
        item.Serialize(ar);
        m_files.push_back(std::move(item));
    }

    m_strTitle = ar.ReadString();

    ResetTexts();
    TextGroups stored;
    std::size_t groupCount = ar.ReadCount(kMinTextGroupSize);
    for (std::size_t g = 0; g < groupCount; ++g) stored.push_back(ar.ReadStringArray());
    for (std::size_t g = 0; g < stored.size() && g < m_texts.size(); ++g)
        for (std::size_t t = 0; t < stored[g].size() && t < m_texts[g].size(); ++t)
            m_texts[g][t] = std::move(stored[g][t]);

    m_strUninstallerName = ar.ReadString();
    m_strUninstallIconFolder = ar.ReadString();
    m_strUninstallIconName = ar.ReadString();
    m_regKeysToRemove = ar.ReadStringArray();

    m_strWizardBitmap = ar.ReadString();
    m_strBackgroundBitmap = ar.ReadString();
    m_strBackgroundTitle = ar.ReadString();
    m_strAttachedFile = ar.ReadString();
    m_nWindowMode = ar.ReadInt();
    if (version >= kSettingsVersionCurrent) {
        m_lfTitleFont = LoadFont(ar);
        m_nDirFlags = ar.ReadInt();
    } else {
        m_nDirFlags = ar.ReadInt() != 0 ? DIR_USER_CAN_CHANGE : 0;
    }

    m_strDefaultDir = ar.ReadString();
    if (version >= kSettingsVersionNoFont) {
        m_nRegRoot = ar.ReadInt();
        m_strRegKey = ar.ReadString();
        m_strRegValue = ar.ReadString();
        m_strIniFile = ar.ReadString();
        m_strIniSection = ar.ReadString();
        m_strIniEntry = ar.ReadString();
    }

    m_strOutputFile = ar.ReadString();
    m_nPlatform = ar.ReadInt();
    m_bBuildPending = 0;
}

}  // namespace sw
