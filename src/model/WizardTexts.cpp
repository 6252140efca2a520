#include "model/WizardTexts.h"

#include "platform/StringTable.h"
#include "platform/Files.h"

namespace sw {

namespace {

constexpr TextTableEntry kPresentation[] = {
    {1023, 1033}, {1010, 1034}, {1013, 1035}, {1014, 1036}, {1015, 1037},
};
constexpr TextTableEntry kInformation[] = {
    {2007, 1033}, {1021, 2009},
};
constexpr TextTableEntry kDirectory[] = {
    {1024, 1033}, {1016, 1034}, {1021, 1035}, {1021, 1036},
    {1002, 1037}, {1171, 1172}, {1173, 1174}, {1175, 1176},
};
constexpr TextTableEntry kConfirmation[] = {
    {1025, 1033}, {1021, 1034}, {1017, 1035}, {1021, 1036}, {1018, 1037},
};
constexpr TextTableEntry kProgress[] = {
    {1026, 1033}, {1020, 1034}, {1021, 1035},
};
constexpr TextTableEntry kEnd[] = {
    {1027, 1033}, {1011, 1132}, {1021, 1160}, {1021, 1161},
    {1012, 1133}, {1162, 1163}, {1164, 1165}, {1067, 1068},
};
constexpr TextTableEntry kMiscellaneous[] = {
    {1022, 1038}, {1055, 1059}, {1056, 1060}, {1057, 1061}, {1051, 1052}, {1050, 1113}, {1110, 1114},
    {1105, 1116}, {1053, 1117}, {1104, 1120}, {1111, 1121}, {1108, 1122}, {1031, 1123}, {1029, 1039},
    {1032, 1040}, {1030, 1041}, {1071, 1124}, {1072, 1125}, {1092, 1126}, {1093, 1127}, {1094, 1128},
    {1103, 1129}, {1073, 1100}, {1096, 1112}, {1097, 1112}, {1098, 1112}, {1099, 1112}, {1101, 1112},
    {2014, 2016}, {1177, 1178}, {1179, 1180}, {1187, 1188},
};
constexpr TextTableEntry kButtons[] = {
    {1000, 1043}, {1001, 1044}, {1003, 1045}, {1004, 1047}, {1006, 1058}, {1005, 1046}, {1062, 1063},
};
constexpr TextTableEntry kUninstaller[] = {
    {1134, 1135}, {1136, 1137}, {1138, 1139}, {1140, 1144}, {1141, 1144}, {1142, 1144},
    {1143, 1144}, {1031, 1123}, {1145, 1146}, {1147, 1148}, {1169, 1170},
};

constexpr std::span<const TextTableEntry> kGroups[kTextGroupCount] = {
    kPresentation, kInformation, kDirectory, kConfirmation, kProgress,
    kEnd,          kMiscellaneous, kButtons, kUninstaller,
};

// Replaces every occurrence of the macro in one pass from left to right. Text that the
// title brings in is never searched again, so no title can make the replacement loop.
std::string ReplaceEach(std::string text, std::string_view macro, std::string_view title, bool capitalise)
{
    std::size_t pos = 0;
    while ((pos = text.find(macro, pos)) != std::string::npos) {
        text.replace(pos, macro.size(), title);
        if (capitalise && pos < text.size() && text[pos] >= 'a' && text[pos] <= 'z')
            text[pos] = static_cast<char>(text[pos] - 'a' + 'A');
        pos += title.size();
    }
    return text;
}

}  // namespace

std::span<const TextTableEntry> TextTableGroup(int group)
{
    if (group < 0 || group >= kTextGroupCount) return {};
    return kGroups[group];
}

std::string GetDefaultText(int group, int index)
{
    std::span<const TextTableEntry> entries = TextTableGroup(group);
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    return LoadString(entries[static_cast<std::size_t>(index)].textId);
}

std::string ReplaceTitleMacro(std::string_view text, std::string_view title)
{
    if (title.find("#title") != std::string_view::npos || title.find("#Title") != std::string_view::npos)
        return std::string(text);
    std::string result = ReplaceEach(std::string(text), "#title", title, false);
    return ReplaceEach(std::move(result), "#Title", title, true);
}

std::string EscapeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

std::string UnescapeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string GetTemplateDir()
{
    // Beside the program when run from the build tree; in the shared data folder of the
    // installation prefix when installed (bin/../share/setwright/Templ/).
    std::string programDir = ExecutableDir();
    std::string besideProgram = programDir + "Templ/";
    if (IsDirectory(besideProgram)) return besideProgram;
    return programDir + "../share/setwright/Templ/";
}

}  // namespace sw
