#include "app/GuiBuildHost.h"

#include <wx/app.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "pages/MessageBoxes.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kProgressRange = 10000;
// The percentage text stays readable at the left of the first pane; the bar takes the rest.
constexpr int kPercentageWidth = 80;
}  // namespace

CGuiBuildHost::CGuiBuildHost(wxFrame& frame) : m_frame(frame) {}

int CGuiBuildHost::MessageBox(const std::string& text, unsigned type) { return ShowMessageBox(text, type); }

void CGuiBuildHost::ShowProgress(const std::string& initialText)
{
    wxStatusBar* bar = m_frame.GetStatusBar();
    if (!bar) return;
    m_bEscapePressed = false;
    wxRect pane;
    bar->GetFieldRect(0, pane);
    pane.x += kPercentageWidth;
    pane.width = std::max(10, pane.width - kPercentageWidth);
    pane.Deflate(0, 2);
    m_pGauge = new wxGauge(bar, wxID_ANY, kProgressRange, pane.GetPosition(), pane.GetSize());
    bar->SetStatusText(Wx(initialText), 0);
    bar->Update();
}

void CGuiBuildHost::SetProgress(int position, const std::string& text)
{
    if (!m_pGauge) return;
    m_pGauge->SetValue(std::clamp(position, 0, kProgressRange));
    m_frame.GetStatusBar()->SetStatusText(Wx(text), 0);
}

void CGuiBuildHost::HideProgress()
{
    if (m_pGauge) m_pGauge->Destroy();
    m_pGauge = nullptr;
    ShowStatusText({});
}

bool CGuiBuildHost::HandlePendingMessages()
{
    if (wxTheApp) wxTheApp->Yield(true);
    return !m_bQuitRequested;
}

bool CGuiBuildHost::IsEscapeDown()
{
    bool pressed = m_bEscapePressed || wxGetKeyState(WXK_ESCAPE);
    m_bEscapePressed = false;
    return pressed;
}

void CGuiBuildHost::ShowStatusText(const std::string& text)
{
    wxStatusBar* bar = m_frame.GetStatusBar();
    if (!bar) return;
    // An empty pane shows the idle text, as the window does between commands.
    bar->SetStatusText(Wx(text.empty() ? LoadString(IDS_IDLE_MESSAGE) : text), 0);
    bar->Update();
}

}  // namespace sw
