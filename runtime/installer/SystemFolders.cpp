#include "SystemFolders.h"

#include "Setup.h"
#include "core/ProgramLayout.h"
#include "win32/Heap.h"

namespace sw {
wchar_t* ExpandDirectoryText(const char* text, const SystemFolders& folders)
{
    wchar_t* typed = win::WidenText(text);
    if (!typed) return nullptr;
    std::size_t typedLength = win::WideLength(typed);
    // Each macro is at least 8 characters and becomes at most MAX_PATH.
    std::size_t capacity = (typedLength + 1) * (MAX_PATH / 8 + 1);
    auto* out = win::AllocateArray<wchar_t>(capacity);
    const DirectoryMacroFolders<wchar_t> macros{folders.windows, folders.system, folders.programFiles};
    if (out && typedLength > 0 && ExpandDirectoryMacros(typed, typedLength, macros, out, capacity) == 0) {
        win::Release(out);
        out = nullptr;
    }
    win::Release(typed);
    return out;
}

HKEY RegistryRoot(std::uint32_t projectRoot)
{
    switch (projectRoot) {
    case 0: return HKEY_CLASSES_ROOT;
    case 1: return HKEY_CURRENT_USER;
    case 3: return HKEY_USERS;
    default: return HKEY_LOCAL_MACHINE;
    }
}

wchar_t* FindProposedDirectory(const CSetup& setup, const char* defaultDir)
{
    SystemFolders folders;
    FindSystemFolders(folders);
    wchar_t previous[MAX_PATH * 2] = {};
    if (setup.RegistryKey()) {
        wchar_t* key = win::WidenText(setup.RegistryKey());
        wchar_t* value = setup.RegistryValue() ? win::WidenText(setup.RegistryValue())
                                               : nullptr;
        DWORD size = sizeof(previous) - sizeof(wchar_t);
        if (key && RegGetValueW(RegistryRoot(setup.RegistryRoot()), key, value, RRF_RT_REG_SZ, nullptr, previous, &size) !=
                       ERROR_SUCCESS)
            previous[0] = 0;
        win::Release(key);
        win::Release(value);
    }
    if (!previous[0] && setup.IniFile()) {
        wchar_t* file = win::WidenText(setup.IniFile());
        wchar_t* section = win::WidenText(setup.IniSection());
        wchar_t* entry = win::WidenText(setup.IniEntry());
        if (file && section && entry)
            GetPrivateProfileStringW(section, entry, L"", previous, MAX_PATH * 2 - 1, file);
        win::Release(file);
        win::Release(section);
        win::Release(entry);
    }
    if (previous[0]) return win::CopyWide(previous);
    if (defaultDir && defaultDir[0]) return ExpandDirectoryText(defaultDir, folders);
    return win::CopyWide(L"", 0);
}

}  // namespace sw
