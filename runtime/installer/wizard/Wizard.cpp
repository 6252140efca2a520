// The wizard's page flow: one modeless dialog per page, made from the program's templates
// and replaced by the next page's dialog at the same place; the message loop; the buttons;
// the install on its worker thread; the end.
#include "Wizard.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <new>

#include "../../win32/Heap.h"
#include "../../win32/SystemLibrary.h"
#include "../ExitCodes.h"
#include "WizardState.h"

namespace sw::wizard {
namespace {

using namespace sw::dialogs;

constexpr UINT_PTR kSimulationTimer = 1;
constexpr UINT kSimulationStep = 40;  // milliseconds

bool TemplateHasBitmapBand(const DLGTEMPLATE* dialog)
{
    const auto* words = reinterpret_cast<const WORD*>(dialog);
    // DLGTEMPLATEEX begins with version 1 and 0xFFFF; its width is word 11.
    const short width = words[0] == 1 && words[1] == 0xFFFF ? static_cast<short>(words[11]) : dialog->cx;
    return width >= kPageWidth + kBitmapBand;
}

void InvalidData(CWizard& wizard)
{
    Message(wizard, wizard.page, wizard.setup.Text(kGroupMessages, 31), MB_OK | MB_ICONSTOP);
    wizard.exitCode = kExitInvalidData;
    wizard.done = true;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Replaces the current page by page `index`. False (the wizard ends, invalid data) when
// its template is missing or Windows refuses it.
bool ShowPage(CWizard& wizard, unsigned index)
{
    const DLGTEMPLATE* dialog = wizard.setup.Dialog(index);
    if (!dialog) {
        InvalidData(wizard);
        return false;
    }
    wizard.bitmapBand = TemplateHasBitmapBand(dialog);
    wizard.pageIndex = index;
    HWND old = wizard.page;
    HWND page = CreateDialogIndirectParamW(wizard.instance, dialog, wizard.background, PageProc,
                                           reinterpret_cast<LPARAM>(&wizard));
    if (!page) {
        InvalidData(wizard);
        return false;
    }
    if (old) {
        RECT r;
        GetWindowRect(old, &r);
        SetWindowPos(page, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    wizard.page = page;
    ShowWindow(page, SW_SHOW);
    if (HWND information = GetDlgItem(page, kIdInformation)) {
        // The information from its first line (setting the text left the caret at its end).
        SendMessageW(information, EM_SETSEL, 0, 0);
        SendMessageW(information, EM_SCROLLCARET, 0, 0);
        SendMessageW(information, WM_VSCROLL, SB_TOP, 0);
    }
    SetForegroundWindow(page);
    if (old) DestroyWindow(old);
    // The focus: the directory on its page, else the button that moves on.
    HWND focus = index == kDialogDirectory ? GetDlgItem(page, kIdDirectory) : GetDlgItem(page, kIdOk);
    if (!focus || !IsWindowEnabled(focus)) focus = GetDlgItem(page, kIdCancel);
    if (focus) SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    return true;
}

void StartInstall(CWizard& wizard)
{
    if (!ShowPage(wizard, kDialogInstalling)) return;
    if (wizard.test) {
        wizard.simulatedPermille = 0;
        wizard.simulationEnds = true;
        SetTimer(wizard.page, kSimulationTimer, kSimulationStep, nullptr);
        return;
    }
    wizard.worker = static_cast<CInstallWorker*>(win::Allocate(sizeof(CInstallWorker)));
    if (wizard.worker) wizard.worker = new (wizard.worker) CInstallWorker;
    if (!wizard.worker || !wizard.worker->Start(wizard.setup, wizard.directory, wizard.page)) {
        wizard.end.succeeded = false;
        wizard.end.reason = wizard.setup.Text(kGroupMessages, 12);
        wizard.exitCode = kExitWriteFailed;
        ShowPage(wizard, kDialogEnd);
        return;
    }
    wizard.installing = true;
}

void InstallDone(CWizard& wizard)
{
    wizard.worker->Join();
    wizard.installing = false;
    const InstallOutcome& outcome = wizard.worker->Outcome();
    wizard.end.succeeded = outcome.exitCode == kExitSuccess;
    wizard.end.reason = outcome.reason;
    wizard.end.viewFile = outcome.viewFile;
    wizard.end.runFile = outcome.runFile;
    wizard.end.restartNeeded = outcome.restartNeeded;
    wizard.exitCode = outcome.exitCode;
    ShowPage(wizard, kDialogEnd);
}

void Open(HWND owner, const wchar_t* file)
{
    if (!file || !file[0]) return;
    // Started in its own folder.
    wchar_t* folder = win::CopyWide(file);
    if (folder) {
        std::size_t n = win::WideLength(folder);
        while (n > 0 && folder[n - 1] != L'\\') --n;
        folder[n > 3 ? n - 1 : n] = 0;
    }
    ShellExecuteW(owner, nullptr, file, nullptr, folder && folder[0] ? folder : nullptr, SW_SHOWNORMAL);
    win::Release(folder);
}

bool Restart()
{
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    return ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION |
                                         SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

// OK on the End page: view and run what the texts say, then leave.
void Finish(CWizard& wizard)
{
    const CSetup& setup = wizard.setup;
    const EndState& end = wizard.end;
    if (!wizard.test && end.succeeded) {
        if (end.viewFile && !setup.Text(kGroupEnd, 5)[0]) Open(wizard.page, end.viewFile);
        if (end.runFile && (!setup.Text(kGroupEnd, 6)[0] || IsDlgButtonChecked(wizard.page, kIdRun) == BST_CHECKED))
            Open(wizard.page, end.runFile);
    }
    if (wizard.test)
        wizard.exitCode = kExitSuccess;
    else if (end.succeeded && end.restartNeeded)
        wizard.exitCode = kExitRebootNeeded;
    wizard.done = true;
}

// Exit before the installation: asks first (a test program just closes).
void Leave(CWizard& wizard)
{
    if (!wizard.test &&
        Message(wizard, wizard.page, wizard.setup.Text(kGroupMessages, 14), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    wizard.exitCode = wizard.test ? kExitSuccess : kExitCancelled;
    wizard.done = true;
}

void Next(CWizard& wizard)
{
    switch (wizard.pageIndex) {
    case kDialogWelcome:
        ShowPage(wizard, HasInformation(wizard.setup) ? kDialogInformation : kDialogDirectory);
        break;
    case kDialogInformation:
        ShowPage(wizard, kDialogDirectory);
        break;
    case kDialogDirectory:
        if (AcceptDirectory(wizard, wizard.page)) ShowPage(wizard, kDialogConfirmation);
        break;
    case kDialogConfirmation:
        StartInstall(wizard);
        break;
    case kDialogEnd:
        Finish(wizard);
        break;
    default:
        break;
    }
}

void Back(CWizard& wizard)
{
    switch (wizard.pageIndex) {
    case kDialogInformation:
        ShowPage(wizard, kDialogWelcome);
        break;
    case kDialogDirectory: {
        // Keep what was typed.
        GetDlgItemTextW(wizard.page, kIdDirectory, wizard.directory, kPathCapacity);
        ShowPage(wizard, HasInformation(wizard.setup) ? kDialogInformation : kDialogWelcome);
        break;
    }
    case kDialogConfirmation:
        ShowPage(wizard, kDialogDirectory);
        break;
    default:
        break;
    }
}

void Cancel(CWizard& wizard)
{
    switch (wizard.pageIndex) {
    case kDialogInstalling:
        if (wizard.test) {
            wizard.exitCode = kExitSuccess;
            wizard.done = true;
        } else if (wizard.installing && !wizard.askingCancel && !wizard.worker->Stopping()) {
            // The engine waits at its next check until the question is answered: Yes stops
            // it there and it rolls back; the End page follows.
            wizard.worker->Pause();
            wizard.askingCancel = true;
            bool stop = Message(wizard, wizard.page, wizard.setup.Text(kGroupMessages, 13), MB_YESNO | MB_ICONQUESTION) == IDYES;
            wizard.askingCancel = false;
            if (stop && !wizard.doneWhileAsking) {
                wizard.worker->RequestStop();
                EnableWindow(GetDlgItem(wizard.page, kIdCancel), FALSE);
            } else {
                wizard.worker->Resume();
            }
            if (wizard.doneWhileAsking) {
                // It was past its last check: the installation is complete.
                wizard.doneWhileAsking = false;
                InstallDone(wizard);
            }
        }
        break;
    case kDialogEnd:
        Finish(wizard);
        break;
    default:
        Leave(wizard);
        break;
    }
}

void Command(CWizard& wizard, HWND page, int id, int code)
{
    switch (id) {
    case kIdOk:
        Next(wizard);
        break;
    case kIdCancel:
        Cancel(wizard);
        break;
    case kIdBack:
        Back(wizard);
        break;
    case kIdBrowse: {
        wchar_t path[kPathCapacity];
        GetDlgItemTextW(page, kIdDirectory, path, kPathCapacity);
        if (ChooseDirectory(page, wizard.setup, wizard.instance, path, kPathCapacity)) SetDlgItemTextW(page, kIdDirectory, path);
        break;
    }
    case kIdDirectory:
        if (code == EN_CHANGE) UpdateSpace(wizard, page);
        break;
    case kIdView:
        if (!wizard.test) Open(page, wizard.end.viewFile);
        break;
    case kIdRestart:
        if (!wizard.test && Restart()) {
            wizard.exitCode = kExitSuccess;
            wizard.done = true;
        }
        break;
    default:
        break;
    }
}

void PaintBitmap(CWizard& wizard, HWND page)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    if (wizard.bitmapBand && wizard.bitmap.info) {
        RECT band{kMargin, kMargin, kBitmapBand, kContentBottom};
        MapDialogRect(page, &band);
        DrawDibInBand(dc, wizard.bitmap, band);
    }
    EndPaint(page, &paint);
}

void Simulate(CWizard& wizard, HWND page)
{
    wizard.simulatedPermille += 20;
    if (wizard.simulatedPermille > 1000) {
        if (wizard.simulationEnds) {
            KillTimer(page, kSimulationTimer);
            wizard.end = EndState{};
            ShowPage(wizard, kDialogEnd);
            return;
        }
        wizard.simulatedPermille = 0;
    }
    SendDlgItemMessageW(page, kIdProgress, PBM_SETPOS, wizard.simulatedPermille, 0);
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* wizard = reinterpret_cast<CWizard*>(GetWindowLongPtrW(page, DWLP_USER));
    if (message == WM_INITDIALOG) {
        wizard = reinterpret_cast<CWizard*>(lParam);
        SetWindowLongPtrW(page, DWLP_USER, lParam);
        FillPage(*wizard, page, wizard->pageIndex);
        return FALSE;  // ShowPage sets the focus
    }
    if (!wizard) return FALSE;
    switch (message) {
    case WM_COMMAND:
        Command(*wizard, page, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        Cancel(*wizard);
        return TRUE;
    case WM_PAINT:
        PaintBitmap(*wizard, page);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        // The information reads like a document: dark on the window colour, read-only as it is.
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, kIdInformation)) {
            auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        }
        return FALSE;
    case WM_TIMER:
        if (wParam == kSimulationTimer) Simulate(*wizard, page);
        return TRUE;
    case kMsgFile:
        SetDlgItemTextW(page, kIdCurrentFile, reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    case kMsgProgress:
        SendDlgItemMessageW(page, kIdProgress, PBM_SETPOS, wParam, 0);
        return TRUE;
    case kMsgAsk:
        SetWindowLongPtrW(page, DWLP_MSGRESULT,
                          Message(*wizard, page, reinterpret_cast<const wchar_t*>(lParam), static_cast<UINT>(wParam)));
        return TRUE;
    case kMsgDone:
        if (wizard->askingCancel)
            wizard->doneWhileAsking = true;
        else
            InstallDone(*wizard);
        return TRUE;
    default:
        return FALSE;
    }
}

unsigned StartPage(const CSetup& setup)
{
    if (!setup.IsTest()) return kDialogWelcome;
    int page = setup.TestPage();
    return page >= 0 && page < static_cast<int>(kPageCount) ? static_cast<unsigned>(page) : kDialogWelcome;
}

}  // namespace
}  // namespace sw::wizard

int RunWizard(const sw::CSetup& setup, HINSTANCE instance)
{
    using namespace sw::wizard;
    // comctl32 from the system folder only (see win32/SystemLibrary.h).
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init = sw::win::SystemFunction<InitFunction>(L"comctl32.dll", "InitCommonControlsEx")) init(&controls);

    CWizard wizard(setup, instance);
    wizard.test = setup.IsTest();
    const wchar_t* proposed = setup.ProposedDirectory();
    for (std::size_t i = 0; i + 1 < kPathCapacity && proposed[i]; ++i) wizard.directory[i] = proposed[i];
    LoadDib(setup.WizardBitmap(), wizard.bitmap);
    if (setup.FullScreen()) wizard.background = CreateBackground(setup, instance);

    const unsigned first = StartPage(setup);
    // A test program started on the Installing page: the bar moves and the page stays.
    if (ShowPage(wizard, first) && first == sw::dialogs::kDialogInstalling && wizard.test)
        SetTimer(wizard.page, kSimulationTimer, kSimulationStep, nullptr);
    MSG message;
    while (!wizard.done) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (wizard.installing) {
                wizard.worker->RequestStop();
                wizard.worker->Join();
            }
            if (!wizard.done) wizard.exitCode = sw::kExitCancelled;
            break;
        }
        if (wizard.page && IsDialogMessageW(wizard.page, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (wizard.page) DestroyWindow(wizard.page);
    DestroyBackground(wizard.background);
    if (wizard.worker) {
        wizard.worker->~CInstallWorker();
        sw::win::Release(wizard.worker);
    }
    FreeDib(wizard.bitmap);
    if (wizard.boldFont) DeleteObject(wizard.boldFont);
    return wizard.exitCode;
}
