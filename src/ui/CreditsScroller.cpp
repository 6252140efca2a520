#include "ui/CreditsScroller.h"

#include <algorithm>
#include <cstdlib>

namespace sw {

UiRect CentredColumn(const UiRect& client, int columnWidth)
{
    int left = (client.right - columnWidth - client.left) / 2;
    return {left, client.top, left + columnWidth, client.bottom};
}

void CCreditsScroller::SetLines(std::vector<std::string> lines)
{
    m_lines = std::move(lines);
    Rewind();
}

void CCreditsScroller::Rewind()
{
    m_nPosition = 0;
    m_nLineCounter = 1;
    m_nScrolledIn = 0;
}

int CCreditsScroller::MeasureWidth(const CreditsLine& line, ICreditsMeasure& measure) const
{
    if (line.style == CreditsStyle::Picture) {
        if (auto size = measure.PictureSize(line.text)) return size->cx;
        return measure.TextSize(CreditsStyle::Fallback, line.whole).cx;
    }
    return line.text.empty() ? 0 : measure.TextSize(line.style, line.text).cx;
}

void CCreditsScroller::AdvanceLine(const UiRect& client, ICreditsMeasure& measure)
{
    int counter = m_nLineCounter++;
    if (counter % m_nLineHeight != 0 || m_lines.empty()) return;
    m_nLineCounter = 1;
    bool measuring = m_bFirstPass;
    m_currentLine = ParseCreditsLine(m_lines[m_nPosition], m_look);
    if (++m_nPosition == m_lines.size()) {
        m_nPosition = 0;
        m_bFirstPass = false;
    }
    m_nScrolledIn = 0;
    if (!measuring) return;
    int width = MeasureWidth(m_currentLine, measure);
    if (width > m_nColumnWidth) m_nColumnWidth = std::min(width, client.Width());
}

UiRect CCreditsScroller::Column(const UiRect& client) const
{
    // A scroll area stays the column even on the tick a line widens the centred strip:
    // scrolling another strip for one tick would tear the lines already in the area.
    return m_scrollArea.IsEmpty() ? CentredColumn(client, m_nColumnWidth) : m_scrollArea;
}

CreditsTick CCreditsScroller::Tick(const UiRect& client, ICreditsMeasure& measure)
{
    if (!m_bPictureMode) AdvanceLine(client, measure);

    CreditsTick tick;
    tick.column = Column(client);
    int step = std::abs(m_nStep);
    if (tick.column.Width() > 0) {
        tick.scrolls = true;
        tick.strip = {tick.column.left, tick.column.bottom - step, tick.column.right, tick.column.bottom};
    } else {
        tick.strip = {client.left, client.bottom - 1, client.right, client.bottom};
    }
    m_nScrolledIn += step;
    DrawCurrentLine(tick, measure);
    return tick;
}

void CCreditsScroller::DrawCurrentLine(CreditsTick& tick, ICreditsMeasure& measure)
{
    const UiRect& column = tick.column;
    if (m_currentLine.style == CreditsStyle::Picture && !m_bPictureMode) {
        if (auto size = measure.PictureSize(m_currentLine.text)) {
            m_bPictureMode = true;
            m_pictureSize = *size;
            m_nPictureX = column.left + column.Width() / 2 - size->cx / 2;
            m_nPictureY = column.bottom;
        } else {
            m_currentLine.style = CreditsStyle::Fallback;
            m_currentLine.text = m_currentLine.whole;
        }
    }
    if (m_bPictureMode) {
        tick.draw = CreditsTick::Draw::Picture;
        tick.pictureRows = std::min(m_nScrolledIn, m_pictureSize.cy);
        tick.pictureDest = {m_nPictureX, m_nPictureY - tick.pictureRows, m_nPictureX + m_pictureSize.cx, m_nPictureY};
        if (m_nScrolledIn >= m_pictureSize.cy) {
            tick.pictureDone = true;
            m_bPictureMode = false;
            m_nScrolledIn = 0;
            m_currentLine = CreditsLine{};
            m_nLineCounter = 1;
        }
        return;
    }
    if (m_currentLine.IsEmpty()) return;
    if (HasOwnFont(m_currentLine.style)) m_nLineHeight = FontOf(m_currentLine.style, m_look).height;
    if (m_currentLine.text.empty()) return;
    tick.draw = CreditsTick::Draw::Text;
    tick.line = m_currentLine;
    tick.clip = {column.left, column.bottom - m_nScrolledIn, column.right, column.bottom};
}

std::vector<CreditsRestLine> LayOutCreditsAtRest(const std::vector<std::string>& lines, const CreditsLook& look,
                                                 const UiRect& area, ICreditsMeasure& measure)
{
    std::vector<CreditsRestLine> laid;
    CreditsStyle fontStyle = CreditsStyle::Body;
    int y = 0;
    for (const std::string& text : lines) {
        if (y >= area.Height()) break;
        CreditsLine line = ParseCreditsLine(text, look);
        int top = area.top + y;
        if (line.style == CreditsStyle::Picture) {
            if (auto size = measure.PictureSize(line.text)) {
                int left = area.left + area.Width() / 2 - size->cx / 2;
                laid.push_back({line, {left, top, left + size->cx, top + size->cy}});
                y += size->cy;
                continue;
            }
            line.style = CreditsStyle::Fallback;
            line.text = line.whole;
        }
        if (HasOwnFont(line.style) && !line.IsEmpty()) fontStyle = line.style;
        if (line.text.empty()) {
            y += measure.TextSize(fontStyle, "W").cy;
            continue;
        }
        int height = measure.TextSize(line.style, line.text).cy;
        laid.push_back({line, {area.left, top, area.right, top + height}});
        y += height;
    }
    return laid;
}

}  // namespace sw
