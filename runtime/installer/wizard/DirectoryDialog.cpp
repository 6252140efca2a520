// The dialog of the directory page's "..." button: the directory name (6/2) in an edit,
// the folders of the current directory in a list (double-click opens one, ".." goes up),
// the drives (6/3) in a drop-down list. Its title is 6/1. The chosen directory need not
// exist: the engine creates it.
#include "../../win32/FittedMessageBox.h"
#include "../../win32/Heap.h"
#include "WizardInternal.h"
#include "core/WizardChecks.h"

namespace sw::wizard {
namespace {

using namespace sw::dialogs;

const wchar_t kParent[] = L"..";

struct ChooseState {
    const CSetup* setup;
    wchar_t* path;  // in: the start; out: the choice
    std::size_t capacity;
    wchar_t current[kPathCapacity];  // the folder whose folders the list shows
};

bool IsRoot(const wchar_t* path) { return path[0] && path[1] == L':' && path[2] == L'\\' && !path[3]; }

void FillFolders(HWND dialog, ChooseState& state)
{
    HWND list = GetDlgItem(dialog, kIdChooseFolders);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    if (!IsRoot(state.current)) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kParent));
    wchar_t* pattern = win::JoinPath(state.current, L"*");
    WIN32_FIND_DATAW found;
    HANDLE search = pattern ? FindFirstFileExW(pattern, FindExInfoBasic, &found, FindExSearchLimitToDirectories, nullptr, 0)
                            : INVALID_HANDLE_VALUE;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
            if (found.cFileName[0] == L'.' && (!found.cFileName[1] || (found.cFileName[1] == L'.' && !found.cFileName[2])))
                continue;
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    win::Release(pattern);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);

    // The drive of the current folder.
    HWND drives = GetDlgItem(dialog, kIdChooseDrives);
    wchar_t root[4] = {state.current[0], L':', L'\\', 0};
    LRESULT index = SendMessageW(drives, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(root));
    SendMessageW(drives, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

void FillDrives(HWND dialog)
{
    HWND drives = GetDlgItem(dialog, kIdChooseDrives);
    wchar_t names[26 * 4 + 1] = {};
    DWORD length = GetLogicalDriveStringsW(26 * 4, names);
    if (length == 0 || length > 26 * 4) return;
    for (const wchar_t* name = names; *name; name += win::WideLength(name) + 1) {
        UINT type = GetDriveTypeW(name);
        if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) continue;
        SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
}

void SetCurrent(HWND dialog, ChooseState& state, const wchar_t* folder)
{
    std::size_t length = win::WideLength(folder);
    if (length + 1 > kPathCapacity || !DirectoryExists(folder)) return;
    for (std::size_t i = 0; i <= length; ++i) state.current[i] = folder[i];
    TrimPath(state.current);
    FillFolders(dialog, state);
    SetDlgItemTextW(dialog, kIdChooseName, state.current);
}

// The folder that a line of the list names: the parent for "..".
bool FolderOfLine(HWND dialog, const ChooseState& state, wchar_t* out, std::size_t capacity)
{
    HWND list = GetDlgItem(dialog, kIdChooseFolders);
    LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return false;
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || static_cast<std::size_t>(length) + win::WideLength(state.current) + 2 > capacity) return false;
    wchar_t name[kPathCapacity];
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
    std::size_t n = win::WideLength(state.current);
    for (std::size_t i = 0; i <= n; ++i) out[i] = state.current[i];
    if (name[0] == L'.' && name[1] == L'.' && !name[2]) {
        // Up one, keeping the root's backslash.
        n = ParentDirectoryLength(out, n);
        out[n] = 0;
        return n > 0;
    }
    wchar_t* joined = win::JoinPath(state.current, name);
    if (!joined) return false;
    std::size_t joinedLength = win::WideLength(joined);
    bool fits = joinedLength + 1 <= capacity;
    if (fits)
        for (std::size_t i = 0; i <= joinedLength; ++i) out[i] = joined[i];
    win::Release(joined);
    return fits;
}

INT_PTR CALLBACK ChooseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<ChooseState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<ChooseState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const CSetup& setup = *state->setup;
        SetWindowTextW(dialog, setup.Text(kGroupMessages, 1));
        SetDlgItemTextW(dialog, kIdChooseNameLabel, setup.Text(kGroupMessages, 2));
        SetDlgItemTextW(dialog, kIdChooseDrivesLabel, setup.Text(kGroupMessages, 3));
        SetDlgItemTextW(dialog, kIdOk, setup.Text(kGroupButtons, 4));
        SetDlgItemTextW(dialog, kIdCancel, setup.Text(kGroupButtons, 5));
        SendDlgItemMessageW(dialog, kIdChooseName, EM_LIMITTEXT, kPathCapacity - 1, 0);
        FillDrives(dialog);
        // Start in the deepest folder of the path that exists, else on the system drive.
        wchar_t start[kPathCapacity];
        if (!ExistingAncestor(state->path, start, kPathCapacity)) {
            UINT length = GetWindowsDirectoryW(start, MAX_PATH);
            start[length >= 3 && length < MAX_PATH ? 3 : 0] = 0;
        }
        if (start[0]) SetCurrent(dialog, *state, start);
        SetDlgItemTextW(dialog, kIdChooseName, state->path);
        return TRUE;
    }
    case WM_COMMAND: {
        if (!state) break;
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        wchar_t folder[kPathCapacity];
        if (id == kIdChooseFolders && code == LBN_DBLCLK) {
            if (FolderOfLine(dialog, *state, folder, kPathCapacity)) SetCurrent(dialog, *state, folder);
        } else if (id == kIdChooseFolders && code == LBN_SELCHANGE) {
            if (FolderOfLine(dialog, *state, folder, kPathCapacity)) SetDlgItemTextW(dialog, kIdChooseName, folder);
        } else if (id == kIdChooseDrives && code == CBN_SELCHANGE) {
            HWND drives = GetDlgItem(dialog, kIdChooseDrives);
            LRESULT index = SendMessageW(drives, CB_GETCURSEL, 0, 0);
            if (index != CB_ERR && SendMessageW(drives, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) < 8) {
                SendMessageW(drives, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(folder));
                SetCurrent(dialog, *state, folder);
            }
        } else if (id == kIdOk) {
            GetDlgItemTextW(dialog, kIdChooseName, state->path, static_cast<int>(state->capacity));
            TrimPath(state->path);
            EndDialog(dialog, IDOK);
        } else if (id == kIdCancel) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    default:
        break;
    }
    return FALSE;
}

}  // namespace

bool ChooseDirectory(HWND owner, const CSetup& setup, HINSTANCE instance, wchar_t* path, std::size_t capacity)
{
    const DLGTEMPLATE* dialog = setup.Dialog(kDialogChooseDirectory);
    if (!dialog) {
        win::FittedMessageBox(owner, setup.Text(kGroupMessages, 31), setup.Caption(), MB_OK | MB_ICONSTOP);
        return false;
    }
    auto* state = static_cast<ChooseState*>(win::Allocate(sizeof(ChooseState)));
    if (!state) return false;
    state->setup = &setup;
    state->path = path;
    state->capacity = capacity;
    INT_PTR result = DialogBoxIndirectParamW(instance, dialog, owner, ChooseProc, reinterpret_cast<LPARAM>(state));
    win::Release(state);
    if (result == -1) win::FittedMessageBox(owner, setup.Text(kGroupMessages, 31), setup.Caption(), MB_OK | MB_ICONSTOP);
    return result == IDOK;
}

}  // namespace sw::wizard
