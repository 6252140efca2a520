// RunInstall on a worker thread while the Installing page shows. Everything the engine
// reports or asks goes to the page with SendMessage, so that the page's thread alone
// touches windows; the worker waits for the answer. While the page asks whether to cancel,
// the worker waits at the engine's next check for a stop.
#include "WizardInternal.h"

namespace sw::wizard {

CInstallWorker::~CInstallWorker()
{
    Join();
    if (m_running) CloseHandle(m_running);
}

bool CInstallWorker::Start(const CSetup& setup, const wchar_t* directory, HWND notify)
{
    m_setup = &setup;
    m_directory = directory;
    m_notify = notify;
    m_running = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (!m_running) return false;
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    return m_thread != nullptr;
}

void CInstallWorker::Pause()
{
    if (m_running) ResetEvent(m_running);
}

void CInstallWorker::Resume()
{
    if (m_running) SetEvent(m_running);
}

void CInstallWorker::RequestStop()
{
    InterlockedExchange(&m_stop, 1);
    Resume();
}

bool CInstallWorker::StopRequested()
{
    // Never while the page's thread waits for this one: the engine asks only between its
    // SendMessage calls, so the page can always answer the question and set the event.
    if (m_running) WaitForSingleObject(m_running, INFINITE);
    return Stopping();
}

void CInstallWorker::Join()
{
    if (!m_thread) return;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI CInstallWorker::ThreadMain(void* self)
{
    auto* worker = static_cast<CInstallWorker*>(self);
    RunInstall(*worker->m_setup, worker->m_directory, *worker, worker->m_outcome);
    PostMessageW(worker->m_notify, kMsgDone, 0, 0);
    return 0;
}

void CInstallWorker::OnFile(const wchar_t* name)
{
    SendMessageW(m_notify, kMsgFile, 0, reinterpret_cast<LPARAM>(name));
}

void CInstallWorker::OnProgress(std::uint64_t done, std::uint64_t total)
{
    unsigned permille = total == 0 ? 1000u : static_cast<unsigned>((done > total ? total : done) * 1000 / total);
    if (permille == m_lastPermille) return;
    m_lastPermille = permille;
    SendMessageW(m_notify, kMsgProgress, permille, 0);
}

int CInstallWorker::Ask(const wchar_t* message, UINT type)
{
    return static_cast<int>(SendMessageW(m_notify, kMsgAsk, type, reinterpret_cast<LPARAM>(message)));
}

}  // namespace sw::wizard
