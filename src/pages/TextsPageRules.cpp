#include "pages/TextsPageRules.h"

#include <type_traits>

#include "model/FileItem.h"
#include "model/WizardTexts.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// The text (group, row) of the project, or null when it has none.
template <typename Groups>
auto* TextAt(Groups& groups, int group, int row)
{
    using Text = std::remove_reference_t<decltype(groups[0][0])>;
    if (group < 0 || row < 0 || static_cast<std::size_t>(group) >= groups.size()) return static_cast<Text*>(nullptr);
    auto& texts = groups[static_cast<std::size_t>(group)];
    if (static_cast<std::size_t>(row) >= texts.size()) return static_cast<Text*>(nullptr);
    return &texts[static_cast<std::size_t>(row)];
}

}  // namespace

std::string TextGroupName(int group)
{
    if (group < 0 || group >= kWizardPageGroupCount) return {};
    return LoadString(IDS_GROUP_PRESENTATION + group);
}

bool HasPreview(int group) { return group >= 0 && group <= 5; }

bool IsEditedInDialog(int group, int row) { return group == kInformationGroup && row == kInformationTextRow; }

std::string TextRowLabel(std::string_view text)
{
    std::string label = EscapeLineBreaks(text);
    return IsBlank(label) ? LoadString(IDS_NONE) : label;
}

TextEditResult EndTextEdit(const std::string& typed)
{
    std::string label = IsBlank(typed) ? LoadString(IDS_NONE) : typed;
    std::string stored = SameFileName(label, LoadString(IDS_NONE)) ? std::string() : UnescapeLineBreaks(label);
    return {label, stored};
}

std::string TextOf(const CData& data, int group, int row)
{
    const std::string* text = TextAt(data.m_texts, group, row);
    return text ? *text : std::string();
}

bool StoreText(CData& data, int group, int row, const std::string& text)
{
    std::string* slot = TextAt(data.m_texts, group, row);
    if (!slot) return false;
    *slot = text;
    return true;
}

std::vector<RowLabel> ResetTextsToDefault(CData& data, int group, const std::vector<int>& rows)
{
    std::vector<RowLabel> labels;
    for (int row : rows) {
        std::string* slot = TextAt(data.m_texts, group, row);
        if (!slot) continue;
        *slot = GetDefaultText(group, row);
        labels.push_back({row, TextRowLabel(*slot)});
    }
    return labels;
}

std::string UsageText(const CData& data, int group, int firstSelectedRow)
{
    const std::string* description = TextAt(data.m_descriptions, group, firstSelectedRow);
    return description ? *description : std::string();
}

std::vector<std::string> GroupRowLabels(const CData& data, int group)
{
    std::vector<std::string> labels;
    if (group < 0 || static_cast<std::size_t>(group) >= data.m_texts.size()) return labels;
    for (const std::string& text : data.m_texts[static_cast<std::size_t>(group)]) labels.push_back(TextRowLabel(text));
    return labels;
}

}  // namespace sw
