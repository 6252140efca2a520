#pragma once
// The folders of this Windows system that installations write into (the targets of files,
// the Start menu, the desktop) and, for the uninstaller, the folders that hold everyone's
// things and that no installation owns. Shared by both runtimes, so that the uninstaller
// finds the folders where the installer put things.
#include <windows.h>

namespace sw {

struct SystemFolders {
    wchar_t windows[MAX_PATH + 1] = {};
    wchar_t system[MAX_PATH + 1] = {};
    // The System folder of 32-bit programs on 64-bit Windows ("" elsewhere), which a 32-bit
    // installer's files land in.
    wchar_t systemWow64[MAX_PATH + 1] = {};
    wchar_t programFiles[MAX_PATH + 1] = {};
    wchar_t fonts[MAX_PATH + 1] = {};
    wchar_t programs[MAX_PATH + 1] = {};   // Start menu\Programs
    wchar_t startMenu[MAX_PATH + 1] = {};  // the root of the Start menu
    wchar_t startup[MAX_PATH + 1] = {};
    wchar_t desktop[MAX_PATH + 1] = {};
    // The same for all users.
    wchar_t commonPrograms[MAX_PATH + 1] = {};
    wchar_t commonStartMenu[MAX_PATH + 1] = {};
    wchar_t commonStartup[MAX_PATH + 1] = {};
    wchar_t commonDesktop[MAX_PATH + 1] = {};
};

enum class FolderLookup {
    create,    // the current user's folders are made when missing (an installation puts things there)
    existing,  // nothing is made (the uninstaller only compares with them)
};

// Fills every folder the system can name; those it cannot stay "".
void FindSystemFolders(SystemFolders& folders, FolderLookup lookup = FolderLookup::create);

// Folders that hold other programs' or the user's things. Removing what lies in them is
// never an installation's business unless it installed there itself.
struct ProtectedFolders {
    wchar_t programFilesX86[MAX_PATH + 1] = {};
    wchar_t programFilesNative[MAX_PATH + 1] = {};  // the 64-bit one, as a 32-bit program names it
    wchar_t commonFiles[MAX_PATH + 1] = {};
    wchar_t commonFilesX86[MAX_PATH + 1] = {};
    wchar_t profiles[MAX_PATH + 1] = {};  // the folder of every user's profile
    wchar_t profile[MAX_PATH + 1] = {};
    wchar_t documents[MAX_PATH + 1] = {};
    wchar_t commonDocuments[MAX_PATH + 1] = {};
    wchar_t appData[MAX_PATH + 1] = {};
    wchar_t localAppData[MAX_PATH + 1] = {};
    wchar_t commonAppData[MAX_PATH + 1] = {};
};

// Fills them without making any; those the system cannot name stay "".
void FindProtectedFolders(ProtectedFolders& folders);

}  // namespace sw
