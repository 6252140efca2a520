#pragma once
// The state of one run of the wizard, shared by the page flow (Wizard.cpp) and the filling
// of the pages (Pages.cpp).
#include "WizardInternal.h"

namespace sw::wizard {

// What the End page reports.
struct EndState {
    bool succeeded = true;
    const wchar_t* reason = nullptr;  // why not, when it did not succeed
    const wchar_t* viewFile = nullptr;
    const wchar_t* runFile = nullptr;
    bool restartNeeded = false;
};

struct CWizard {
    const CSetup& setup;
    HINSTANCE instance;
    bool test = false;
    HWND background = nullptr;  // full-screen mode only
    HWND page = nullptr;
    unsigned pageIndex = 0;
    bool bitmapBand = false;  // the templates leave the band at the left for the bitmap
    Dib bitmap;
    wchar_t directory[kPathCapacity] = {};
    bool done = false;
    int exitCode = 0;
    CInstallWorker* worker = nullptr;
    bool installing = false;
    // "Are you sure you want to cancel?" is open (the engine waits meanwhile), and the engine
    // finished before it came to wait: the End page follows once the question is answered.
    bool askingCancel = false;
    bool doneWhileAsking = false;
    EndState end;
    // A test program's Installing page: a progress bar that moves on its own, and goes on
    // to the End page when the page was reached with Start.
    unsigned simulatedPermille = 0;
    bool simulationEnds = false;
    HFONT boldFont = nullptr;  // the welcome sentence's, made from the pages' font

    CWizard(const CSetup& s, HINSTANCE i) : setup(s), instance(i) {}
};

// Pages.cpp
bool HasInformation(const CSetup& setup);
// Sets the caption, every text and the layout of a page that was just created.
void FillPage(CWizard& wizard, HWND page, unsigned index);
// Reads the directory page's edit into wizard.directory and checks it, asking what the
// texts ask; true when the wizard may go on to the Confirmation page.
bool AcceptDirectory(CWizard& wizard, HWND page);
// The disk space rows of the directory page, for the directory in its edit.
void UpdateSpace(CWizard& wizard, HWND page);
// Message box with the wizard's caption.
int Message(const CWizard& wizard, HWND owner, const wchar_t* text, UINT type);

}  // namespace sw::wizard
