// wizard_click.exe TITLE ID: a Win32 helper of wizard_screens.sh (run under wine) that
// "clicks" a button of the installer's wizard: it waits up to 10 seconds for the top-level
// window titled TITLE and posts it WM_COMMAND with the control id ID, as a click on that
// button would. Exit status 0 when posted, 1 when no such window showed up, 2 on a usage error.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    const WPARAM id = static_cast<WPARAM>(std::wcstoul(argv[2], nullptr, 10));
    for (int i = 0; i < 100; ++i) {
        if (HWND window = FindWindowW(nullptr, argv[1])) return PostMessageW(window, WM_COMMAND, id, 0) ? 0 : 1;
        Sleep(100);
    }
    return 1;
}
