#include "ui/ToolBarRules.h"

namespace sw {

namespace {
constexpr int kGripperBarThickness = 3;
constexpr int kGripperEdgeInset = 4;
// The gripper starts this far from the leading edge.
constexpr int kGripperOffset = 2;
// Between the gripper and the first button.
constexpr int kGripperGapHorizontal = 4;
constexpr int kGripperGapVertical = 6;
constexpr int kSeparatorLineWidth = 2;
}  // namespace

bool CanBeHot(const ToolButtonState& button) { return !button.separator && !button.hidden && button.enabled; }

CHotTracker::Change CHotTracker::OnMouseMove(int buttonUnderCursor, const std::vector<ToolButtonState>& buttons)
{
    int hot = -1;
    if (buttonUnderCursor >= 0 && static_cast<std::size_t>(buttonUnderCursor) < buttons.size() &&
        CanBeHot(buttons[static_cast<std::size_t>(buttonUnderCursor)]))
        hot = buttonUnderCursor;
    Change change;
    change.startTimer = true;
    if (hot != m_nHot) {
        change.redrawOld = m_nHot;
        change.redrawNew = hot;
        m_nHot = hot;
    }
    return change;
}

CHotTracker::Change CHotTracker::OnTimer(bool cursorInsideBar)
{
    Change change;
    if (cursorInsideBar) return change;
    change.redrawOld = m_nHot;
    change.stopTimer = true;
    m_nHot = -1;
    return change;
}

ToolButtonLook LookOf(const ToolButtonState& button, bool hot)
{
    ToolButtonLook look;
    bool down = button.pressed || button.checked;
    look.fill = down && !hot ? ToolFill::Light3D : ToolFill::Face;
    if (down) {
        look.edge = ToolEdge::Sunken;
        look.innerFaceEdge = !hot;
        look.imageShift = 1;
    } else if (button.enabled && hot) {
        look.edge = ToolEdge::Raised;
    }
    look.embossed = !button.enabled;
    return look;
}

bool SeparatorShowsLine(int separatorWidth) { return separatorWidth <= kWidestEtchedSeparator; }

UiRect SeparatorLine(const UiRect& separator)
{
    int left = separator.left + (separator.Width() - kSeparatorLineWidth) / 2;
    return {left, separator.top, left + kSeparatorLineWidth, separator.bottom};
}

UiSize ImageOffset(UiSize button, UiSize image, bool withText)
{
    return {(button.cx - image.cx) / 2, withText ? kTextModeImageTop : (button.cy - image.cy) / 2};
}

std::array<UiRect, 2> GripperBars(UiSize bar, bool horizontal)
{
    std::array<UiRect, 2> bars;
    for (int i = 0; i < 2; ++i) {
        int near = kGripperOffset + i * kGripperBarThickness;
        int far = near + kGripperBarThickness;
        bars[static_cast<std::size_t>(i)] = horizontal ? UiRect{near, kGripperEdgeInset, far, bar.cy - kGripperEdgeInset}
                                                       : UiRect{kGripperEdgeInset, near, bar.cx - kGripperEdgeInset, far};
    }
    return bars;
}

int LeadingInset(bool horizontal)
{
    return kGripperOffset + 2 * kGripperBarThickness + (horizontal ? kGripperGapHorizontal : kGripperGapVertical);
}

}  // namespace sw
