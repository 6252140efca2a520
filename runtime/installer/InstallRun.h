#pragma once
// One installation in progress: the state the install engine carries from file to file.
// Internal to the engine (Engine.cpp, FileWriting.cpp).
#include <windows.h>

#include <cstdint>

#include "Rollback.h"
#include "Setup.h"
#include "SystemFolders.h"
#include "UninstallJournal.h"
#include "core/ProgramLayout.h"
#include "core/StreamDecoder.h"

namespace sw {

enum class FileResult : std::uint8_t {
    written,    // in place
    scheduled,  // the old file is in use: the new one replaces it at the next start
    kept,       // the user kept the file that was there
    failed,     // outcome.reason and outcome.exitCode say why
};

class CInstallRun {
public:
    CInstallRun(const CSetup& setup, IInstallObserver& observer, InstallOutcome& outcome)
        : m_setup(setup), m_observer(observer), m_outcome(outcome)
    {
    }

    void Run(const wchar_t* directory);

    // FileWriting.cpp
    FileResult InstallFileData(const FileEntry& entry, const wchar_t* path, const wchar_t* displayName);

private:
    bool Plan();
    bool CreateFolders(const wchar_t* path);  // every folder up to the file's, noting those made
    const wchar_t* TargetFolder(const FileEntry& entry) const;
    bool InstallFiles();
    void InstallLinks(const FileEntry& entry, const wchar_t* path);
    // `recorded`: the file is in the uninstall information (so its registrations may be too).
    void RegisterFile(const FileEntry& entry, const wchar_t* path, bool existedBefore, bool recorded);
    void Fail(int exitCode, unsigned textIndex, const wchar_t* argument);
    bool Stopped();
    bool Confirm(unsigned textIndex, const wchar_t* argument, UINT type, int defaultAnswer);

    // FileWriting.cpp
    bool KeepNewerInstalledFile(const FileEntry& entry, const wchar_t* path);
    bool DecodeInto(HANDLE file, const FileEntry& entry, const wchar_t* displayName, bool& stopped);
    FileResult PlaceNewFile(const wchar_t* temporary, const wchar_t* path);
    FileResult ReplaceExisting(const wchar_t* temporary, const wchar_t* path, DWORD attributes);

    // Engine.cpp
    // Whether the file's use is counted under SharedDLLs (and noted as a sharedFile).
    static bool IsCounted(const FileEntry& entry);
    bool CountSharedUse(const FileEntry& entry, const wchar_t* path, bool existedBefore, bool& recorded);
    bool RegisterFontFile(const wchar_t* path, bool recorded);
    bool RegisterControlFile(const wchar_t* path, bool recorded);
    bool MakeScreenSaver(const wchar_t* path);
    bool PlaceLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* args, int iconIndex);

    const CSetup& m_setup;
    IInstallObserver& m_observer;
    InstallOutcome& m_outcome;
    CUninstallJournal m_journal;
    CRollback m_rollback;
    SystemFolders m_folders;
    CStreamDecoder* m_decoder = nullptr;
    const wchar_t* m_directory = nullptr;
    std::uint64_t m_total = 0;
    std::uint64_t m_done = 0;
    bool m_overwriteReadOnly = false;
    bool m_askedReadOnly = false;
};

}  // namespace sw
