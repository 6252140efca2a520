#pragma once
// The wizard text lists of the Wizard Texts and Uninstaller pages without their windows:
// the one-line form a row shows, what an in-place edit stores, Default, the usage text.
#include <string>
#include <string_view>
#include <vector>

#include "model/Data.h"

namespace sw {

// The groups the Wizard Texts page lists (the uninstaller's group is not among them).
inline constexpr int kWizardPageGroupCount = 8;
inline constexpr int kInformationGroup = 1;
inline constexpr int kInformationTextRow = 1;
inline constexpr int kUninstallerTextGroup = 8;

// The combo's name of a group of the Wizard Texts page.
std::string TextGroupName(int group);

// The groups that have a wizard page the test program can start on.
bool HasPreview(int group);

// The long information text is too long for a row: it is edited in the multi-line dialog.
bool IsEditedInDialog(int group, int row);

// A text as its row shows it: line feeds as \n, carriage returns dropped, "<None>" when
// nothing but blanks is left.
std::string TextRowLabel(std::string_view text);

// What an in-place edit that ended with `typed` shows in its row and stores: blanks only
// and "<None>" (in any letter case) store an empty text; \n stores a line feed.
struct TextEditResult {
    std::string label;
    std::string stored;
};
TextEditResult EndTextEdit(const std::string& typed);

// Text `row` of the group; empty when the project has no such text.
std::string TextOf(const CData& data, int group, int row);

// Writes text `row` of the group; false when the project has no such text.
bool StoreText(CData& data, int group, int row, const std::string& text);

// Gives each of the rows its default text; returns their new labels, in the rows' order
// (rows the group does not have are skipped).
struct RowLabel {
    int row;
    std::string label;
};
std::vector<RowLabel> ResetTextsToDefault(CData& data, int group, const std::vector<int>& rows);

// The description of the first selected row, empty without a selection or a description.
std::string UsageText(const CData& data, int group, int firstSelectedRow);

// The row labels of a whole group, in text order.
std::vector<std::string> GroupRowLabels(const CData& data, int group);

}  // namespace sw
