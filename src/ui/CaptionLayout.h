#pragma once
// Where the caption's icon and text go, and the text cut to fit with an ellipsis.
#include <functional>
#include <string>

#include "ui/UiGeometry.h"

namespace sw {

struct CaptionLayout {
    // Empty without an icon.
    UiRect icon;
    // Empty when no room is left for the text.
    UiRect text;
};

// caption: the caption's size; button: the size of one system caption button.
CaptionLayout LayOutCaption(UiSize caption, UiSize button, bool hasIcon);

// The text as it fits into maxWidth: whole, or cut at the end with "..." added; empty when
// not even the ellipsis fits. Never cuts a UTF-8 character in two.
std::string EllipsizeEnd(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& measure);

}  // namespace sw
