// The credits' tick arithmetic: when each line starts, how wide the column grows, how a
// picture scrolls in, and the lines laid out at rest.
#include <gtest/gtest.h>

#include "FakeCreditsMeasure.h"
#include "ui/CreditsScroller.h"

namespace sw::test {
namespace {

constexpr UiRect kClient{0, 0, 200, 100};

CreditsLook AboutLook()
{
    CreditsLook look;
    look.heights = {26, 22, 18, 14};
    return look;
}

struct CreditsRun {
    CCreditsScroller scroller;
    CFakeCreditsMeasure measure;
    std::vector<CreditsTick> ticks;  // ticks[0] is tick 1

    explicit CreditsRun(std::vector<std::string> lines, const CreditsLook& look = AboutLook()) : measure(scroller.Look())
    {
        scroller.SetLook(look);
        scroller.SetLines(std::move(lines));
    }
    void Ticks(int count, const UiRect& client = kClient)
    {
        for (int i = 0; i < count; ++i) ticks.push_back(scroller.Tick(client, measure));
    }
    // The ticks on which a text line showed its first row.
    std::vector<int> TextStarts() const
    {
        std::vector<int> starts;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            if (ticks[i].draw == CreditsTick::Draw::Text && ticks[i].clip.Height() == 1) starts.push_back(static_cast<int>(i) + 1);
        return starts;
    }
};

TEST(CreditsTicks, EachLineOccupiesItsFontHeightAfterTheBlankTicksOfTheOneBefore)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<int> starts;
    } cases[] = {
        // 13 blank ticks at the default height 14, then the title's 26 pixels.
        {"title then body", {"Setwright\3", "Body"}, {14, 40}},
        {"heading then body", {"Heading\1", "Body"}, {14, 32}},
        // A marker alone is blank space of its style's height.
        {"title marker alone", {"\3", "Body"}, {40}},
        // An empty line keeps the height of the line before.
        {"empty line", {"Heading\1", "", "Body"}, {14, 50}},
        // After the last line the list starts again: the first line follows the last one's height.
        {"wraps", {"One", "Two"}, {14, 28, 42, 56}},
    };
    for (const Case& c : cases) {
        CreditsRun run(c.lines);
        run.Ticks(c.starts.back());
        EXPECT_EQ(run.TextStarts(), c.starts) << c.name;
    }
}

TEST(CreditsTicks, TheLineRisesOnePixelPerTickOutOfTheColumnsBottom)
{
    CreditsRun run({"Body"});
    run.Ticks(16);
    for (int tick = 14; tick <= 16; ++tick) {
        const CreditsTick& t = run.ticks[static_cast<std::size_t>(tick - 1)];
        int risen = tick - 13;
        EXPECT_EQ(t.clip, (UiRect{t.column.left, 100 - risen, t.column.right, 100})) << tick;
        EXPECT_EQ(t.strip, (UiRect{t.column.left, 99, t.column.right, 100}));
        EXPECT_TRUE(t.scrolls);
    }
}

TEST(CreditsTicks, TheColumnGrowsToTheWidestLineOfTheFirstPassWithinTheClient)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int width;
    } cases[] = {
        {"widest line", {"abcd", "abcdefgh", "ab"}, 80},  // 10 pixels per byte
        {"last line of the pass counts", {"ab", "abcdefghijk"}, 110},
        {"clipped to the client", {std::string(30, 'x')}, 200},
        {"pictures by their width", {"logo^", "ab"}, 64},
        {"nothing to draw", {"", "\3"}, 0},
    };
    for (const Case& c : cases) {
        CreditsRun run(c.lines);
        run.measure.m_pictures["logo"] = {64, 3};
        run.Ticks(120);
        EXPECT_EQ(run.scroller.GetColumnWidth(), c.width) << c.name;
        const CreditsTick& last = run.ticks.back();
        EXPECT_EQ(last.column, CentredColumn(kClient, c.width)) << c.name;
    }
}

TEST(CreditsTicks, OnlyTheFirstPassMeasuresTheLines)
{
    CreditsRun run({"ab", "cd"});
    run.Ticks(28);
    EXPECT_EQ(run.measure.m_nTextCalls, 2);
    EXPECT_FALSE(run.scroller.IsFirstPass());
    run.Ticks(28);
    EXPECT_EQ(run.measure.m_nTextCalls, 2);
}

TEST(CreditsTicks, AColumnWithoutWidthScrollsNothingAndClearsTheClientsBottomRow)
{
    CreditsRun run({""});
    run.Ticks(1);
    EXPECT_FALSE(run.ticks[0].scrolls);
    EXPECT_EQ(run.ticks[0].strip, (UiRect{0, 99, 200, 100}));
}

