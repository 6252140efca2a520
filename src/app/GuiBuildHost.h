#pragma once
// The build's host in the window: questions and messages in message boxes, a progress bar
// with its percentage in the status bar, Escape to stop, and the window kept responsive by
// handling its events from inside the build.
#include <utility>

#include <wx/frame.h>
#include <wx/gauge.h>

#include "build/BuildHost.h"
#include "model/ScanHost.h"

namespace sw {

class CGuiBuildHost : public IBuildHost, public IScanHost {
public:
    explicit CGuiBuildHost(wxFrame& frame);

    int MessageBox(const std::string& text, unsigned type) override;
    void ShowProgress(const std::string& initialText) override;
    void SetProgress(int position, const std::string& text) override;
    void HideProgress() override;
    // False once the user asked to quit; the frame closes after the build.
    bool HandlePendingMessages() override;
    bool IsEscapeDown() override;
    void ShowStatusText(const std::string& text) override;

    // An Escape key press seen by the frame while it was busy.
    void NoteEscapePressed() { m_bEscapePressed = true; }
    void RequestQuit() { m_bQuitRequested = true; }
    // True once: the quit asked for during the build is handed over to the frame.
    bool TakeQuitRequest() { return std::exchange(m_bQuitRequested, false); }
    wxGauge* GetGauge() { return m_pGauge; }

private:
    wxFrame& m_frame;
    wxGauge* m_pGauge = nullptr;
    bool m_bEscapePressed = false;
    bool m_bQuitRequested = false;
};

}  // namespace sw
