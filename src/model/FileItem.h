#pragma once
// One file of the project: its name relative to the source directory and its options.
#include <array>
#include <cstdint>
#include <string>

#include "core/InstallName.h"

namespace sw {

class CArchive;

// Option slots of CFileItem::m_nOptions.
enum FileOption : int {
    OPT_TARGET_DIR = 0,    // 0 installation directory, 1 Windows, 2 System, 3 Fonts
    OPT_END_PAGE = 1,      // 0 nothing, 1 View button, 2 Run check box on the end page
    OPT_USAGE_COUNT = 2,   // 1 = increment the shared-file usage count (only outside the installation directory)
    OPT_INSTALL_MODE = 3,  // 1 install and uninstall, 0 do not uninstall, 2 do not install
    OPT_SPECIAL = 4,       // 0 nothing, 1 screen saver, 2 register as OCX control
    OPT_COUNT = 5
};

class CFileItem {
public:
    CFileItem() = default;
    // A new file of the project: .dll and .ocx files count their shared usage by default.
    explicit CFileItem(std::string name);

    // Slots outside 0..4 read as 0 and ignore writes.
    int GetOption(int index) const;
    void SetOption(int index, int value);

    // The seven-character summary shown in the file list, e.g. ".s.w.x." .
    std::string GetOptionsCode() const;

    // What the installer would refuse in the name (core/InstallName.h): absolute, climbing
    // out of its folder, or one Windows cannot create as written. Such a file is kept in
    // the project as loaded, but never built into an installation program.
    NameProblem GetNameProblem() const;
    bool HasUnsafeName() const;

    void Serialize(CArchive& ar);
    void Store(CArchive& ar) const;

    bool operator==(const CFileItem&) const = default;

    std::string m_strName;
    std::array<std::int32_t, OPT_COUNT> m_nOptions{0, 0, 0, 1, 0};
    std::string m_strIconFolder;
    std::string m_strIconName;
    std::string m_strIconArgs;
    std::int32_t m_nIconIndex = 0;
    std::string m_strShortcutName;
    std::string m_strShortcutArgs;
};

// Equal names ignore case, as Windows file names do (bytes of non-ASCII UTF-8 compare exactly).
bool SameFileName(std::string_view a, std::string_view b);
// The name with ASCII letters lowered: equal for exactly the names SameFileName calls equal.
std::string FoldFileName(std::string_view name);

}  // namespace sw
