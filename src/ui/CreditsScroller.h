#pragma once
// The arithmetic of the scrolling credits: which line scrolls in, how far, in which column,
// and what one tick of the timer draws. The panel performs the drawing it describes.
#include <cstddef>
#include <string>
#include <vector>

#include "ui/CreditsLine.h"
#include "ui/CreditsMeasure.h"
#include "ui/UiGeometry.h"

namespace sw {

// What one tick does to the text layer, in client coordinates.
struct CreditsTick {
    enum class Draw { Nothing, Text, Picture };

    UiRect column;
    // Scrolled up by one step; nothing scrolls when the column has no width.
    bool scrolls = false;
    // Uncovered by the scroll: filled with the background.
    UiRect strip;
    Draw draw = Draw::Nothing;
    // Text: the line and its style, drawn centred at the top of the clip rectangle.
    CreditsLine line;
    UiRect clip;
    // Picture: the top `pictureRows` rows of the picture go to `pictureDest`.
    int pictureRows = 0;
    UiRect pictureDest;
    // The picture has scrolled in completely and can be released.
    bool pictureDone = false;
};

class CCreditsScroller {
public:
    void SetLines(std::vector<std::string> lines);
    void SetLook(const CreditsLook& look) { m_look = look; }
    const CreditsLook& GetLook() const { return m_look; }
    CreditsLook& Look() { return m_look; }
    void SetScrollArea(const UiRect& area) { m_scrollArea = area; }
    const UiRect& GetScrollArea() const { return m_scrollArea; }
    const std::vector<std::string>& GetLines() const { return m_lines; }

    // Back to the first line, before its blank ticks.
    void Rewind();
    CreditsTick Tick(const UiRect& client, ICreditsMeasure& measure);

    int GetLineHeight() const { return m_nLineHeight; }
    int GetColumnWidth() const { return m_nColumnWidth; }
    bool IsFirstPass() const { return m_bFirstPass; }
    bool IsPictureMode() const { return m_bPictureMode; }
    const CreditsLine& GetCurrentLine() const { return m_currentLine; }

private:
    void AdvanceLine(const UiRect& client, ICreditsMeasure& measure);
    int MeasureWidth(const CreditsLine& line, ICreditsMeasure& measure) const;
    UiRect Column(const UiRect& client) const;
    void DrawCurrentLine(CreditsTick& tick, ICreditsMeasure& measure);

    CreditsLook m_look;
    std::vector<std::string> m_lines;
    std::size_t m_nPosition = 0;
    CreditsLine m_currentLine;
    int m_nLineCounter = 1;
    int m_nScrolledIn = 0;
    int m_nStep = -1;
    int m_nLineHeight = 14;
    bool m_bFirstPass = true;
    int m_nColumnWidth = 0;
    UiRect m_scrollArea;
    bool m_bPictureMode = false;
    UiSize m_pictureSize;
    int m_nPictureX = 0;
    int m_nPictureY = 0;
};

// Lines at rest, laid out from the top of the area downwards until it is full.
struct CreditsRestLine {
    CreditsLine line;
    // Text: centred across this rectangle, at its top. Picture: exactly this rectangle.
    UiRect rect;
};
std::vector<CreditsRestLine> LayOutCreditsAtRest(const std::vector<std::string>& lines, const CreditsLook& look,
                                                 const UiRect& area, ICreditsMeasure& measure);

// The strip centred in the client area that the column takes without a scroll area.
UiRect CentredColumn(const UiRect& client, int columnWidth);

}  // namespace sw
