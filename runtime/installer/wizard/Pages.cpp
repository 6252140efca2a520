// The contents of each page: its caption, its texts from the program's wizard texts, its
// buttons, and the layout that gives every text the room it needs. Also the checks of the
// directory page.
#include <windows.h>

#include <commctrl.h>

#include "../../win32/FittedMessageBox.h"
#include "../../win32/Heap.h"
#include "WizardState.h"

namespace sw::wizard {
namespace {

using namespace sw::dialogs;

const FlowItem kTextColumn[] = {
    {kIdText1, Row::next}, {kIdText2, Row::next}, {kIdText3, Row::next}, {kIdText4, Row::next}};

const FlowItem kDirectoryColumn[] = {
    {kIdText1, Row::next},
    {kIdDirectory, Row::tight},
    {kIdBrowse, Row::same},
    {kIdSpaceNeededLabel, Row::next},
    {kIdSpaceNeeded, Row::same},
    {kIdSpaceAvailableLabel, Row::tight},
    {kIdSpaceAvailable, Row::same},
    {kIdText2, Row::next},
    {kIdText3, Row::next},
    {kIdText4, Row::next},
};

const FlowItem kInstallingColumn[] = {
    {kIdText1, Row::next}, {kIdCurrentFile, Row::same}, {kIdProgress, Row::tight}, {kIdText2, Row::next}};

const FlowItem kEndColumn[] = {
    {kIdText1, Row::next}, {kIdText2, Row::next}, {kIdView, Row::tight},
    {kIdText3, Row::next}, {kIdRun, Row::tight},  {kIdRestartText, Row::next},
};

// Sets a control's text and shows it only when there is one.
void SetText(HWND page, int id, const wchar_t* text)
{
    SetDlgItemTextW(page, id, text);
    Show(page, id, text && text[0]);
}

void SetTexts(HWND page, const CSetup& setup, unsigned group)
{
    const std::uint16_t ids[] = {kIdText1, kIdText2, kIdText3, kIdText4};
    for (unsigned i = 0; i < 4; ++i) SetText(page, ids[i], setup.Text(group, i + 1));
}

// "<caption> - <page title>" in small mode; the page title alone in full-screen mode, where
// the background window carries the caption.
void SetCaption(HWND page, const CSetup& setup, unsigned group)
{
    const wchar_t* title = setup.Text(group, 0);
    const wchar_t* caption = setup.Caption();
    if (setup.FullScreen() || !caption[0]) {
        SetWindowTextW(page, title[0] ? title : caption);
        return;
    }
    if (!title[0]) {
        SetWindowTextW(page, caption);
        return;
    }
    std::size_t a = win::WideLength(caption), b = win::WideLength(title);
    auto* text = win::AllocateArray<wchar_t>(a + b + 4);
    if (!text) return;
    std::size_t n = 0;
    for (std::size_t i = 0; i < a; ++i) text[n++] = caption[i];
    text[n++] = L' ';
    text[n++] = L'-';
    text[n++] = L' ';
    for (std::size_t i = 0; i < b; ++i) text[n++] = title[i];
    text[n] = 0;
    SetWindowTextW(page, text);
    win::Release(text);
}

void SetButtons(HWND page, const CSetup& setup, unsigned index)
{
    SetDlgItemTextW(page, kIdBack, setup.Text(kGroupButtons, 0));
    const unsigned next = index == kDialogConfirmation ? 3 : index == kDialogEnd ? 4 : 1;
    SetDlgItemTextW(page, kIdOk, setup.Text(kGroupButtons, next));
    SetDlgItemTextW(page, kIdCancel, setup.Text(kGroupButtons, index == kDialogInstalling ? 5 : 2));
    SetDlgItemTextW(page, kIdRestart, setup.Text(kGroupButtons, 6));
    if (index == kDialogWelcome) EnableWindow(GetDlgItem(page, kIdBack), FALSE);
}

void FillDirectory(CWizard& wizard, HWND page)
{
    const CSetup& setup = wizard.setup;
    SetTexts(page, setup, kGroupDirectory);
    HWND edit = GetDlgItem(page, kIdDirectory);
    SendMessageW(edit, EM_LIMITTEXT, kPathCapacity - 1, 0);
    SetWindowTextW(edit, wizard.directory);
    if (!setup.UserCanChangeDir()) {
        SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
        EnableWindow(GetDlgItem(page, kIdBrowse), FALSE);
    }
    SetText(page, kIdSpaceNeededLabel, setup.Text(kGroupDirectory, 5));
    SetText(page, kIdSpaceAvailableLabel, setup.Text(kGroupDirectory, 6));
    Show(page, kIdSpaceNeeded, IsShown(page, kIdSpaceNeededLabel));
    Show(page, kIdSpaceAvailable, IsShown(page, kIdSpaceAvailableLabel));
    const std::uint16_t labels[] = {kIdSpaceNeededLabel, kIdSpaceAvailableLabel};
    const std::uint16_t values[] = {kIdSpaceNeeded, kIdSpaceAvailable};
    AlignLabels(page, labels, values, 2);
    UpdateSpace(wizard, page);
    FlowColumn(page, kDirectoryColumn, sizeof kDirectoryColumn / sizeof kDirectoryColumn[0], kMargin, kContentBottom);
}

void FillEnd(CWizard& wizard, HWND page)
{
    const CSetup& setup = wizard.setup;
    const EndState& end = wizard.end;
    wchar_t* failure = nullptr;
    if (end.succeeded) {
        SetText(page, kIdText1, setup.Text(kGroupEnd, 1));
    } else {
        failure = setup.FormatText(kGroupEnd, 4, end.reason && end.reason[0] ? end.reason : setup.Text(kGroupMessages, 15));
        SetText(page, kIdText1, failure);
    }
    // A test program shows what the texts say: the builder empties them when no file has
    // the View or Run option.
    const bool view = end.succeeded && (wizard.test || end.viewFile) && setup.Text(kGroupEnd, 5)[0];
    const bool run = end.succeeded && (wizard.test || end.runFile) && setup.Text(kGroupEnd, 6)[0];
    SetText(page, kIdText2, view ? setup.Text(kGroupEnd, 2) : nullptr);
    SetDlgItemTextW(page, kIdView, setup.Text(kGroupEnd, 5));
    Show(page, kIdView, view);
    FitButton(page, kIdView, kPageWidth - 2 * kMargin);
    SetText(page, kIdText3, run ? setup.Text(kGroupEnd, 3) : nullptr);
    SetDlgItemTextW(page, kIdRun, setup.Text(kGroupEnd, 6));
    CheckDlgButton(page, kIdRun, BST_CHECKED);
    Show(page, kIdRun, run);
    SetText(page, kIdRestartText, end.restartNeeded ? setup.Text(kGroupEnd, 7) : nullptr);
    Show(page, kIdRestart, end.restartNeeded);
    FlowColumn(page, kEndColumn, sizeof kEndColumn / sizeof kEndColumn[0], kMargin, kContentBottom);
    win::Release(failure);
}

}  // namespace

int Message(const CWizard& wizard, HWND owner, const wchar_t* text, UINT type)
{
    return win::FittedMessageBox(owner, text, wizard.setup.Caption(), type);
}

bool HasInformation(const CSetup& setup) { return setup.Text(kGroupInformation, 1)[0] != 0; }

void FillPage(CWizard& wizard, HWND page, unsigned index)
{
    const CSetup& setup = wizard.setup;
    SetCaption(page, setup, index);
    SetButtons(page, setup, index);
    switch (index) {
    case kDialogWelcome:
        SetTexts(page, setup, kGroupWelcome);
        // The welcome sentence in bold.
        if (HWND welcome = GetDlgItem(page, kIdText1)) {
            if (!wizard.boldFont) {
                LOGFONTW font{};
                auto pageFont = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
                if (pageFont && GetObjectW(pageFont, sizeof font, &font) == sizeof font) {
                    font.lfWeight = FW_BOLD;
                    wizard.boldFont = CreateFontIndirectW(&font);
                }
            }
            if (wizard.boldFont) SendMessageW(welcome, WM_SETFONT, reinterpret_cast<WPARAM>(wizard.boldFont), FALSE);
        }
        FlowColumn(page, kTextColumn, 4, kMargin, kContentBottom);
        break;
    case kDialogInformation:
        if (wchar_t* text = WithCarriageReturns(setup.Text(kGroupInformation, 1))) {
            SetDlgItemTextW(page, kIdInformation, text);
            win::Release(text);
        }
        break;
    case kDialogDirectory:
        FillDirectory(wizard, page);
        break;
    case kDialogConfirmation: {
        SetTexts(page, setup, kGroupConfirmation);
        wchar_t* text = setup.FormatText(kGroupConfirmation, 2, wizard.directory);
        if (text) SetText(page, kIdText2, text);
        win::Release(text);
        FlowColumn(page, kTextColumn, 4, kMargin, kContentBottom);
        break;
    }
    case kDialogInstalling: {
        SetText(page, kIdText1, setup.Text(kGroupProgress, 1));
        SetText(page, kIdText2, setup.Text(kGroupProgress, 2));
        SetDlgItemTextW(page, kIdCurrentFile, L"");
        const std::uint16_t label = kIdText1, value = kIdCurrentFile;
        if (IsShown(page, kIdText1)) AlignLabels(page, &label, &value, 1);
        SendDlgItemMessageW(page, kIdProgress, PBM_SETRANGE32, 0, 1000);
        FlowColumn(page, kInstallingColumn, 4, kMargin, kContentBottom);
        break;
    }
    case kDialogEnd:
        FillEnd(wizard, page);
        break;
    default:
        break;
    }
}

void UpdateSpace(CWizard& wizard, HWND page)
{
    const CSetup& setup = wizard.setup;
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    wchar_t number[24];
    FormatNumber((setup.SpaceNeeded() + kMegabyte - 1) / kMegabyte, number);
    if (wchar_t* text = setup.FormatText(kGroupDirectory, 7, number)) {
        SetDlgItemTextW(page, kIdSpaceNeeded, text);
        win::Release(text);
    }
    wchar_t path[kPathCapacity];
    GetDlgItemTextW(page, kIdDirectory, path, kPathCapacity);
    TrimPath(path);
    std::uint64_t available = 0;
    if (IsValidDirectory(path) && AvailableSpace(path, available)) {
        FormatNumber(available / kMegabyte, number);
        if (wchar_t* text = setup.FormatText(kGroupDirectory, 7, number)) {
            SetDlgItemTextW(page, kIdSpaceAvailable, text);
            win::Release(text);
        }
    } else {
        SetDlgItemTextW(page, kIdSpaceAvailable, L"");
    }
}

bool AcceptDirectory(CWizard& wizard, HWND page)
{
    const CSetup& setup = wizard.setup;
    wchar_t path[kPathCapacity];
    GetDlgItemTextW(page, kIdDirectory, path, kPathCapacity);
    TrimPath(path);
    for (std::size_t i = 0; i < kPathCapacity; ++i)
        if (!(wizard.directory[i] = path[i])) break;
    HWND edit = GetDlgItem(page, kIdDirectory);
    if (!IsValidDirectory(path)) {
        Message(wizard, page, setup.Text(kGroupMessages, 5), MB_OK | MB_ICONEXCLAMATION);
        SetFocus(edit);
        return false;
    }
    // A directory that does not exist is created by the engine, if the user wants it.
    if (!DirectoryExists(path) && Message(wizard, page, setup.Text(kGroupMessages, 6), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SetFocus(edit);
        return false;
    }
    std::uint64_t available = 0;
    if (AvailableSpace(path, available) && available < setup.SpaceNeeded() &&
        Message(wizard, page, setup.Text(kGroupMessages, 11), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SetFocus(edit);
        return false;
    }
    return true;
}

}  // namespace sw::wizard
