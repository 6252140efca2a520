#include "cli/ConsoleBuildHost.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "build/ReportColumns.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

std::string AskLine()
{
    std::string line;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) line += static_cast<char>(c);
    return line;
}

}  // namespace

// Ctrl+C, and a stop asked for by the system or a closed terminal, all end a build the same
// way: it is cancelled and leaves neither its output nor its temporary file behind.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

CConsoleBuildHost::CConsoleBuildHost(bool assumeYes)
    : m_bAssumeYes(assumeYes), m_bInteractive(::isatty(0) && ::isatty(2)), m_bShowProgress(::isatty(2))
{
    for (int stop : kStopSignals) std::signal(stop, OnInterrupt);
}

CConsoleBuildHost::~CConsoleBuildHost()
{
    for (int stop : kStopSignals) std::signal(stop, SIG_DFL);
}

bool CConsoleBuildHost::Interrupted() { return g_interrupted != 0; }

int CConsoleBuildHost::MessageBox(const std::string& text, unsigned type)
{
    HideProgress();
    std::fprintf(stderr, "setwright-cli: %s\n", text.c_str());
    unsigned buttons = type & 0xF;
    if (buttons == MB_OK) return IDOK;
    int yes = buttons == MB_YESNO ? IDYES : buttons == MB_OKCANCEL ? IDOK : IDRETRY;
    int no = buttons == MB_YESNO ? IDNO : IDCANCEL;
    if (m_bAssumeYes && buttons != MB_RETRYCANCEL) {
        std::fprintf(stderr, "setwright-cli: %s\n", LoadString(IDS_CLI_ANSWERED_YES).c_str());
        return yes;
    }
    if (!m_bInteractive) {
        std::fprintf(stderr, "setwright-cli: %s\n", LoadString(IDS_CLI_ANSWERED_NO).c_str());
        return no;
    }
    std::fprintf(stderr, "%s ", LoadString(buttons == MB_YESNO ? IDS_CLI_PROMPT_YES_NO : IDS_CLI_PROMPT_CONTINUE).c_str());
    std::fflush(stderr);
    std::string answer = AskLine();
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? yes : no;
}

void CConsoleBuildHost::ShowProgress(const std::string& initialText)
{
    if (m_bShowProgress) std::fprintf(stderr, "\r%s", initialText.c_str());
}

void CConsoleBuildHost::SetProgress(int position, const std::string& text)
{
    if (!m_bShowProgress) return;
    constexpr int kWidth = 40;
    int filled = position * kWidth / 10000;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), ' ');
    std::fprintf(stderr, "\r[%s] %s ", bar.c_str(), text.c_str());
}

void CConsoleBuildHost::HideProgress()
{
    if (m_bShowProgress) std::fprintf(stderr, "\r%60s\r", "");
}

bool CConsoleBuildHost::HandlePendingMessages() { return !Interrupted(); }

void CConsoleReport::Flush()
{
    if (m_bPending) std::printf("%s\n", m_strPending.c_str());
    m_bPending = false;
}

void CConsoleReport::AddLine(const std::string& text)
{
    Flush();
    m_strPending = text;
    m_bPending = true;
}

void CConsoleReport::SetResult(int actionId, std::uint64_t size, std::uint64_t packedSize)
{
    // The columns of the Build page: file, packed, size, ratio; the action when it is not "Add".
    ResultColumns columns = FormatResultColumns(actionId, size, packedSize);
    char row[512];
    std::snprintf(row, sizeof row, "%-40s %13s %13s %6s", m_strPending.c_str(), columns.packed.c_str(), columns.size.c_str(),
                  columns.ratio.c_str());
    m_strPending = row;
    if (actionId != IDS_ACTION_ADD) m_strPending += "  " + LoadString(actionId);
    Flush();
}

}  // namespace sw
