#pragma once
// The Wizard Options page without its window: which edits are written on focus loss and
// how, the ".ini" rule, the directory flags behind the check boxes, the directory macros
// and the title font's description.
#include <cstdint>
#include <string>

#include "model/Data.h"

namespace sw {

// The installer window's background, its title and that title's font only show in the
// full-screen mode.
bool BackgroundControlsEnabled(int windowMode);

// The texts of the nine edits that are written together when one of them loses the focus.
struct OptionEdits {
    std::string wizardBitmap, backgroundBitmap, backgroundTitle, defaultDir;
    std::string regKey, regValue;
    std::string iniFile, iniSection, iniEntry;
};
OptionEdits OptionEditsOf(const CData& data);

// Writes every edit that changed: the two bitmap paths and the default directory ignoring
// letter case (file names), the others exactly. A new .ini file name without a dot
// gets ".ini", which the edit then shows (edits.iniFile). True when it wrote anything.
bool StoreOptionEdits(CData& data, OptionEdits& edits);

// A file name as the installer looks it up: ".ini" appended when it has no dot.
std::string WithIniExtension(const std::string& fileName);

// The check boxes of the page and the flag bits behind them; other bits stay as they are.
enum class DirFlagBox { readOnly, updateKey, updateEntry };
std::int32_t ApplyDirFlagBox(std::int32_t flags, DirFlagBox box, bool checked);
bool IsDirFlagBoxChecked(std::int32_t flags, DirFlagBox box);

// The ">" menu's macros, appended to the default directory as typed.
enum class DirMacro { windows, system, programFiles };
std::string AppendDirMacro(const std::string& directory, DirMacro macro);
// Stores the edit's text with the macro when that differs from the field ignoring case;
// true when it wrote (the edit then shows m_strDefaultDir).
bool StoreDirMacro(CData& data, const std::string& editText, DirMacro macro);

// The font dialog's side of the title font: what it opens on, and the stored description
// after a choice. The description keeps the sign convention of its height (negative:
// character height, positive: cell height) and the members the dialog does not show.
struct FontChoice {
    std::string faceName;
    int pixelHeight = 0;
    int weight = 400;
    bool italic = false;
};
FontChoice FontChoiceOf(const LogFont& font);
LogFont ApplyFontChoice(const LogFont& font, const FontChoice& choice);
std::string FaceNameOf(const LogFont& font);

}  // namespace sw
