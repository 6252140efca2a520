#pragma once
// The project: everything a build needs, edited in place by the pages and stored as a
// settings file.
#include <cstdint>
#include <string>
#include <vector>

#include "model/FileList.h"
#include "model/LogFont.h"

namespace sw {

class CArchive;

using TextGroups = std::vector<std::vector<std::string>>;

// Bits of CData::m_nDirFlags.
enum DirFlag : std::int32_t {
    DIR_USER_CAN_CHANGE = 0x2,  // the installing user may change the directory
    DIR_WRITE_REGISTRY = 0x4,   // write the chosen directory back to the registry value
    DIR_WRITE_INI = 0x8,        // write it back to the .ini entry
};

class CData {
public:
    CData();
    // Copies take every field, the transient ones included; the file list is rebuilt
    // item by item, so duplicate names collapse.
    CData(const CData& other) = default;
    CData& operator=(const CData& other) = default;
    CData(CData&&) noexcept = default;
    CData& operator=(CData&&) noexcept = default;
    virtual ~CData() = default;

    // Every text and description back to the built-in defaults.
    void ResetTexts();

    // Stores or loads the settings file form. Loading refills this project: fields an
    // older file lacks keep their current values.
    virtual void Serialize(CArchive& ar);

    // Writes all texts to a text file, or reads texts from one (texts the file does not
    // name keep their values). Both throw CFileError.
    void ExportTexts(const std::string& path) const;
    void ImportTexts(const std::string& path);

    bool operator==(const CData&) const = default;

    std::string m_strSourceDir;
    std::int32_t m_bIncludeSubdirs = 1;
    CFileList m_files;
    std::string m_strTitle;
    TextGroups m_texts;
    TextGroups m_descriptions;  // never stored; rebuilt from the string table
    std::string m_strWizardBitmap;
    std::string m_strBackgroundBitmap;
    std::string m_strAttachedFile;
    std::string m_strBackgroundTitle;
    std::int32_t m_nWindowMode = 1;
    std::int32_t m_nDirFlags = DIR_USER_CAN_CHANGE;
    LogFont m_lfTitleFont;
    std::string m_strUninstallerName;
    std::string m_strUninstallIconFolder;
    std::string m_strUninstallIconName;
    std::vector<std::string> m_regKeysToRemove;
    std::string m_strDefaultDir;
    std::int32_t m_nRegRoot = 0;
    std::string m_strRegKey;
    std::string m_strRegValue;
    std::string m_strIniFile;
    std::string m_strIniSection;
    std::string m_strIniEntry;
    std::string m_strOutputFile;
    std::int32_t m_nPlatform = 1;

    // Hand-over fields between the new-project wizard, start-up and the pages; never stored.
    std::int32_t m_bApplyWizardResults = 0;
    std::int32_t m_bBuildPending = 0;
    std::string m_strWizIconFile;
    std::string m_strWizIconName;
    std::int32_t m_bWizDesktopShortcut = 0;
    std::string m_strWizViewFile;
    std::string m_strWizRunFile;
    std::int32_t m_bCommandLineBuild = 0;

    void Store(CArchive& ar) const;

private:
    void LoadFrom(CArchive& ar);
};

// The font of a new project's background title: Arial, 50, black weight, italic.
LogFont DefaultTitleFont();

}  // namespace sw
