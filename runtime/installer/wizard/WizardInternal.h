#pragma once
// What the parts of the wizard share: the wizard's state, the bitmap and text-layout
// helpers, the background window, the directory dialog and the install worker.
#include <windows.h>

#include <cstdint>

#include "../Setup.h"
#include "DialogIds.h"

namespace sw::wizard {

// Messages to a page. The install worker sends them; the Ask answer is the message result.
enum : UINT {
    kMsgFile = WM_APP + 1,      // lParam: the file's name (valid during the call)
    kMsgProgress = WM_APP + 2,  // wParam: per mille done
    kMsgAsk = WM_APP + 3,       // wParam: MessageBox type, lParam: the text
    kMsgDone = WM_APP + 4,      // the worker has finished
};

// ---- BitmapPanel.cpp: a .bmp file in memory as a device-independent bitmap -------------

struct Dib {
    BITMAPINFO* info = nullptr;  // own copy: a 40-byte header, masks, colours
    const std::uint8_t* bits = nullptr;  // inside the file's bytes
    int width = 0, height = 0;   // height > 0 (the header's sign says the row order)
};

// Checks every size of the file against the buffer; false (and nothing kept) for anything
// odd: compressed formats, sizes that do not fit, bit counts Windows does not know.
bool LoadDib(const Bitmap& file, Dib& dib);
void FreeDib(Dib& dib);
// Draws the bitmap at the top of `band`, centred across it, shrunk to fit (never enlarged).
void DrawDibInBand(HDC dc, const Dib& dib, const RECT& band);
// A bitmap object with the pixels (for a pattern brush); nullptr on failure.
HBITMAP CreateBitmapFromDib(const Dib& dib);

// ---- TextFit.cpp: a column of controls that gives each text the lines it needs ---------

enum class Row : std::uint8_t {
    next,   // a new row, a paragraph's gap under the last one
    tight,  // a new row, close under the last one
    same,   // beside the row's first control, at the same height
};

struct FlowItem {
    std::uint16_t id;
    Row row;
};

// Moves the visible controls of `items` (in this order) down the page from `top` (dialog
// units) so that none overlaps another and every multi-line static text is as high as its
// text needs at its width; texts that cannot fit above `bottom` are cut there.
void FlowColumn(HWND dialog, const FlowItem* items, std::size_t count, int top, int bottom);
// Sets the widths of the labels to the widest of their texts and moves each value to the
// right of the labels, up to the right edge of the value.
void AlignLabels(HWND dialog, const std::uint16_t* labels, const std::uint16_t* values, std::size_t count);
// Shows or hides a control.
void Show(HWND dialog, int id, bool visible);
bool IsShown(HWND dialog, int id);
// Sizes a push button to its caption (at least its template width, at most `maxWidth`
// dialog units).
void FitButton(HWND dialog, int id, int maxWidth);
// Line feeds become CR LF, as a multi-line edit wants them; the caller releases the copy.
wchar_t* WithCarriageReturns(const wchar_t* text);

// ---- Background.cpp: the full-screen window behind the wizard --------------------------

HWND CreateBackground(const CSetup& setup, HINSTANCE instance);
void DestroyBackground(HWND background);

// ---- DirectoryDialog.cpp: the dialog of the Browse button ------------------------------

// Shows the directory dialog starting at `path` (capacity characters); true and the chosen
// directory in `path` on OK.
bool ChooseDirectory(HWND owner, const CSetup& setup, HINSTANCE instance, wchar_t* path, std::size_t capacity);

// ---- Directories.cpp: checks of the directory page --------------------------------------

inline constexpr std::size_t kPathCapacity = 1024;

// Puts a typed directory in its canonical form (CanonicalDirectoryPath): blanks and trailing
// backslashes gone, doubled backslashes single, "." and ".." resolved.
void TrimPath(wchar_t* path);
// An absolute path (X:\... or \\server\share\...) without characters Windows forbids in
// names and without "." or ".." parts.
bool IsValidDirectory(const wchar_t* path);
bool DirectoryExists(const wchar_t* path);
// The deepest folder of `path` that exists (the path itself when it does); false when not
// even its root exists.
bool ExistingAncestor(const wchar_t* path, wchar_t* out, std::size_t capacity);
// Free bytes for this user on the volume of the existing part of `path`; false if unknown.
bool AvailableSpace(const wchar_t* path, std::uint64_t& bytes);
// Decimal digits of `value` into `out` (at least 21 characters).
void FormatNumber(std::uint64_t value, wchar_t* out);

// ---- InstallWorker.cpp: RunInstall on a worker thread ------------------------------------

class CInstallWorker final : public IInstallObserver {
public:
    ~CInstallWorker();
    // Starts RunInstall into `directory`; the page `notify` gets the messages above and
    // kMsgDone at the end. False when the thread cannot start.
    bool Start(const CSetup& setup, const wchar_t* directory, HWND notify);
    // While the page asks whether to cancel, the engine waits at its next check: no file
    // is decoded on. Resume lets it go on; RequestStop lets it go on to stop and roll back.
    void Pause();
    void Resume();
    void RequestStop();
    bool Stopping() const { return InterlockedCompareExchange(const_cast<volatile LONG*>(&m_stop), 0, 0) != 0; }
    // Waits for the thread (after kMsgDone it has nothing left to do).
    void Join();
    InstallOutcome& Outcome() { return m_outcome; }

    void OnFile(const wchar_t* name) override;
    void OnProgress(std::uint64_t done, std::uint64_t total) override;
    // On the worker thread: waits while paused.
    bool StopRequested() override;
    int Ask(const wchar_t* message, UINT type) override;

private:
    static DWORD WINAPI ThreadMain(void* self);

    const CSetup* m_setup = nullptr;
    const wchar_t* m_directory = nullptr;
    HWND m_notify = nullptr;
    HANDLE m_thread = nullptr;
    HANDLE m_running = nullptr;  // manual-reset event: set unless paused
    volatile LONG m_stop = 0;
    unsigned m_lastPermille = ~0u;
    InstallOutcome m_outcome;
};

}  // namespace sw::wizard
