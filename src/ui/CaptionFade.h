#pragma once
// The caption's colour fade: full caption colour at the right edge, darkening
// quadratically to black at the left, in bands.
#include <cstdint>
#include <vector>

namespace sw {

struct CaptionRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const CaptionRgb&) const = default;
};

struct FadeBand {
    int left = 0;
    int right = 0;
    CaptionRgb colour;
    bool operator==(const FadeBand&) const = default;
};

inline constexpr int kCaptionFadeSteps = 64;

// Bands from the right edge leftwards; the last one is the black strip left over at the
// left edge when the width is not a multiple of the band width.
std::vector<FadeBand> CaptionFadeBands(int width, CaptionRgb colour, int steps = kCaptionFadeSteps);
int CaptionBandWidth(int width, int steps = kCaptionFadeSteps);

// The title starts over the black end of the fade, so it is always drawn light: the
// system's caption text colour when that is light, else white (active) or light grey.
CaptionRgb ReadableCaptionText(CaptionRgb systemText, bool active);

}  // namespace sw