TEST(CreditsTicks, AScrollAreaIsTheColumnOnEveryTick)
{
    CreditsRun run({"abcdef", "ab"});
    const UiRect area{10, 20, 150, 90};  // off centre
    run.scroller.SetScrollArea(area);
    run.Ticks(20);
    // Tick 14 widens the measured column to 60; the area still scrolls as a whole.
    EXPECT_EQ(run.scroller.GetColumnWidth(), 60);
    for (const CreditsTick& tick : run.ticks) EXPECT_EQ(tick.column, area);
    EXPECT_EQ(run.ticks[13].clip, (UiRect{10, 89, 150, 90}));
}

TEST(CreditsTicks, APictureScrollsInRowByRowThenTheNextLineFollowsItsBlankTicks)
{
    struct Case {
        const char* name;
        UiRect client;
    } cases[] = {
        {"fits", kClient},
        {"taller than the client", {0, 0, 200, 20}},
    };
    for (const Case& c : cases) {
        CreditsRun run({"logo^", "After"});
        run.measure.m_pictures["logo"] = {40, 30};
        run.Ticks(57, c.client);
        // Ticks 14 to 43: rows 1 to 30, centred, above the column's bottom.
        for (int tick = 14; tick <= 43; ++tick) {
            const CreditsTick& t = run.ticks[static_cast<std::size_t>(tick - 1)];
            ASSERT_EQ(t.draw, CreditsTick::Draw::Picture) << c.name << tick;
            int rows = tick - 13;
            EXPECT_EQ(t.pictureRows, rows);
            int left = t.column.left + t.column.Width() / 2 - 20;
            EXPECT_EQ(t.pictureDest, (UiRect{left, c.client.bottom - rows, left + 40, c.client.bottom}));
            EXPECT_EQ(t.pictureDone, tick == 43);
        }
        // Then 13 blank ticks at the last text height (14).
        EXPECT_EQ(run.TextStarts(), std::vector<int>{57}) << c.name;
    }
}

TEST(CreditsTicks, AMissingPictureScrollsAsItsWholeLineInThePanelsOwnFont)
{
    CreditsRun run({"missing^"});
    run.Ticks(15);
    const CreditsTick& t = run.ticks[14];
    ASSERT_EQ(t.draw, CreditsTick::Draw::Text);
    EXPECT_EQ(t.line.style, CreditsStyle::Fallback);
    EXPECT_EQ(t.line.text, "missing^");
    EXPECT_FALSE(run.scroller.IsPictureMode());
}

TEST(CreditsTicks, RewindStartsAgainWithTheFirstLine)
{
    CreditsRun run({"One", "Two"});
    run.Ticks(30);
    run.scroller.Rewind();
    run.ticks.clear();
    run.Ticks(14);
    ASSERT_EQ(run.ticks[13].draw, CreditsTick::Draw::Text);
    EXPECT_EQ(run.ticks[13].line.text, "One");
}

TEST(CreditsAtRest, LinesStackFromTheTopUntilTheAreaIsFull)
{
    CreditsLook look = AboutLook();
    CFakeCreditsMeasure measure(look);
    measure.m_pictures["logo"] = {40, 30};
    const UiRect area{10, 5, 110, 105};
    std::vector<std::string> lines = {"Title\3", "", "logo^", "\1", "Body", "missing^", "x", "below the area"};
    std::vector<CreditsRestLine> laid = LayOutCreditsAtRest(lines, look, area, measure);
    // Title 26; empty: "W" in the title's font 26; picture 30; heading marker: "W" at 18 -> y 100.
    ASSERT_EQ(laid.size(), 2u);
    EXPECT_EQ(laid[0].rect, (UiRect{10, 5, 110, 31}));
    EXPECT_EQ(laid[1].line.style, CreditsStyle::Picture);
    EXPECT_EQ(laid[1].rect, (UiRect{40, 57, 80, 87}));

    std::vector<CreditsRestLine> taller = LayOutCreditsAtRest(lines, look, {0, 0, 100, 200}, measure);
    ASSERT_EQ(taller.size(), 6u);
    EXPECT_EQ(taller[2].rect, (UiRect{0, 100, 100, 114}));  // body after the heading marker
    EXPECT_EQ(taller[3].line.style, CreditsStyle::Fallback);
    EXPECT_EQ(taller[3].line.text, "missing^");
}

}  // namespace
}  // namespace sw::test
