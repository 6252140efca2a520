#include "model/TextFile.h"

#include <cstdio>

namespace sw {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsMarkerLine(std::string_view line)
{
    return line.size() >= 6 && line[0] == '*' && IsDigit(line[1]) && IsDigit(line[2]) && IsDigit(line[3]) &&
           IsDigit(line[4]) && line[5] == '*';
}

void DropTrailingLineFeeds(std::string& text)
{
    while (!text.empty() && text.back() == '\n') text.pop_back();
}

}  // namespace

std::string FormatTextsFile(const TextGroups& texts)
{
    std::string file;
    for (std::size_t g = 0; g < texts.size(); ++g) {
        for (std::size_t t = 0; t < texts[g].size(); ++t) {
            char marker[48];
            std::snprintf(marker, sizeof marker, "*%2.2zu%2.2zu*", g, t);
            file += marker;
            file += "\r\n";
            // Every line feed becomes a line end; a CR already in front of it belongs to it.
            std::string_view text = texts[g][t];
            std::size_t start = 0;
            for (;;) {
                std::size_t end = text.find('\n', start);
                std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                file += line;
                file += "\r\n";
                if (end == std::string_view::npos) break;
                start = end + 1;
            }
            file += "\r\n";
        }
    }
    return file;
}

void ParseTextsFile(std::string_view file, TextGroups& texts)
{
    std::string* current = nullptr;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        std::string_view line = file.substr(start, end == std::string_view::npos ? end : end - start);
        start = end == std::string_view::npos ? file.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (IsMarkerLine(line)) {
            if (current) DropTrailingLineFeeds(*current);
            current = nullptr;
            std::size_t group = static_cast<std::size_t>((line[1] - '0') * 10 + (line[2] - '0'));
            std::size_t index = static_cast<std::size_t>((line[3] - '0') * 10 + (line[4] - '0'));
            if (group < texts.size() && index < texts[group].size()) {
                current = &texts[group][index];
                current->clear();
            }
            continue;
        }
        if (current) {
            current->append(line);
            current->push_back('\n');
        }
    }
    if (current) DropTrailingLineFeeds(*current);
}

}  // namespace sw
