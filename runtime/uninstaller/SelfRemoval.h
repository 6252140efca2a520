#pragma once
// How the uninstaller removes itself. A running program cannot delete its own file, so:
//
// 1. The uninstaller copies itself into a new folder of its own under the temporary folder
//    and starts the copy with
//        <copy> /CLEANUP=<handle> /LEVELS=<n> [/LOG=<log>] /ORIGINAL=<uninstaller>
//    <handle> is an inherited handle to the uninstaller's own process (a handle, not a
//    process id, so that a new process that got the id of an ended one is never waited
//    for). <n> is how many folders, from the uninstaller's own upwards, the installation
//    created: those go too once they are empty. Then the uninstaller exits.
// 2. The copy, whose current folder is its temporary folder (so that it holds none of
//    the installation's folders open), waits for the uninstaller to end, deletes the
//    uninstaller and its uninstall information, removes the <n> folders while they are
//    empty, and appends what it did to the log.
// 3. It cannot delete itself either: it asks Windows to delete its file and its
//    temporary folder at the next start.
#include <windows.h>

namespace sw {

// Starts the copy; false (with a log line) when it cannot be made or started, and the
// uninstaller stays where it is.
bool StartSelfRemoval(const wchar_t* self, unsigned levels, const wchar_t* logPath);

struct CleanupArguments {
    HANDLE original = nullptr;       // the uninstaller's process
    unsigned levels = 0;
    const wchar_t* originalPath = nullptr;
};

// The copy's work; returns its exit code.
int RunSelfRemoval(const CleanupArguments& arguments);

}  // namespace sw
