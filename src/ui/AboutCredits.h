#pragma once
// The About box's credits: the panel as that box sets it up.
#include <wx/window.h>

#include "ui/CreditsPanel.h"

namespace sw {

// The credits text: string 9001 and those after it, up to the first number without text.
std::string LoadCreditsText();
// A started credits panel, child of the About box; it scrolls once the box is on screen.
CCreditsPanel* CreateAboutCredits(wxWindow* aboutBox);

}  // namespace sw
