#pragma once
// The installer's wizard texts: nine groups addressed by (group, index), their defaults
// and descriptions from the string table, the "#title" macro and the one-line form in
// which the pages show a text.
#include <span>
#include <string>
#include <string_view>

namespace sw {

inline constexpr int kTextGroupCount = 9;

struct TextTableEntry {
    int textId;         // string number of the default text
    int descriptionId;  // string number of its description
};

// The pairs of one group, in index order; empty for a group outside 0..8.
std::span<const TextTableEntry> TextTableGroup(int group);

// The default text of (group, index), loaded afresh; empty outside the table.
std::string GetDefaultText(int group, int index);

// Puts the title in place of "#title", and of "#Title" with its first letter upper-cased.
// A title that itself holds a macro leaves the text as it is.
std::string ReplaceTitleMacro(std::string_view text, std::string_view title);

// Line feeds as the two characters \n, carriage returns dropped.
std::string EscapeLineBreaks(std::string_view text);
// Every \n back to a line feed.
std::string UnescapeLineBreaks(std::string_view text);

// The folder of the per-language text files, ending with '/'.
std::string GetTemplateDir();

}  // namespace sw
