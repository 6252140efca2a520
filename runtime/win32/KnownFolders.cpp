#include "win32/KnownFolders.h"

#include <shlobj.h>

#include "win32/Heap.h"

namespace sw {
namespace {

void ShellFolder(int csidl, wchar_t* out, FolderLookup lookup = FolderLookup::existing)
{
    int flags = lookup == FolderLookup::create ? CSIDL_FLAG_CREATE : CSIDL_FLAG_DONT_VERIFY;
    if (FAILED(SHGetFolderPathW(nullptr, csidl | flags, nullptr, SHGFP_TYPE_CURRENT, out))) out[0] = 0;
}

// `out` = `folder` + `tail`, or "" when it does not fit.
void Append(wchar_t* out, const wchar_t* folder, const wchar_t* tail)
{
    std::size_t length = win::WideLength(folder), tailLength = win::WideLength(tail);
    out[0] = 0;
    if (length == 0 || length + tailLength > MAX_PATH) return;
    for (std::size_t i = 0; i < length; ++i) out[i] = folder[i];
    for (std::size_t i = 0; i <= tailLength; ++i) out[length + i] = tail[i];
}

}  // namespace

void FindSystemFolders(SystemFolders& folders, FolderLookup lookup)
{
    UINT n = GetWindowsDirectoryW(folders.windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) folders.windows[0] = 0;
    n = GetSystemDirectoryW(folders.system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) folders.system[0] = 0;
    // 0 on 32-bit Windows, which has no such folder.
    n = GetSystemWow64DirectoryW(folders.systemWow64, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) folders.systemWow64[0] = 0;
    ShellFolder(CSIDL_PROGRAM_FILES, folders.programFiles, lookup);
    ShellFolder(CSIDL_FONTS, folders.fonts, lookup);
    // <Windows>\Fonts is where the shell keeps them when it cannot say.
    if (!folders.fonts[0]) Append(folders.fonts, folders.windows, L"\\Fonts");
    ShellFolder(CSIDL_PROGRAMS, folders.programs, lookup);
    ShellFolder(CSIDL_STARTMENU, folders.startMenu, lookup);
    ShellFolder(CSIDL_STARTUP, folders.startup, lookup);
    ShellFolder(CSIDL_DESKTOPDIRECTORY, folders.desktop, lookup);
    ShellFolder(CSIDL_COMMON_PROGRAMS, folders.commonPrograms);
    ShellFolder(CSIDL_COMMON_STARTMENU, folders.commonStartMenu);
    ShellFolder(CSIDL_COMMON_STARTUP, folders.commonStartup);
    ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY, folders.commonDesktop);
}

void FindProtectedFolders(ProtectedFolders& folders)
{
    ShellFolder(CSIDL_PROGRAM_FILESX86, folders.programFilesX86);
    DWORD n = GetEnvironmentVariableW(L"ProgramW6432", folders.programFilesNative, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) folders.programFilesNative[0] = 0;
    ShellFolder(CSIDL_PROGRAM_FILES_COMMON, folders.commonFiles);
    ShellFolder(CSIDL_PROGRAM_FILES_COMMONX86, folders.commonFilesX86);
    ShellFolder(CSIDL_PROFILE, folders.profile);
    // The profiles' folder holds the user's own profile.
    std::size_t length = win::WideLength(folders.profile);
    while (length > 0 && folders.profile[length - 1] != L'\\') --length;
    if (length > 3) {
        for (std::size_t i = 0; i + 1 < length; ++i) folders.profiles[i] = folders.profile[i];
        folders.profiles[length - 1] = 0;
    }
    ShellFolder(CSIDL_PERSONAL, folders.documents);
    ShellFolder(CSIDL_COMMON_DOCUMENTS, folders.commonDocuments);
    ShellFolder(CSIDL_APPDATA, folders.appData);
    ShellFolder(CSIDL_LOCAL_APPDATA, folders.localAppData);
    ShellFolder(CSIDL_COMMON_APPDATA, folders.commonAppData);
}

}  // namespace sw
