#include "pages/FileOptionRules.h"

#include <strings.h>

#include <cstdlib>

namespace sw {

namespace {

CFileItem& Item(CFileList& files, int index) { return files[static_cast<std::size_t>(index)]; }
const CFileItem& Item(const CFileList& files, int index) { return files[static_cast<std::size_t>(index)]; }

std::string* TextOf(CFileItem& item, FileText field)
{
    switch (field) {
    case FileText::iconName: return &item.m_strIconName;
    case FileText::iconArgs: return &item.m_strIconArgs;
    case FileText::shortcutName: return &item.m_strShortcutName;
    case FileText::shortcutArgs: return &item.m_strShortcutArgs;
    case FileText::iconNumber: break;
    }
    return nullptr;
}

// The other box of a pair that is cleared when `box` is checked, and the values of the
// option for: box checked, only the other checked, none checked.
struct PairRule {
    AdvancedBox box, other;
    int option;
    int whenChecked, whenOtherChecked, whenNone;
};
constexpr PairRule kPairRules[] = {
    {BOX_NO_UNINSTALL, BOX_NO_INSTALL, OPT_INSTALL_MODE, 0, 2, 1},
    {BOX_NO_INSTALL, BOX_NO_UNINSTALL, OPT_INSTALL_MODE, 2, 0, 1},
    {BOX_SCREEN_SAVER, BOX_REGISTER_OCX, OPT_SPECIAL, 1, 2, 0},
    {BOX_REGISTER_OCX, BOX_SCREEN_SAVER, OPT_SPECIAL, 2, 1, 0},
};

}  // namespace

StartMenuFields FillStartMenuPage(const CFileList& files, const std::vector<int>& selected)
{
    StartMenuFields fields;
    if (selected.empty()) return fields;
    fields.folderEnabled = true;
    fields.folder = Item(files, selected.front()).m_strIconFolder;
    for (int index : selected)
        if (::strcasecmp(Item(files, index).m_strIconFolder.c_str(), fields.folder.c_str()) != 0) fields.folder.clear();
    if (selected.size() == 1) {
        const CFileItem& item = Item(files, selected.front());
        fields.singleEnabled = true;
        fields.name = item.m_strIconName;
        fields.args = item.m_strIconArgs;
        fields.iconNumber = std::to_string(item.m_nIconIndex);
    }
    return fields;
}

std::vector<int> SetIconFolder(CFileList& files, const std::vector<int>& selected, const std::string& folder)
{
    std::vector<int> changed;
    for (int index : selected) {
        if (Item(files, index).m_strIconFolder == folder) continue;
        Item(files, index).m_strIconFolder = folder;
        changed.push_back(index);
    }
    return changed;
}

int ParseIconNumber(const std::string& text) { return std::atoi(text.c_str()); }

bool SetSingleFileText(CFileList& files, const std::vector<int>& selected, FileText field, const std::string& text)
{
    if (selected.size() != 1) return false;
    CFileItem& item = Item(files, selected.front());
    if (field == FileText::iconNumber) {
        int number = ParseIconNumber(text);
        if (item.m_nIconIndex == number) return false;
        item.m_nIconIndex = number;
        return true;
    }
    std::string* target = TextOf(item, field);
    if (*target == text) return false;
    *target = text;
    return true;
}

std::string AppendFolderMacro(const std::string& folder, FolderMacro macro)
{
    return folder + (macro == FolderMacro::startMenuRoot ? "#Start Menu#" : "#Startup#");
}

ShortcutFields FillShortcutPage(const CFileList& files, const std::vector<int>& selected)
{
    ShortcutFields fields;
    if (selected.size() != 1) return fields;
    fields.enabled = true;
    fields.name = Item(files, selected.front()).m_strShortcutName;
    fields.args = Item(files, selected.front()).m_strShortcutArgs;
    return fields;
}

EndPageBoxes FillEndPagePage(const CFileList& files, const std::vector<int>& selected)
{
    EndPageBoxes boxes;
    if (selected.size() != 1) return boxes;
    int action = Item(files, selected.front()).GetOption(OPT_END_PAGE);
    return {true, action == 1, action == 2};
}

std::vector<int> ClickEndPageBox(CFileList& files, const std::vector<int>& selected, int action, bool checked)
{
    std::vector<int> changed;
    if (selected.size() != 1) return changed;
    int chosen = selected.front();
    if (checked) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            int index = static_cast<int>(i);
            if (index == chosen || files[i].GetOption(OPT_END_PAGE) != action) continue;
            files[i].SetOption(OPT_END_PAGE, 0);
            changed.push_back(index);
        }
    }
    Item(files, chosen).SetOption(OPT_END_PAGE, checked ? action : 0);
    changed.push_back(chosen);
    return changed;
}

AdvancedBoxes FillAdvancedPage(const OptionSummary& summary, bool hasSelection)
{
    AdvancedBoxes boxes;
    if (!hasSelection) return boxes;
    boxes.enabled.fill(true);
    int target = summary.common[OPT_TARGET_DIR];
    boxes.checked[BOX_WINDOWS] = target == 1;
    boxes.checked[BOX_SYSTEM] = target == 2;
    boxes.checked[BOX_FONTS] = target == 3;
    boxes.enabled[BOX_USAGE_COUNT] = summary.enabled[OPT_USAGE_COUNT];
    boxes.checked[BOX_USAGE_COUNT] = boxes.enabled[BOX_USAGE_COUNT] && summary.common[OPT_USAGE_COUNT] == 1;
    boxes.checked[BOX_NO_UNINSTALL] = summary.common[OPT_INSTALL_MODE] == 0;
    boxes.checked[BOX_NO_INSTALL] = summary.common[OPT_INSTALL_MODE] == 2;
    boxes.checked[BOX_SCREEN_SAVER] = summary.common[OPT_SPECIAL] == 1;
    boxes.checked[BOX_REGISTER_OCX] = summary.common[OPT_SPECIAL] == 2;
    return boxes;
}

OptionWrite ClickAdvancedBox(AdvancedBoxes& boxes, AdvancedBox box)
{
    auto& checked = boxes.checked;
    if (box == BOX_USAGE_COUNT) return {OPT_USAGE_COUNT, checked[BOX_USAGE_COUNT] ? 1 : 0};
    if (box <= BOX_FONTS) {
        if (checked[box]) {
            for (int other = BOX_WINDOWS; other <= BOX_FONTS; ++other)
                if (other != box) checked[static_cast<std::size_t>(other)] = false;
            return {OPT_TARGET_DIR, box - BOX_WINDOWS + 1};
        }
        for (int other = BOX_WINDOWS; other <= BOX_FONTS; ++other)
            if (checked[static_cast<std::size_t>(other)]) return {OPT_TARGET_DIR, other - BOX_WINDOWS + 1};
        return {OPT_TARGET_DIR, 0};
    }
    for (const PairRule& rule : kPairRules) {
        if (rule.box != box) continue;
        if (checked[rule.box]) {
            checked[rule.other] = false;
            return {rule.option, rule.whenChecked};
        }
        return {rule.option, checked[rule.other] ? rule.whenOtherChecked : rule.whenNone};
    }
    return {OPT_TARGET_DIR, -1};
}

}  // namespace sw
