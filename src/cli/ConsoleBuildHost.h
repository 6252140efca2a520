#pragma once
// The build's host on a console: messages on standard error, questions answered at the
// terminal (or by --yes, or refused when nobody can answer), progress on standard error
// when it is a terminal, and Ctrl+C as the way to stop.
#include "build/BuildHost.h"

namespace sw {

class CConsoleBuildHost : public IBuildHost {
public:
    // assumeYes: answer Yes and OK without asking (never Retry, which could loop for ever).
    explicit CConsoleBuildHost(bool assumeYes);
    ~CConsoleBuildHost() override;

    int MessageBox(const std::string& text, unsigned type) override;
    void ShowProgress(const std::string& initialText) override;
    void SetProgress(int position, const std::string& text) override;
    void HideProgress() override;
    bool HandlePendingMessages() override;
    bool IsEscapeDown() override { return false; }

    // True once Ctrl+C was pressed.
    static bool Interrupted();

private:
    bool m_bAssumeYes;
    bool m_bInteractive;
    bool m_bShowProgress;
};

// Prints the report lines of a build on standard output, one line per file with its result.
class CConsoleReport : public IBuildReport {
public:
    ~CConsoleReport() override { Flush(); }
    void AddLine(const std::string& text) override;
    void SetResult(int actionId, std::uint64_t size, std::uint64_t packedSize) override;

private:
    void Flush();
    std::string m_strPending;
    bool m_bPending = false;
};

}  // namespace sw
