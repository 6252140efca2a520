#pragma once
// What a build needs from whoever runs it. The builder never talks to a window: the GUI
// answers these calls with its status bar, message boxes and report list, the
// command-line build with the console.
#include <cstdint>
#include <string>

namespace sw {

// The report list of a build: one line per file, with its result.
class IBuildReport {
public:
    virtual ~IBuildReport() = default;
    virtual void AddLine(const std::string& text) = 0;
    // Fills the result columns of the last line: the action (string 1081 "Add" or 1084
    // "Invalid name"), the size and the compressed size.
    virtual void SetResult(int actionId, std::uint64_t size, std::uint64_t packedSize) = 0;
};

// Message box kinds and answers, with the values the window system gives them.
enum MessageBoxType : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONINFORMATION = 0x40,
};
enum MessageBoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDRETRY = 4, IDYES = 6, IDNO = 7 };

class IBuildHost {
public:
    virtual ~IBuildHost() = default;

    virtual int MessageBox(const std::string& text, unsigned type) = 0;

    // The progress display: a bar from 0 to 10,000 and a percentage text beside it.
    virtual void ShowProgress(const std::string& initialText) = 0;
    virtual void SetProgress(int position, const std::string& text) = 0;
    virtual void HideProgress() = 0;

    // Handles the window messages that are waiting. Returns false when one of them asked
    // the application to quit (the host posts that request again for later).
    virtual bool HandlePendingMessages() = 0;
    // True while the user holds Escape down.
    virtual bool IsEscapeDown() = 0;
};

}  // namespace sw
