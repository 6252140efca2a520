// The caption's fade, its cached bitmaps and where its icon and text go.
#include <gtest/gtest.h>

#include "ui/CaptionCache.h"
#include "ui/CaptionFade.h"
#include "ui/CaptionLayout.h"

namespace sw::test {
namespace {

constexpr CaptionRgb kBlue{0, 84, 227};

TEST(CaptionFade, BandsAreASixtyFourthOfTheWidthAndOnePixelBelow128)
{
    struct Case {
        int width;
        int bandWidth;
        std::size_t bands;  // black strip included
        int blackStrip;
    } cases[] = {
        {1, 1, 1, 0},    {127, 1, 127, 0}, {128, 2, 64, 0},
        {131, 2, 66, 1},  // 65 bands of 2 and a black pixel at the left edge
        {640, 10, 64, 0}, {700, 10, 70, 0}, {705, 11, 65, 1},
    };
    for (const Case& c : cases) {
        std::vector<FadeBand> bands = CaptionFadeBands(c.width, kBlue);
        EXPECT_EQ(CaptionBandWidth(c.width), c.bandWidth) << c.width;
        ASSERT_EQ(bands.size(), c.bands) << c.width;
        // The bands tile the caption from the right edge to the left one.
        EXPECT_EQ(bands.front().right, c.width);
        EXPECT_EQ(bands.back().left, 0);
        for (std::size_t i = 1; i < bands.size(); ++i) EXPECT_EQ(bands[i].right, bands[i - 1].left);
        if (c.blackStrip > 0) {
            EXPECT_EQ(bands.back().right, c.blackStrip) << c.width;
            EXPECT_EQ(bands.back().colour, CaptionRgb{}) << c.width;
        }
    }
    EXPECT_TRUE(CaptionFadeBands(0, kBlue).empty());
}

TEST(CaptionFade, FullColourAtTheRightDarkeningQuadraticallyToTheLeft)
{
    std::vector<FadeBand> bands = CaptionFadeBands(128, {255, 128, 0});
    EXPECT_EQ(bands.front().colour, (CaptionRgb{255, 128, 0}));
    // Half way (x = 64): c - c/4 in integer arithmetic.
    auto half = std::find_if(bands.begin(), bands.end(), [](const FadeBand& band) { return band.right == 64; });
    ASSERT_NE(half, bands.end());
    EXPECT_EQ(half->colour, (CaptionRgb{192, 96, 0}));
    // The last band (x = 2) is nearly black.
    EXPECT_EQ(bands.back().colour, (CaptionRgb{8, 4, 0}));
    for (std::size_t i = 1; i < bands.size(); ++i) EXPECT_LE(bands[i].colour.red, bands[i - 1].colour.red);
}

TEST(CaptionFade, TheTitleIsLightOverTheBlackEnd)
{
    struct Case {
        CaptionRgb system;
        bool active;
        CaptionRgb drawn;
    } cases[] = {
        {{255, 255, 255}, true, {255, 255, 255}},
        {{212, 208, 200}, false, {212, 208, 200}},  // light enough as the system gives it
        {{0, 0, 0}, true, {255, 255, 255}},
        {{46, 52, 54}, false, {192, 192, 192}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadableCaptionText(c.system, c.active), c.drawn);
}

TEST(CaptionCache, EachStateKeepsItsBitmapUntilTheSizeOrTheColoursChange)
{
    struct Step {
        const char* what;
        bool active;
        int width;
        bool discardFirst;
        bool draws;
    } steps[] = {
        {"first active paint", true, 300, false, true},
        {"active again", true, 300, false, false},
        {"deactivated", false, 300, false, true},
        {"activated: the cached bitmap", true, 300, false, false},
        {"resized: the fade at the new width", true, 400, false, true},
        {"the other state was discarded too", false, 400, false, true},
        {"system colours changed", false, 400, true, true},
        {"and for the other state", true, 400, false, true},
    };
    CCaptionCache cache;
    for (const Step& step : steps) {
        if (step.discardFirst) cache.Discard();
        EXPECT_EQ(cache.NeedsDrawing(step.active, step.width, 24), step.draws) << step.what;
    }
    EXPECT_TRUE(cache.NeedsDrawing(true, 400, 30)) << "taller";
}

TEST(CaptionLayout, TheIconTakesOneButtonAndTheTextTheRest)
{
    CaptionLayout withIcon = LayOutCaption({400, 24}, {24, 24}, true);
    EXPECT_EQ(withIcon.icon, (UiRect{2, 1, 24, 23}));
    EXPECT_EQ(withIcon.text, (UiRect{25, 0, 398, 24}));
    CaptionLayout without = LayOutCaption({400, 24}, {24, 24}, false);
    EXPECT_TRUE(without.icon.IsEmpty());
    EXPECT_EQ(without.text.left, 2);
    EXPECT_TRUE(LayOutCaption({26, 24}, {24, 24}, true).text.IsEmpty()) << "no room for the text";
}

TEST(CaptionLayout, ATextTooLongEndsWithAnEllipsis)
{
    auto tenPerByte = [](const std::string& text) { return 10 * static_cast<int>(text.size()); };
    struct Case {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"Setwright", 90, "Setwright"},
        {"Setwright", 89, "Setwr..."},
        {"Setwright", 60, "Set..."},
        {"Setwright", 30, "..."},
        {"Setwright", 29, ""},
        {"", 0, ""},
        {"\xC3\xA9t\xC3\xA9ttt", 75, "\xC3\xA9t..."},  // never half a character
    };
    for (const Case& c : cases) EXPECT_EQ(EllipsizeEnd(c.text, c.width, tenPerByte), c.shown) << c.text << " " << c.width;
}

}  // namespace
}  // namespace sw::test
