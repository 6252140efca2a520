#include "app/ShellRules.h"

#include <cstdio>

#include "platform/StringTable.h"

namespace sw {

namespace {

std::string Trimmed(std::string text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
}

struct HelpTopic {
    int dialog;
    const char* page;
};
constexpr HelpTopic kHelpTopics[] = {
    {131, "sw/o_assistant.htm"},  {147, "sw/o_assistant.htm"},   {154, "sw/o_assistant.htm"},
    {155, "sw/o_assistant.htm"},  {132, "sw/o_textes.htm"},      {136, "sw/o_construction.htm"},
    {142, "sw/assistant01.htm"},  {143, "sw/assistant02.htm"},   {144, "sw/assistant03.htm"},
    {10000, "sw/assistant04.htm"}, {167, "sw/assistant05.htm"},  {145, "sw/assistant06.htm"},
    {146, "sw/assistant07.htm"},  {150, "sw/assistant08.htm"},   {10003, "sw/assistant09.htm"},
    {9999, "sw/assistant10.htm"}, {152, "sw/assistant11.htm"},   {153, "sw/preferences.htm"},
    {170, "sw/preferences.htm"},  {171, "sw/preferences.htm"},   {160, "sw/o_fichiers.htm"},
    {164, "sw/o_optionsfichiers.htm"}, {168, "sw/o_optionsfichiers.htm"}, {10001, "sw/o_optionsfichiers.htm"},
    {10002, "sw/o_optionsfichiers.htm"}, {169, "sw/o_uninstall.htm"},
};
constexpr const char* kIndexPage = "index.htm";

}  // namespace

AppCommandLine ParseAppCommandLine(const std::vector<std::string>& args)
{
    AppCommandLine line;
    for (const std::string& arg : args) {
        bool flag = arg.size() >= 2 && (arg[0] == '-' || (arg[0] == '/' && arg.find('/', 1) == std::string::npos));
        if (flag) {
            if (arg[1] == 'B' || arg[1] == 'b') line.build = true;
            continue;
        }
        std::string file = Trimmed(arg);
        if (!file.empty()) line.file = file;
    }
    return line;
}

std::optional<FrameRect> ParseFramePlacement(const std::string& text)
{
    FrameRect rect{};
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d", &rect.left, &rect.top, &rect.width, &rect.height) != 4) return std::nullopt;
    return rect;
}

std::string FormatFramePlacement(const FrameRect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.width) + "," +
           std::to_string(rect.height);
}

bool FitsScreen(const FrameRect& rect, int screenWidth, int screenHeight)
{
    return rect.left < screenWidth && rect.top < screenHeight && rect.left + rect.width <= screenWidth &&
           rect.top + rect.height <= screenHeight;
}

std::string MakeFrameTitle(const std::string& windowTitle, const std::string& docTitle, bool modified)
{
    std::string title = windowTitle;
    if (!docTitle.empty()) title += " - " + docTitle;
    if (modified) title += "*";
    return title;
}

std::string DocTemplatePart(int index)
{
    std::string all = LoadString(IDS_DOC_TEMPLATE);
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = all.find('\n', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return all.substr(start, all.find('\n', start) - start);
}

std::string HelpPageForContext(std::uint32_t context, bool isContextRequest)
{
    if (!isContextRequest) return kIndexPage;
    int dialog = static_cast<int>(context & 0xFFFF);
    for (const HelpTopic& topic : kHelpTopics)
        if (topic.dialog == dialog) return topic.page;
    return kIndexPage;
}

std::vector<std::string> AllHelpPages()
{
    std::vector<std::string> pages{kIndexPage};
    for (const HelpTopic& topic : kHelpTopics) {
        bool known = false;
        for (const std::string& page : pages) known = known || page == topic.page;
        if (!known) pages.emplace_back(topic.page);
    }
    return pages;
}

}  // namespace sw
