#pragma once
// The file option pages without their windows: what each page shows for the selected
// rows and what a click or an edit writes into the file items.
#include <array>
#include <string>
#include <vector>

#include "model/FileList.h"
#include "pages/FilesPageRules.h"

namespace sw {

// Start menu page. The folder is shared by a selection; name, options and icon number
// belong to a single file.
struct StartMenuFields {
    bool folderEnabled = false;
    bool singleEnabled = false;
    std::string folder, name, args, iconNumber;
};
StartMenuFields FillStartMenuPage(const CFileList& files, const std::vector<int>& selected);

// Stores the folder in every selected item that has another one (case counts); returns
// the items that changed.
std::vector<int> SetIconFolder(CFileList& files, const std::vector<int>& selected, const std::string& folder);

// Which text of a single file an edit writes.
enum class FileText { iconName, iconArgs, iconNumber, shortcutName, shortcutArgs };
// Only with exactly one selected row; returns true when the item changed. The icon
// number reads as a signed decimal number, anything unreadable as 0.
bool SetSingleFileText(CFileList& files, const std::vector<int>& selected, FileText field, const std::string& text);
int ParseIconNumber(const std::string& text);

// The folder macros of the ">" menu.
enum class FolderMacro { startMenuRoot, startup };
std::string AppendFolderMacro(const std::string& folder, FolderMacro macro);

// Shortcut page: both fields belong to a single file.
struct ShortcutFields {
    bool enabled = false;
    std::string name, args;
};
ShortcutFields FillShortcutPage(const CFileList& files, const std::vector<int>& selected);

// View / Run page.
struct EndPageBoxes {
    bool enabled = false;
    bool view = false;
    bool run = false;
};
EndPageBoxes FillEndPagePage(const CFileList& files, const std::vector<int>& selected);
// The box of `action` (1 View, 2 Run) of the single selected item is now `checked`. A file
// is the View or Run file of the project alone: the action is taken from every other
// file. Returns the items whose options changed.
std::vector<int> ClickEndPageBox(CFileList& files, const std::vector<int>& selected, int action, bool checked);

// Advanced page: eight boxes in three groups in which at most one is checked.
enum AdvancedBox : int {
    BOX_WINDOWS,
    BOX_SYSTEM,
    BOX_FONTS,
    BOX_USAGE_COUNT,
    BOX_NO_UNINSTALL,
    BOX_NO_INSTALL,
    BOX_SCREEN_SAVER,
    BOX_REGISTER_OCX,
    BOX_COUNT
};
struct AdvancedBoxes {
    std::array<bool, BOX_COUNT> checked{};
    std::array<bool, BOX_COUNT> enabled{};
};
AdvancedBoxes FillAdvancedPage(const OptionSummary& summary, bool hasSelection);

// The option that a click on `box` writes, with the box's new state already in `boxes`;
// the other boxes of its group are updated.
struct OptionWrite {
    int option;
    int value;
};
OptionWrite ClickAdvancedBox(AdvancedBoxes& boxes, AdvancedBox box);

}  // namespace sw
