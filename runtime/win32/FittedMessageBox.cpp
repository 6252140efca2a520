#include "win32/FittedMessageBox.h"

namespace sw::win {

namespace {

HHOOK g_fitHook = nullptr;

void WidenForCaption(HWND box)
{
    wchar_t caption[512];
    int length = GetWindowTextW(box, caption, 512);
    if (length <= 0) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC dc = GetDC(box);
    SIZE text{};
    if (dc && font) {
        HGDIOBJ old = SelectObject(dc, font);
        GetTextExtentPoint32W(dc, caption, length, &text);
        SelectObject(dc, old);
    }
    if (dc) ReleaseDC(box, dc);
    if (font) DeleteObject(font);
    RECT window{}, client{};
    GetWindowRect(box, &window);
    GetClientRect(box, &client);
    // The frame, the caption buttons (close, and the icon at the left) and a margin.
    const int chrome = (window.right - window.left) - client.right + 2 * metrics.iCaptionWidth + 2 * metrics.iBorderWidth + 16;
    int wanted = text.cx + chrome;
    HMONITOR monitor = MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const int limit = (info.rcWork.right - info.rcWork.left) * 4 / 5;
    if (wanted > limit) wanted = limit;
    const int width = window.right - window.left;
    if (wanted <= width) return;
    const int grow = wanted - width;
    // Windows centres the buttons and keeps the icon and text at the left: so do we.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Button") != 0) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + grow / 2, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int left = window.left - grow / 2;
    if (left < info.rcWork.left) left = info.rcWork.left;
    SetWindowPos(box, nullptr, left, window.top, wanted, window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK FitCaption(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wParam);
        wchar_t name[8] = {};
        GetClassNameW(box, name, 8);
        if (lstrcmpW(name, L"#32770") == 0) {
            HHOOK hook = g_fitHook;
            g_fitHook = nullptr;
            UnhookWindowsHookEx(hook);
            WidenForCaption(box);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int FittedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    // Message boxes are shown by the thread of the windows only, one at a time.
    g_fitHook = SetWindowsHookExW(WH_CBT, FitCaption, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, text, caption, type);
    if (g_fitHook) UnhookWindowsHookEx(g_fitHook);
    g_fitHook = nullptr;
    return answer;
}

}  // namespace sw::win
