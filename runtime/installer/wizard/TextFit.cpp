// Lays out the texts of a page at run time: the author's texts have any length, so each
// static text gets the lines it needs and the controls under it move down.
#include "../../win32/Heap.h"
#include "WizardInternal.h"

namespace sw::wizard {
namespace {

// Gaps between rows, in dialog units.
constexpr int kParagraphGap = 7;
constexpr int kTightGap = 3;

int VerticalUnits(HWND dialog, int units)
{
    RECT r{0, 0, 0, units};
    MapDialogRect(dialog, &r);
    return r.bottom;
}

int HorizontalUnits(HWND dialog, int units)
{
    RECT r{0, 0, units, 0};
    MapDialogRect(dialog, &r);
    return r.right;
}

RECT ClientRectOf(HWND dialog, HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

wchar_t* TextOf(HWND control)
{
    int length = GetWindowTextLengthW(control);
    auto* text = win::AllocateArray<wchar_t>(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
    if (text && length > 0) GetWindowTextW(control, text, length + 1);
    return text;
}

// Is the control a static text that wraps (SS_LEFT, SS_CENTER, SS_RIGHT)?
bool IsWrappingText(HWND control)
{
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    if (lstrcmpiW(name, L"Static") != 0) return false;
    LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
}

// The size the control's text takes in its font: wrapped at `width` when `width` > 0.
SIZE MeasureText(HWND control, int width)
{
    SIZE size{0, 0};
    wchar_t* text = TextOf(control);
    HDC dc = GetDC(control);
    if (text && dc) {
        auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        RECT r{0, 0, width > 0 ? width : 0x7FFF, 0};
        UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
        DrawTextW(dc, text[0] ? text : L" ", -1, &r, format);
        size.cx = r.right - r.left;
        size.cy = r.bottom - r.top;
        if (old) SelectObject(dc, old);
    }
    if (dc) ReleaseDC(control, dc);
    win::Release(text);
    return size;
}

}  // namespace

void Show(HWND dialog, int id, bool visible)
{
    if (HWND control = GetDlgItem(dialog, id)) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

bool IsShown(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void FlowColumn(HWND dialog, const FlowItem* items, std::size_t count, int top, int bottom)
{
    struct Place {
        HWND control;
        RECT rect;
        bool newRow;
        int gap;
    };
    Place places[16];
    std::size_t n = 0;
    for (std::size_t i = 0; i < count && n < 16; ++i) {
        HWND control = GetDlgItem(dialog, items[i].id);
        if (!control || !IsShown(dialog, items[i].id)) continue;
        Place& p = places[n++];
        p.control = control;
        p.rect = ClientRectOf(dialog, control);
        p.newRow = items[i].row != Row::same || n == 1;
        p.gap = items[i].row == Row::tight ? VerticalUnits(dialog, kTightGap) : VerticalUnits(dialog, kParagraphGap);
        if (IsWrappingText(control)) {
            SIZE size = MeasureText(control, p.rect.right - p.rect.left);
            p.rect.bottom = p.rect.top + size.cy;
        }
    }
    // The height all rows take with their gaps; when that is too much, the gaps shrink.
    const int topPixels = VerticalUnits(dialog, top), bottomPixels = VerticalUnits(dialog, bottom);
    int total = 0, gaps = 0, rowHeight = 0;
    for (std::size_t i = 0; i < n; ++i) {
        int height = places[i].rect.bottom - places[i].rect.top;
        if (places[i].newRow) {
            total += rowHeight;
            rowHeight = 0;
            if (i > 0) gaps += places[i].gap;
        }
        if (height > rowHeight) rowHeight = height;
    }
    total += rowHeight;
    const int room = bottomPixels - topPixels;
    const bool squeeze = total + gaps > room;

    int y = topPixels, rowTop = topPixels;
    rowHeight = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Place& p = places[i];
        int height = p.rect.bottom - p.rect.top;
        if (p.newRow) {
            if (i > 0) y = rowTop + rowHeight + (squeeze ? 2 : p.gap);
            rowTop = y;
            rowHeight = 0;
        }
        // A text that would reach below the content is cut at its bottom.
        if (rowTop + height > bottomPixels) height = bottomPixels - rowTop > 0 ? bottomPixels - rowTop : 0;
        if (height > rowHeight) rowHeight = height;
        SetWindowPos(p.control, nullptr, p.rect.left, rowTop, p.rect.right - p.rect.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void AlignLabels(HWND dialog, const std::uint16_t* labels, const std::uint16_t* values, std::size_t count)
{
    int widest = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (HWND label = GetDlgItem(dialog, labels[i])) {
            SIZE size = MeasureText(label, 0);
            if (size.cx > widest) widest = size.cx;
        }
    const int gap = HorizontalUnits(dialog, 4);
    for (std::size_t i = 0; i < count; ++i) {
        HWND label = GetDlgItem(dialog, labels[i]);
        HWND value = GetDlgItem(dialog, values[i]);
        if (!label || !value) continue;
        RECT l = ClientRectOf(dialog, label), v = ClientRectOf(dialog, value);
        // The value keeps at least a quarter of the row.
        int right = v.right > l.right ? v.right : l.right;
        int width = widest;
        if (l.left + width + gap > right - (right - l.left) / 4) width = right - (right - l.left) / 4 - gap - l.left;
        SetWindowPos(label, nullptr, l.left, l.top, width, l.bottom - l.top, SWP_NOZORDER | SWP_NOACTIVATE);
        const int valueLeft = l.left + width + gap;
        SetWindowPos(value, nullptr, valueLeft, v.top, right - valueLeft, v.bottom - v.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FitButton(HWND dialog, int id, int maxWidth)
{
    HWND button = GetDlgItem(dialog, id);
    if (!button) return;
    RECT r = ClientRectOf(dialog, button);
    SIZE size = MeasureText(button, 0);
    int width = size.cx + HorizontalUnits(dialog, 12);
    int limit = HorizontalUnits(dialog, maxWidth);
    if (width > limit) width = limit;
    if (width < r.right - r.left) width = r.right - r.left;
    SetWindowPos(button, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

wchar_t* WithCarriageReturns(const wchar_t* text)
{
    std::size_t length = 0, feeds = 0;
    for (; text[length]; ++length)
        if (text[length] == L'\n') ++feeds;
    auto* out = win::AllocateArray<wchar_t>(length + feeds + 1);
    if (!out) return nullptr;
    std::size_t n = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out[n++] = L'\r';
        out[n++] = text[i];
    }
    out[n] = 0;
    return out;
}

}  // namespace sw::wizard
