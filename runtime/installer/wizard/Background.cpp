// The full-screen window of the "normal" window mode: a blue gradient (dark at the bottom)
// or the program's background bitmap tiled, and the background title at the top left with
// a shadow. Its title is the wizard's caption; the pages are its owned windows.
#include "../../win32/Heap.h"
#include "WizardInternal.h"

namespace sw::wizard {
namespace {

const wchar_t kClassName[] = L"SetwrightWizardBackground";

struct Background {
    const CSetup* setup = nullptr;
    Dib dib;
    HBRUSH pattern = nullptr;  // the tiled bitmap, when there is one
    HFONT titleFont = nullptr;
};

HFONT CreateTitleFont(const CSetup& setup)
{
    if (setup.HasTitleFont()) {
        LOGFONTW font = setup.TitleFont();
        font.lfFaceName[LF_FACESIZE - 1] = 0;
        if (HFONT made = CreateFontIndirectW(&font)) return made;
    }
    // Without a font of the author's: large, bold and italic, in the face of the system's
    // message font, which links the fonts of other scripts (the title is the author's text,
    // in any language); 48 pixels at 96 dpi, as large at the session's DPI.
    LOGFONTW font{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    font.lfHeight = -MulDiv(48, dpi > 0 ? dpi : 96, 96);
    font.lfWidth = 0;
    font.lfWeight = FW_BOLD;
    font.lfItalic = TRUE;
    font.lfQuality = ANTIALIASED_QUALITY;
    return CreateFontIndirectW(&font);
}

void PaintGradient(HDC dc, const RECT& client)
{
    // From blue at the top to a dark blue at the bottom, in bands of 4 pixels.
    const int height = client.bottom - client.top;
    if (height <= 0) return;
    for (int y = 0; y < height; y += 4) {
        int blue = 255 - (255 - 24) * y / height;
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, blue));
        RECT band{client.left, client.top + y, client.right, client.top + y + 4};
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

void PaintTitle(HDC dc, const Background& state, const RECT& client)
{
    const wchar_t* title = state.setup->BackgroundTitle();
    if (!title[0]) return;
    HGDIOBJ old = state.titleFont ? SelectObject(dc, state.titleFont) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int shadow = metrics.tmHeight / 16;
    if (shadow < 2) shadow = 2;
    const int margin = 16;
    SetBkMode(dc, TRANSPARENT);
    RECT r{client.left + margin + shadow, client.top + margin + shadow, client.right - margin + shadow,
           client.bottom - margin + shadow};
    const UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, title, -1, &r, format);
    OffsetRect(&r, -shadow, -shadow);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, title, -1, &r, format);
    if (old) SelectObject(dc, old);
}

LRESULT CALLBACK BackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<Background*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        if (state && state->pattern) {
            SetBrushOrgEx(dc, 0, 0, nullptr);
            FillRect(dc, &client, state->pattern);
        } else {
            PaintGradient(dc, client);
        }
        if (state) PaintTitle(dc, *state, client);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_CLOSE:
        // Closing the background is leaving the wizard: the page asks as its Exit does.
        if (HWND page = GetWindow(window, GW_ENABLEDPOPUP))
            PostMessageW(page, WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_NCDESTROY:
        if (state) {
            if (state->pattern) DeleteObject(state->pattern);
            if (state->titleFont) DeleteObject(state->titleFont);
            FreeDib(state->dib);
            win::Release(state);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateBackground(const CSetup& setup, HINSTANCE instance)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BackgroundProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);

    auto* state = static_cast<Background*>(win::Allocate(sizeof(Background)));
    if (!state) return nullptr;
    state->setup = &setup;
    if (LoadDib(setup.BackgroundBitmap(), state->dib)) {
        if (HBITMAP bitmap = CreateBitmapFromDib(state->dib)) {
            state->pattern = CreatePatternBrush(bitmap);
            DeleteObject(bitmap);  // the brush keeps its own copy
        }
    }
    state->titleFont = CreateTitleFont(setup);
    HWND window = CreateWindowExW(0, kClassName, setup.Caption(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  instance, state);
    if (!window) {
        if (state->pattern) DeleteObject(state->pattern);
        if (state->titleFont) DeleteObject(state->titleFont);
        FreeDib(state->dib);
        win::Release(state);
        return nullptr;
    }
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);
    return window;
}

void DestroyBackground(HWND background)
{
    if (background) DestroyWindow(background);
}

}  // namespace sw::wizard
