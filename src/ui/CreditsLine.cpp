#include "ui/CreditsLine.h"

#include <cstddef>

namespace sw {

namespace {
constexpr int kBoldWeight = 700;
constexpr int kThinWeight = 100;
constexpr int kNormalWeight = 400;
}  // namespace

std::vector<std::string> SplitCreditsText(const std::string& text, char separator)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

CreditsLine ParseCreditsLine(const std::string& line, const CreditsLook& look)
{
    CreditsLine parsed{CreditsStyle::Body, line, line};
    if (line.empty()) return parsed;
    const CreditsStyle marked[] = {CreditsStyle::Title, CreditsStyle::Subtitle, CreditsStyle::Heading, CreditsStyle::Picture};
    for (std::size_t i = 0; i < look.markers.size(); ++i) {
        if (line.back() != look.markers[i]) continue;
        parsed.style = marked[i];
        parsed.text.pop_back();
        break;
    }
    return parsed;
}

CreditsFont FontOf(CreditsStyle style, const CreditsLook& look)
{
    switch (style) {
    case CreditsStyle::Title: return {look.heights[0], kBoldWeight, look.colours[1]};
    case CreditsStyle::Subtitle: return {look.heights[1], kThinWeight, look.colours[1]};
    case CreditsStyle::Heading: return {look.heights[2], kNormalWeight, look.colours[2]};
    default: return {look.heights[3], kThinWeight, look.colours[3]};
    }
}

bool HasOwnFont(CreditsStyle style) { return style != CreditsStyle::Picture && style != CreditsStyle::Fallback; }

}  // namespace sw
