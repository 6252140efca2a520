#pragma once
// When the caption's bitmaps must be drawn again: each activation state keeps its own
// bitmap until the caption's size changes or the system's colours change.
namespace sw {

class CCaptionCache {
public:
    // True when the bitmap of this state is missing and must be drawn now (it then counts
    // as drawn). A new size discards both bitmaps first.
    bool NeedsDrawing(bool active, int width, int height);
    void Discard();

private:
    bool m_bDrawn[2] = {false, false};
    int m_nWidth = -1;
    int m_nHeight = -1;
};

}  // namespace sw
