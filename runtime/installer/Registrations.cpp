#include "Registrations.h"

#include "Setup.h"
#include "SystemFolders.h"
#include "core/InstallFormat.h"
#include "win32/ControlServer.h"
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

bool RegisterControl(const wchar_t* path) { return win::CallControlServer(path, "DllRegisterServer"); }

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

namespace {

bool IsKeyNameCharacter(wchar_t c) { return c != L'\\' && c >= 32; }

// The entry's key name: the product's title, else the installation folder's name, else the
// installation program's own name. Always one key name that means something: never empty,
// never only dots and blanks, no backslash (which would name a subkey, or with an empty
// name the Uninstall key itself and every other program's entry with it), at most the
// 255 characters a key name may have.
wchar_t* UninstallKeyName(const CSetup& setup, const wchar_t* directory)
{
    wchar_t self[MAX_PATH + 1] = {};
    DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (selfLength == 0 || selfLength >= MAX_PATH) self[0] = 0;
    for (std::size_t i = win::WideLength(self); i > 0; --i)
        if (self[i - 1] == L'.') {
            self[i - 1] = 0;
            break;
        } else if (self[i - 1] == L'\\') {
            break;
        }
    const wchar_t* const candidates[] = {setup.Title(), FileNamePart(directory), FileNamePart(self), L"Setwright installation"};
    for (const wchar_t* candidate : candidates) {
        std::size_t length = win::WideLength(candidate);
        while (length > 0 && (candidate[length - 1] == L' ' || candidate[length - 1] == L'.')) --length;
        while (length > 0 && (candidate[0] == L' ')) {
            ++candidate;
            --length;
        }
        bool meaningful = false;
        for (std::size_t i = 0; i < length; ++i)
            if (candidate[i] != L'.' && candidate[i] != L' ' && IsKeyNameCharacter(candidate[i])) meaningful = true;
        if (!meaningful) continue;
        if (length > 255) length = 255;
        auto* name = win::AllocateArray<wchar_t>(length + 1);
        if (!name) return nullptr;
        for (std::size_t i = 0; i < length; ++i) name[i] = IsKeyNameCharacter(candidate[i]) ? candidate[i] : L'-';
        name[length] = 0;
        return name;
    }
    return nullptr;
}

}  // namespace

bool RegisterUninstaller(const CSetup& setup, const wchar_t* uninstaller, const wchar_t* directory,
                         std::uint32_t& rootCode, wchar_t*& keyPath)
{
    keyPath = nullptr;
    wchar_t* name = UninstallKeyName(setup, directory);
    if (!name) return false;
    std::size_t prefix = sizeof(kUninstallKey) / sizeof(wchar_t) - 1, nameLength = win::WideLength(name);
    keyPath = win::AllocateArray<wchar_t>(prefix + nameLength + 1);
    if (!keyPath) {
        win::Release(name);
        return false;
    }
    for (std::size_t i = 0; i < prefix; ++i) keyPath[i] = kUninstallKey[i];
    for (std::size_t i = 0; i <= nameLength; ++i) keyPath[prefix + i] = name[i];
    // What the list of installed programs shows: the title as the author wrote it.
    const wchar_t* title = setup.Title()[0] ? setup.Title() : name;

    HKEY key = nullptr;
    rootCode = kRootLocalMachine;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        rootCode = kRootCurrentUser;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            win::Release(name);
            return false;
        }
    }
    wchar_t* command = Quoted(uninstaller, L"");
    wchar_t* quiet = Quoted(uninstaller, L" /S");
    bool ok = command && quiet && SetString(key, L"DisplayName", title) && SetString(key, L"UninstallString", command) &&
              SetString(key, L"QuietUninstallString", quiet) && SetString(key, L"InstallLocation", directory) &&
              SetString(key, L"DisplayIcon", uninstaller);
    DWORD one = 1;
    RegSetValueExW(key, L"NoModify", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegSetValueExW(key, L"NoRepair", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    // The size the list shows, in KiB as it expects, and the day of the installation.
    std::uint64_t kib = (setup.SpaceNeeded() + 1023) / 1024;
    DWORD estimated = kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(kib);
    RegSetValueExW(key, L"EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&estimated), sizeof(estimated));
    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t date[16];
    wsprintfW(date, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    ok = ok && SetString(key, L"InstallDate", date);
    RegCloseKey(key);
    win::Release(command);
    win::Release(quiet);
    win::Release(name);
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

bool SaveValue(HKEY root, const wchar_t* key, const wchar_t* name, SavedValue& saved)
{
    saved = SavedValue{};
    saved.root = root;
    saved.key = win::CopyWide(key);
    saved.name = name ? win::CopyWide(name) : nullptr;
    if (!saved.key || (name && !saved.name)) return false;
    HKEY handle = nullptr;
    LONG status = RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &handle);
    if (status == ERROR_FILE_NOT_FOUND) return true;  // no key, so no value
    if (status != ERROR_SUCCESS) return false;
    DWORD size = 0;
    status = RegQueryValueExW(handle, name, nullptr, &saved.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        saved.data = static_cast<BYTE*>(win::Allocate(size));
        saved.size = size;
        status = saved.data ? RegQueryValueExW(handle, name, nullptr, &saved.type, saved.data, &saved.size) : ERROR_OUTOFMEMORY;
        saved.present = status == ERROR_SUCCESS;
    } else if (status == ERROR_FILE_NOT_FOUND) {
        status = ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

bool RestoreValue(const SavedValue& saved)
{
    HKEY handle = nullptr;
    LONG status = RegOpenKeyExW(saved.root, saved.key, 0, KEY_SET_VALUE, &handle);
    if (status == ERROR_FILE_NOT_FOUND && !saved.present) return true;
    if (status != ERROR_SUCCESS) return false;
    if (saved.present) {
        status = RegSetValueExW(handle, saved.name, 0, saved.type, saved.data, saved.size);
    } else {
        status = RegDeleteValueW(handle, saved.name);
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

void ReleaseValue(SavedValue& saved)
{
    win::Release(saved.key);
    win::Release(saved.name);
    win::Release(saved.data);
    saved = SavedValue{};
}

bool SaveSharedFileUse(const wchar_t* path, SavedValue& saved)
{
    return SaveValue(HKEY_LOCAL_MACHINE, kSharedDlls, path, saved);
}

bool SaveFontValue(const wchar_t* valueName, SavedValue& saved)
{
    return SaveValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, saved);
}

bool SaveScreenSaver(SavedValue& file, SavedValue& active)
{
    bool ok = SaveValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"SCRNSAVE.EXE", file);
    return SaveValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive", active) && ok;
}

void UnregisterFont(const wchar_t* path)
{
    RemoveFontResourceW(path);
    PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

bool UnregisterControl(const wchar_t* path) { return win::CallControlServer(path, "DllUnregisterServer"); }

void ScreenSaverRestored(const SavedValue& active)
{
    // "1" switches the screen saver on; no value or anything else leaves it off.
    const auto* text = reinterpret_cast<const wchar_t*>(active.data);
    bool on = active.present && active.type == REG_SZ && active.size >= 2 * sizeof(wchar_t) && text[0] == L'1' && text[1] == 0;
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, on ? TRUE : FALSE, nullptr, SPIF_SENDCHANGE);
}

}  // namespace sw
