// The flat toolbar: which button lights up, how each state is drawn, where things go.
#include <gtest/gtest.h>

#include "ui/ToolBarRules.h"

namespace sw::test {
namespace {

ToolButtonState Button() { return {}; }
ToolButtonState Separator() { return {.separator = true}; }
ToolButtonState Disabled() { return {.enabled = false}; }
ToolButtonState Hidden() { return {.hidden = true}; }

TEST(ToolBarHotTracking, OnlyVisibleEnabledButtonsLightUpAndBothButtonsAreRedrawn)
{
    const std::vector<ToolButtonState> bar = {Button(), Button(), Separator(), Disabled(), Hidden(), Button()};
    struct Step {
        const char* what;
        int under;
        int hot, redrawOld, redrawNew;
    } steps[] = {
        {"onto a button", 0, 0, -1, 0},
        {"staying on it redraws nothing", 0, 0, -1, -1},
        {"onto the next button", 1, 1, 0, 1},
        {"onto a separator", 2, -1, 1, -1},
        {"onto a disabled button", 3, -1, -1, -1},
        {"onto a hidden button", 4, -1, -1, -1},
        {"onto the last button", 5, 5, -1, 5},
        {"off the buttons inside the bar", -1, -1, 5, -1},
    };
    CHotTracker tracker;
    for (const Step& step : steps) {
        CHotTracker::Change change = tracker.OnMouseMove(step.under, bar);
        EXPECT_EQ(tracker.GetHot(), step.hot) << step.what;
        EXPECT_EQ(change.redrawOld, step.redrawOld) << step.what;
        EXPECT_EQ(change.redrawNew, step.redrawNew) << step.what;
        EXPECT_TRUE(change.startTimer) << "every move restarts the timer";
    }
}

TEST(ToolBarHotTracking, TheTimerClearsTheHotButtonOnceTheMouseHasLeftTheBar)
{
    const std::vector<ToolButtonState> bar = {Button(), Button()};
    CHotTracker tracker;
    tracker.OnMouseMove(1, bar);
    CHotTracker::Change inside = tracker.OnTimer(true);
    EXPECT_EQ(tracker.GetHot(), 1);
    EXPECT_FALSE(inside.stopTimer);
    EXPECT_EQ(inside.redrawOld, -1);
    CHotTracker::Change left = tracker.OnTimer(false);
    EXPECT_EQ(tracker.GetHot(), -1);
    EXPECT_TRUE(left.stopTimer);
    EXPECT_EQ(left.redrawOld, 1);
}

TEST(ToolBarLook, EachStateHasItsFillEdgeAndImagePlace)
{
    using F = ToolFill;
    using E = ToolEdge;
    ToolButtonState pressed{.pressed = true};
    ToolButtonState checked{.checked = true};
    ToolButtonState checkedDisabled{.enabled = false, .checked = true};
    struct Case {
        const char* what;
        ToolButtonState state;
        bool hot;
        ToolButtonLook look;
    } cases[] = {
        {"plain: flat", Button(), false, {F::Face, E::None, false, 0, false}},
        {"plain, hot: raised", Button(), true, {F::Face, E::Raised, false, 0, false}},
        {"pressed, hot: sunken", pressed, true, {F::Face, E::Sunken, false, 1, false}},
        {"pressed, not hot: light, inner edge", pressed, false, {F::Light3D, E::Sunken, true, 1, false}},
        {"checked, not hot", checked, false, {F::Light3D, E::Sunken, true, 1, false}},
        {"checked, hot", checked, true, {F::Face, E::Sunken, false, 1, false}},
        {"disabled: embossed, never raised", Disabled(), true, {F::Face, E::None, false, 0, true}},
        {"checked and disabled", checkedDisabled, false, {F::Light3D, E::Sunken, true, 1, true}},
    };
    for (const Case& c : cases) EXPECT_EQ(LookOf(c.state, c.hot), c.look) << c.what;
}

TEST(ToolBarLook, SeparatorsImagesAndGripper)
{
    EXPECT_TRUE(SeparatorShowsLine(8));
    EXPECT_FALSE(SeparatorShowsLine(9)) << "a separator holding a control";
    EXPECT_EQ(SeparatorLine({100, 2, 108, 40}), (UiRect{103, 2, 105, 40}));

    EXPECT_EQ(ImageOffset({40, 30}, {24, 24}, false), (UiSize{8, 3}));
    EXPECT_EQ(ImageOffset({61, 50}, {24, 24}, true), (UiSize{18, kTextModeImageTop}));

    auto horizontal = GripperBars({300, 50}, true);
    EXPECT_EQ(horizontal[0], (UiRect{2, 4, 5, 46}));
    EXPECT_EQ(horizontal[1], (UiRect{5, 4, 8, 46}));
    auto vertical = GripperBars({50, 300}, false);
    EXPECT_EQ(vertical[0], (UiRect{4, 2, 46, 5}));
    EXPECT_GT(LeadingInset(true), horizontal[1].right) << "buttons start after the gripper";
    EXPECT_GT(LeadingInset(false), vertical[1].bottom);
}

}  // namespace
}  // namespace sw::test
