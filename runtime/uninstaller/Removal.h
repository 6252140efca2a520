#pragma once
// Undoing an installation: the things its uninstall information lists, newest first, and
// the registry keys the author asked to remove.
#include <windows.h>

#include "AnswerBox.h"
#include "Messages.h"
#include "core/UninstallInfo.h"
#include "core/UninstallerRecords.h"

namespace sw {

class CRemoval {
public:
    // `installation`: the installation folder (CheckInformationScope).
    CRemoval(const CMessages& messages, const wchar_t* installation) : m_messages(messages), m_installation(installation) {}

    // Removes what the records list, the newest first, so that a folder comes after the
    // files in it. Fonts and controls that are also shared files go only with the shared
    // file, when no other program uses it any more.
    void RemoveRecords(const UninstallRecord* records, std::size_t count);
    // The keys of REC_UNINST_KEYS (after a successful Start of the reader).
    void RemoveKeys(CUninstallKeyReader& keys, std::uint32_t count);

    // Something listed is still there (a failure the log names).
    bool Incomplete() const { return m_failures > 0; }
    // A file in use goes at the next start of Windows.
    bool RestartNeeded() const { return m_restartNeeded; }
    // The first thing that could not be removed (nullptr when none).
    const wchar_t* FirstFailure() const { return m_firstFailure; }
    ~CRemoval();

private:
    void Fail(const char* what, const wchar_t* path);
    bool BehindLink(const wchar_t* path);
    bool RemoveFile(const wchar_t* path);
    void RemoveSharedFile(const UninstallRecord* records, std::size_t count, std::size_t index, const wchar_t* path);
    bool KeepUnusedSharedFile(const wchar_t* path);
    void UnregisterFont(const UninstallRecord& record, const wchar_t* path);
    void UnregisterControl(const wchar_t* path);
    void RemoveFolder(const wchar_t* path);
    void RemoveKey(std::uint32_t root, const char* text, std::size_t length);

    const CMessages& m_messages;
    const wchar_t* m_installation;
    int m_failures = 0;
    bool m_restartNeeded = false;
    wchar_t* m_firstFailure = nullptr;
    // "Yes to all" / "No to all" for the shared files that follow.
    enum class SharedChoice { ask, removeAll, keepAll } m_sharedChoice = SharedChoice::ask;
};

}  // namespace sw
