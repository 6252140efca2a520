#include "ui/CaptionLayout.h"

namespace sw {

namespace {
constexpr int kIconLeftInset = 2;
constexpr int kIconVerticalInset = 1;
constexpr int kTextInsetWithoutIcon = 2;
constexpr int kTextRightInset = 2;
constexpr const char* kEllipsis = "...";

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }
}  // namespace

CaptionLayout LayOutCaption(UiSize caption, UiSize button, bool hasIcon)
{
    CaptionLayout layout;
    int textLeft = kTextInsetWithoutIcon;
    if (hasIcon) {
        layout.icon = {kIconLeftInset, kIconVerticalInset, button.cx, button.cy - kIconVerticalInset};
        textLeft = button.cx + 1;
    }
    int textRight = caption.cx - kTextRightInset;
    if (textRight > textLeft) layout.text = {textLeft, 0, textRight, caption.cy};
    return layout;
}

std::string EllipsizeEnd(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& measure)
{
    if (maxWidth <= 0) return {};
    if (measure(text) <= maxWidth) return text;
    std::string cut = text;
    while (!cut.empty()) {
        // Continuation bytes go together with the byte that leads their character.
        while (!cut.empty()) {
            char removed = cut.back();
            cut.pop_back();
            if (!IsContinuationByte(removed)) break;
        }
        std::string candidate = cut + kEllipsis;
        if (measure(candidate) <= maxWidth) return candidate;
    }
    return {};
}

}  // namespace sw
