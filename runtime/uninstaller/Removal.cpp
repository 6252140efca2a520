#include "Removal.h"

#include "win32/Log.h"
#include "core/InstallFormat.h"
#include "win32/ControlServer.h"
#include "win32/Heap.h"

namespace sw {

namespace {

const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const wchar_t kFonts[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

HKEY RootKey(std::uint32_t root)
{
    switch (root) {
    case kRootClassesRoot: return HKEY_CLASSES_ROOT;
    case kRootCurrentUser: return HKEY_CURRENT_USER;
    case kRootLocalMachine: return HKEY_LOCAL_MACHINE;
    case kRootUsers: return HKEY_USERS;
    default: return nullptr;
    }
}


bool Missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool IsOwnSystemFile(const UninstallRecord& record)
{
    constexpr std::size_t length = sizeof(kOwnSystemFile) - 1;
    if (record.length[1] != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (record.text[1][i] != kOwnSystemFile[i]) return false;
    return true;
}

}  // namespace

CRemoval::~CRemoval() { win::Release(m_firstFailure); }

void CRemoval::Fail(const char* what, const wchar_t* path)
{
    LogLine(what, path);
    if (!m_firstFailure) m_firstFailure = win::CopyWide(path);
    ++m_failures;
}

bool CRemoval::BehindLink(const wchar_t* path)
{
    // A link (junction, symbolic link) that someone made inside the installation folder
    // would lead what is listed below it anywhere: into the system folder, say. The
    // installation never makes one, so nothing behind one goes.
    std::size_t rootLength = win::WideLength(m_installation), length = win::WideLength(path);
    while (rootLength > 0 && m_installation[rootLength - 1] == L'\\') --rootLength;
    wchar_t* folder = win::CopyWide(path, length);
    if (!folder) return true;
    for (std::size_t i = 0; i < length; ++i)
        if (folder[i] == L'/') folder[i] = L'\\';
    bool link = false;
    if (rootLength > 0 && length > rootLength + 1 && folder[rootLength] == L'\\' &&
        CompareStringOrdinal(folder, static_cast<int>(rootLength), m_installation, static_cast<int>(rootLength), TRUE) == CSTR_EQUAL) {
        for (std::size_t i = rootLength + 1; i < length && !link; ++i) {
            if (folder[i] != L'\\') continue;
            folder[i] = 0;
            DWORD attributes = GetFileAttributesW(folder);
            link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
            folder[i] = L'\\';
        }
    }
    win::Release(folder);
    if (link) Fail("Behind a link inside the installation folder, left alone: ", path);
    return link;
}

bool CRemoval::RemoveFile(const wchar_t* path)
{
    if (BehindLink(path)) return false;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (Missing(GetLastError())) {
            LogLine("Already gone: ", path);
            return true;
        }
        Fail("Cannot remove ", path);
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Fail("Not a file, left alone: ", path);
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        // Unattended, the file goes: it is the installation's own.
        if (m_messages.Show(kUninstWriteProtected, path, MB_YESNO | MB_ICONQUESTION, IDYES) != IDYES) {
            LogLine("Kept the write-protected file ", path);
            return false;
        }
        SetFileAttributesW(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (DeleteFileW(path)) {
        LogLine("Removed ", path);
        return true;
    }
    DWORD error = GetLastError();
    // A program that runs from the file, or holds it open, keeps it until it ends: the
    // system removes it at its next start.
    if ((error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION) &&
        MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        LogLine("In use, removed at the next start of Windows: ", path);
        m_restartNeeded = true;
        return true;
    }
    Fail("Cannot remove ", path);
    return false;
}

bool CRemoval::KeepUnusedSharedFile(const wchar_t* path)
{
    if (m_sharedChoice != SharedChoice::ask) return m_sharedChoice == SharedChoice::keepAll;
    if (m_messages.Silent()) {
        // Nobody can say whether a program installed without a usage count needs it:
        // keeping it is the answer that breaks nothing.
        LogLine("No longer used, kept (unattended): ", path);
        return true;
    }
    wchar_t* question = m_messages.Format(kUninstSharedUnused, path);
    if (!question) return true;
    const wchar_t* const captions[4] = {m_messages.Text(kUninstYes), m_messages.Text(kUninstYesToAll),
                                        m_messages.Text(kUninstNo), m_messages.Text(kUninstNoToAll)};
    Answer answer = AskFourWays(m_messages.Text(kUninstTitle), question, captions);
    win::Release(question);
    if (answer == Answer::yesToAll) m_sharedChoice = SharedChoice::removeAll;
    if (answer == Answer::noToAll) m_sharedChoice = SharedChoice::keepAll;
    bool keep = answer == Answer::no || answer == Answer::noToAll;
    if (keep) LogLine("No longer used, kept: ", path);
    return keep;
}

void CRemoval::RemoveSharedFile(const UninstallRecord* records, std::size_t count, std::size_t index, const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        LogLine("No usage count, kept: ", path);
        return;
    }
    DWORD uses = 0, type = 0, size = sizeof(uses);
    LSTATUS status = RegQueryValueExW(key, path, nullptr, &type, reinterpret_cast<BYTE*>(&uses), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(uses)) {
        // Without its count nobody can tell whether another program still uses it.
        RegCloseKey(key);
        LogLine("No usage count, kept: ", path);
        return;
    }
    if (uses > 1) {
        --uses;
        bool stored = RegSetValueExW(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&uses), sizeof(uses)) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (stored)
            LogLine("Still used by other programs, kept: ", path);
        else
            Fail("Cannot lower the usage count of ", path);
        return;
    }
    RegDeleteValueW(key, path);
    RegCloseKey(key);
    // The installation's own file in the Windows or System folder goes with its last use;
    // a file the author marked shared may still be wanted by programs that never counted.
    const UninstallRecord& shared = records[index];
    if (!IsOwnSystemFile(shared) && KeepUnusedSharedFile(path)) return;
    // The registrations that came with the file go with it.
    for (std::size_t i = count; i-- > 0;) {
        const UninstallRecord& other = records[i];
        if (!BelongsToSharedFile(&shared, 1, other)) continue;
        if (other.kind == UninstallItem::font) UnregisterFont(other, path);
        if (other.kind == UninstallItem::control) UnregisterControl(path);
    }
    RemoveFile(path);
}

void CRemoval::UnregisterFont(const UninstallRecord& record, const wchar_t* path)
{
    RemoveFontResourceW(path);
    wchar_t* valueName = win::WidenText(record.text[1], record.length[1]);
    HKEY key = nullptr;
    LSTATUS status = ERROR_OUTOFMEMORY;
    if (valueName && (status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFonts, 0, KEY_SET_VALUE, &key)) == ERROR_SUCCESS) {
        status = RegDeleteValueW(key, valueName);
        RegCloseKey(key);
    }
    if (status == ERROR_SUCCESS || Missing(static_cast<DWORD>(status)))
        LogLine("Unregistered the font ", path);
    else
        Fail("Cannot unregister the font ", path);
    win::Release(valueName);
    // Programs that list fonts learn that one went.
    PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

void CRemoval::UnregisterControl(const wchar_t* path)
{
    if (BehindLink(path)) return;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        LogLine("Already gone: ", path);
        return;
    }
    if (win::CallControlServer(path, "DllUnregisterServer"))
        LogLine("Unregistered the control ", path);
    else
        Fail("Cannot unregister the control ", path);
}

void CRemoval::RemoveFolder(const wchar_t* path)
{
    if (RemoveDirectoryW(path)) {
        LogLine("Removed ", path);
        return;
    }
    DWORD error = GetLastError();
    if (Missing(error))
        LogLine("Already gone: ", path);
    else if (error == ERROR_DIR_NOT_EMPTY)
        LogLine("Not empty, kept: ", path);  // files the user made there stay
    else
        Fail("Cannot remove the folder ", path);
}

void CRemoval::RemoveKey(std::uint32_t root, const char* text, std::size_t length)
{
    wchar_t* whole = win::WidenText(text, length);
    std::size_t removable = RemovableKeyLength(root, text, length);
    wchar_t* key = removable ? win::WidenText(text, removable) : nullptr;
    if (!whole || (removable && !key)) {
        m_messages.Show(kUninstOutOfMemory, nullptr, MB_OK | MB_ICONSTOP, IDOK);
        ++m_failures;
    } else if (root == 0) {
        LogLine("Registry key without a root (HKEY_...), left alone: ", whole);
    } else if (!removable) {
        // An empty key, or a whole hive such as HKEY_LOCAL_MACHINE\Software: removing it
        // would take the system or every other program with it.
        LogText("Registry key that no product owns, left alone: ");
        LogText(RegistryRootName(root));
        LogLine("", whole);
    } else {
        LSTATUS status = RegDeleteTreeW(RootKey(root), key);
        bool removed = status == ERROR_SUCCESS, missing = Missing(static_cast<DWORD>(status));
        LogText(removed ? "Removed registry key " : missing ? "Already gone: registry key " : "Cannot remove registry key ");
        LogText(RegistryRootName(root));
        LogLine("", key);
        if (!removed && !missing) {
            if (!m_firstFailure) m_firstFailure = win::CopyWide(key);
            ++m_failures;
        }
    }
    win::Release(key);
    win::Release(whole);
}

void CRemoval::RemoveRecords(const UninstallRecord* records, std::size_t count)
{
    for (std::size_t i = count; i-- > 0;) {
        const UninstallRecord& record = records[i];
        if (record.kind == UninstallItem::registryKey) {
            RemoveKey(record.root, record.text[0], record.length[0]);
            continue;
        }
        wchar_t* path = win::WidenText(record.text[0], record.length[0]);
        if (!path) {
            m_messages.Show(kUninstOutOfMemory, nullptr, MB_OK | MB_ICONSTOP, IDOK);
            ++m_failures;
            continue;
        }
        switch (record.kind) {
        case UninstallItem::file:
        case UninstallItem::shortcut: RemoveFile(path); break;
        case UninstallItem::sharedFile: RemoveSharedFile(records, count, i, path); break;
        case UninstallItem::font:
            if (!BelongsToSharedFile(records, count, record)) {
                UnregisterFont(record, path);
                RemoveFile(path);
            }
            break;
        case UninstallItem::control:
            if (!BelongsToSharedFile(records, count, record)) {
                UnregisterControl(path);
                RemoveFile(path);
            }
            break;
        case UninstallItem::folder: RemoveFolder(path); break;
        case UninstallItem::registryKey:
        case UninstallItem::installation: break;
        }
        win::Release(path);
    }
}

void CRemoval::RemoveKeys(CUninstallKeyReader& keys, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i) {
        RegistryKeyView key;
        keys.Next(key);
        RemoveKey(key.root, key.text, key.length);
    }
}

}  // namespace sw
