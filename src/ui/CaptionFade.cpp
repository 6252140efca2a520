#include "ui/CaptionFade.h"

#include <algorithm>
#include <cstdint>

namespace sw {

namespace {

std::uint8_t Faded(std::uint8_t channel, int width, int x)
{
    std::int64_t distance = width - x;
    std::int64_t c = channel;
    std::int64_t w = width;
    return static_cast<std::uint8_t>(c - distance * distance * c / (w * w));
}

}  // namespace

CaptionRgb ReadableCaptionText(CaptionRgb systemText, bool active)
{
    constexpr int kLightLuminance = 128;
    int luminance = (systemText.red * 30 + systemText.green * 59 + systemText.blue * 11) / 100;
    if (luminance >= kLightLuminance) return systemText;
    return active ? CaptionRgb{0xFF, 0xFF, 0xFF} : CaptionRgb{0xC0, 0xC0, 0xC0};
}

int CaptionBandWidth(int width, int steps) { return std::max(1, width / steps); }

std::vector<FadeBand> CaptionFadeBands(int width, CaptionRgb colour, int steps)
{
    std::vector<FadeBand> bands;
    if (width <= 0) return bands;
    int band = CaptionBandWidth(width, steps);
    int x = width;
    for (; x >= band; x -= band)
        bands.push_back({x - band, x,
                         {Faded(colour.red, width, x), Faded(colour.green, width, x), Faded(colour.blue, width, x)}});
    if (x > 0) bands.push_back({0, x, {}});
    return bands;
}

}  // namespace sw
