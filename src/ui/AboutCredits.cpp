#include "ui/AboutCredits.h"

#include "platform/StringTable.h"
#include "ui/BitmapResources.h"

namespace sw {

namespace {
constexpr int kFirstCreditsString = 9001;
constexpr int kCreditsSpeed = 1;
constexpr CreditsColour kWhite = 0xFFFFFF;
constexpr CreditsColour kBlack = 0x000000;
constexpr int kCreditsHeights[] = {26, 22, 18, 14};
// The pattern's size: the panel shows one whole tile.
const wxSize kPanelSize(320, 240);
// The lines keep this far from the panel's sides.
constexpr int kScrollAreaMargin = 12;
}  // namespace

std::string LoadCreditsText()
{
    std::string text;
    for (int id = kFirstCreditsString;; ++id) {
        std::string part = LoadString(id);
        if (part.empty()) break;
        text += part;
    }
    return text;
}

CCreditsPanel* CreateAboutCredits(wxWindow* aboutBox)
{
    wxSize size = aboutBox->FromDIP(kPanelSize);
    auto* panel = new CCreditsPanel(aboutBox, wxID_ANY, wxDefaultPosition, size);
    panel->SetMinSize(size);
    panel->SetScrollArea(wxRect(kScrollAreaMargin, 0, size.x - 2 * kScrollAreaMargin, size.y));
    panel->SetText(LoadCreditsText(), '|');
    panel->SetSpeed(kCreditsSpeed, 0);
    panel->SetColour(0, kWhite);
    for (int i = 1; i <= 4; ++i) panel->SetColour(i, kBlack);
    for (int i = 0; i < 4; ++i) panel->SetHeight(i, kCreditsHeights[i]);
    panel->SetKeyColourMode(true);
    panel->SetPattern(IDB_CREDITS_PATTERN);
    panel->Start();
    return panel;
}

}  // namespace sw
