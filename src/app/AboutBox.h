#pragma once
// The About box: the program's name and version.
#include <wx/window.h>

namespace sw {

void ShowAboutBox(wxWindow* parent);

}  // namespace sw
