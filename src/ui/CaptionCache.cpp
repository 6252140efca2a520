#include "ui/CaptionCache.h"

namespace sw {

bool CCaptionCache::NeedsDrawing(bool active, int width, int height)
{
    if (width != m_nWidth || height != m_nHeight) {
        Discard();
        m_nWidth = width;
        m_nHeight = height;
    }
    bool& drawn = m_bDrawn[active ? 1 : 0];
    if (drawn) return false;
    drawn = true;
    return true;
}

void CCaptionCache::Discard() { m_bDrawn[0] = m_bDrawn[1] = false; }

}  // namespace sw
