#pragma once
// How the flat toolbar looks and reacts, decided without a window: which button is hot,
// how a button is drawn in each state, where the images and the gripper go.
#include <array>
#include <vector>

#include "ui/UiGeometry.h"

namespace sw {

struct ToolButtonState {
    bool separator = false;
    bool hidden = false;
    bool enabled = true;
    bool pressed = false;
    bool checked = false;
};

// Separators, hidden and disabled buttons never light up.
bool CanBeHot(const ToolButtonState& button);

// The hot button follows the mouse; a timer notices when the mouse left the bar without
// a last move over it (straight onto another window).
class CHotTracker {
public:
    struct Change {
        // Buttons to draw again, -1 for none.
        int redrawOld = -1;
        int redrawNew = -1;
        bool startTimer = false;
        bool stopTimer = false;
    };

    // buttonUnderCursor: index of the button under the mouse, -1 for none.
    Change OnMouseMove(int buttonUnderCursor, const std::vector<ToolButtonState>& buttons);
    Change OnTimer(bool cursorInsideBar);
    int GetHot() const { return m_nHot; }

private:
    int m_nHot = -1;
};

enum class ToolFill { Face, Light3D };
enum class ToolEdge { None, Raised, Sunken };

struct ToolButtonLook {
    ToolFill fill = ToolFill::Face;
    ToolEdge edge = ToolEdge::None;
    // A face-coloured edge one pixel inside the sunken one.
    bool innerFaceEdge = false;
    // Pressed and checked images move right and down by this much.
    int imageShift = 0;
    bool embossed = false;
    bool operator==(const ToolButtonLook&) const = default;
};

ToolButtonLook LookOf(const ToolButtonState& button, bool hot);

// A separator wider than this holds a control and shows no line.
inline constexpr int kWidestEtchedSeparator = 8;
bool SeparatorShowsLine(int separatorWidth);
// The 2-pixel etched line across the middle of a separator.
UiRect SeparatorLine(const UiRect& separator);

// Where the image sits in a button: centred, or at a fixed height when captions are below.
UiSize ImageOffset(UiSize button, UiSize image, bool withText);
inline constexpr int kTextModeImageTop = 3;

// The gripper's two raised bars along the leading edge, and how far the buttons keep away
// from it.
std::array<UiRect, 2> GripperBars(UiSize bar, bool horizontal);
int LeadingInset(bool horizontal);

}  // namespace sw
