#include "Registrations.h"

#include "Setup.h"
#include "SystemFolders.h"
#include "core/InstallFormat.h"
#include "win32/Heap.h"

namespace sw {
namespace {

const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

const wchar_t* FileNamePart(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    return name;
}

bool EndsWithIgnoringCase(const wchar_t* text, const wchar_t* tail)
{
    std::size_t n = win::WideLength(text), m = win::WideLength(tail);
    if (m > n) return false;
    for (std::size_t i = 0; i < m; ++i) {
        wchar_t a = text[n - m + i], b = tail[i];
        if (a >= L'A' && a <= L'Z') a = static_cast<wchar_t>(a + 32);
        if (a != b) return false;
    }
    return true;
}

bool SetString(HKEY key, const wchar_t* name, const wchar_t* value)
{
    DWORD bytes = static_cast<DWORD>((win::WideLength(value) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) == ERROR_SUCCESS;
}

// "\"<path>\"<tail>"
wchar_t* Quoted(const wchar_t* path, const wchar_t* tail)
{
    std::size_t n = win::WideLength(path), m = win::WideLength(tail);
    auto* out = win::AllocateArray<wchar_t>(n + m + 3);
    if (!out) return nullptr;
    out[0] = L'"';
    for (std::size_t i = 0; i < n; ++i) out[1 + i] = path[i];
    out[n + 1] = L'"';
    for (std::size_t i = 0; i < m; ++i) out[n + 2 + i] = tail[i];
    out[n + m + 2] = 0;
    return out;
}

}  // namespace

DWORD AddSharedFileUse(const wchar_t* path, bool existedBefore)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0, size = sizeof(count), type = 0;
    if (RegQueryValueExW(key, path, nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        count = existedBefore ? 1 : 0;
    ++count;
    bool ok = RegSetValueExW(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok ? count : 0;
}

wchar_t* FontValueName(const wchar_t* path)
{
    const wchar_t* name = FileNamePart(path);
    std::size_t stem = win::WideLength(name);
    for (std::size_t i = stem; i > 0; --i)
        if (name[i - 1] == L'.') {
            stem = i - 1;
            break;
        }
    bool trueType = EndsWithIgnoringCase(name, L".ttf") || EndsWithIgnoringCase(name, L".otf") ||
                    EndsWithIgnoringCase(name, L".ttc");
    const wchar_t suffix[] = L" (TrueType)";
    std::size_t suffixLength = trueType ? sizeof(suffix) / sizeof(wchar_t) - 1 : 0;
    auto* out = win::AllocateArray<wchar_t>(stem + suffixLength + 1);
    if (!out) return nullptr;
    for (std::size_t i = 0; i < stem; ++i) out[i] = name[i];
    for (std::size_t i = 0; i < suffixLength; ++i) out[stem + i] = suffix[i];
    out[stem + suffixLength] = 0;
    return out;
}

bool RegisterFont(const wchar_t* path, const wchar_t* valueName)
{
    if (AddFontResourceW(path) == 0) return false;
    HKEY key = nullptr;
    bool ok = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
              ERROR_SUCCESS;
    // Fonts in the fonts folder are registered by their file name alone.
    if (ok) {
        ok = SetString(key, valueName, FileNamePart(path));
        RegCloseKey(key);
    }
    PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    return ok;
}

bool RegisterControl(const wchar_t* path)
{
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return false;
    using RegisterServer = HRESULT(WINAPI*)();
    auto entry = reinterpret_cast<RegisterServer>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    bool ok = entry && SUCCEEDED(entry());
    FreeLibrary(module);
    return ok;
}

bool SetScreenSaver(const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = SetString(key, L"SCRNSAVE.EXE", path) && SetString(key, L"ScreenSaveActive", L"1");
    RegCloseKey(key);
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
    return ok;
}

bool RegisterUninstaller(const CSetup& setup, const wchar_t* uninstaller, const wchar_t* directory,
                         std::uint32_t& rootCode, wchar_t*& keyPath)
{
    // The entry is named after the product; a title with a backslash would name a subkey.
    const wchar_t* title = setup.Title()[0] ? setup.Title() : FileNamePart(directory);
    std::size_t prefix = sizeof(kUninstallKey) / sizeof(wchar_t) - 1, titleLength = win::WideLength(title);
    keyPath = win::AllocateArray<wchar_t>(prefix + titleLength + 1);
    if (!keyPath) return false;
    for (std::size_t i = 0; i < prefix; ++i) keyPath[i] = kUninstallKey[i];
    for (std::size_t i = 0; i < titleLength; ++i) keyPath[prefix + i] = title[i] == L'\\' ? L'-' : title[i];
    keyPath[prefix + titleLength] = 0;

    HKEY key = nullptr;
    rootCode = kRootLocalMachine;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        rootCode = kRootCurrentUser;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
    }
    wchar_t* command = Quoted(uninstaller, L"");
    wchar_t* quiet = Quoted(uninstaller, L" /S");
    bool ok = command && quiet && SetString(key, L"DisplayName", title) && SetString(key, L"UninstallString", command) &&
              SetString(key, L"QuietUninstallString", quiet) && SetString(key, L"InstallLocation", directory) &&
              SetString(key, L"DisplayIcon", uninstaller);
    DWORD one = 1;
    RegSetValueExW(key, L"NoModify", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegSetValueExW(key, L"NoRepair", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);
    win::Release(command);
    win::Release(quiet);
    return ok;
}

void StoreInstallationDirectory(const CSetup& setup, const wchar_t* directory)
{
    if ((setup.Options() & kOptionWriteRegistry) && setup.RegistryKey()) {
        wchar_t* keyName = win::WidenText(setup.RegistryKey());
        wchar_t* value = setup.RegistryValue() ? win::WidenText(setup.RegistryValue())
                                               : nullptr;
        HKEY key = nullptr;
        if (keyName && RegCreateKeyExW(RegistryRoot(setup.RegistryRoot()), keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                       nullptr) == ERROR_SUCCESS) {
            SetString(key, value, directory);
            RegCloseKey(key);
        }
        win::Release(keyName);
        win::Release(value);
    }
    if ((setup.Options() & kOptionWriteIni) && setup.IniFile()) {
        wchar_t* file = win::WidenText(setup.IniFile());
        wchar_t* section = win::WidenText(setup.IniSection());
        wchar_t* entry = win::WidenText(setup.IniEntry());
        if (file && section && entry) WritePrivateProfileStringW(section, entry, directory, file);
        win::Release(file);
        win::Release(section);
        win::Release(entry);
    }
}

}  // namespace sw
