#pragma once
// The lines of the credits panel: a text split at a separator, each line styled by the
// marker character at its end (the marker itself is never drawn).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sw {

enum class CreditsStyle {
    Title,
    Subtitle,
    Heading,
    Picture,
    Body,
    // A picture that could not be loaded: the whole line, marker included, as plain text.
    Fallback,
};

// A colour as 0x00BBGGRR, the way the settings of the panel give it.
using CreditsColour = std::uint32_t;

struct CreditsLook {
    // 0 background; 1 title and subtitle text; 2 heading text; 3 body text; 4 unused.
    std::array<CreditsColour, 5> colours{0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    // Font heights of title, subtitle, heading and body lines.
    std::array<int, 4> heights{32, 22, 18, 14};
    // Title, subtitle, heading and picture markers.
    std::array<char, 4> markers{'\3', '\2', '\1', '^'};
};

struct CreditsFont {
    int height = 0;
    int weight = 0;
    CreditsColour colour = 0;
};

struct CreditsLine {
    CreditsStyle style = CreditsStyle::Body;
    // Without its marker; for a picture, the name of the bitmap.
    std::string text;
    // The line as written, for the fallback of a missing picture.
    std::string whole;
    bool IsEmpty() const { return whole.empty(); }
};

std::vector<std::string> SplitCreditsText(const std::string& text, char separator);
CreditsLine ParseCreditsLine(const std::string& line, const CreditsLook& look);
// The font of a text style (title, subtitle, heading, body).
CreditsFont FontOf(CreditsStyle style, const CreditsLook& look);
// Only the text styles carry a font of their own: pictures and the fallback do not.
bool HasOwnFont(CreditsStyle style);

}  // namespace sw
