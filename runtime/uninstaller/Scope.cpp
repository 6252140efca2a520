#include "Scope.h"

#include "core/InstallFormat.h"
#include "core/UninstallerRecords.h"
#include "win32/Heap.h"
#include "win32/KnownFolders.h"
#include "win32/Log.h"

namespace sw {
namespace {

struct Folder {
    const wchar_t* path;
    std::uint32_t kinds;
};

// The system's folders in UTF-8, as the uninstall information names paths.
class CScopeRoots {
public:
    CScopeRoots()
    {
        FindSystemFolders(m_system, FolderLookup::existing);
        FindProtectedFolders(m_protected);
        const Folder folders[] = {
            {m_system.windows, kSharedSystemKinds},
            {m_system.system, kSharedSystemKinds},
            {m_system.systemWow64, kSharedSystemKinds},
            {m_system.fonts, kFontsKinds},
            {m_system.programs, kShortcutKinds},
            {m_system.startMenu, kShortcutKinds},
            {m_system.startup, kShortcutKinds},
            {m_system.desktop, kShortcutKinds},
            {m_system.commonPrograms, kShortcutKinds},
            {m_system.commonStartMenu, kShortcutKinds},
            {m_system.commonStartup, kShortcutKinds},
            {m_system.commonDesktop, kShortcutKinds},
            {m_system.programFiles, kNoKinds},
            {m_protected.programFilesX86, kNoKinds},
            {m_protected.programFilesNative, kNoKinds},
            {m_protected.commonFiles, kNoKinds},
            {m_protected.commonFilesX86, kNoKinds},
            {m_protected.profiles, kNoKinds},
            {m_protected.profile, kNoKinds},
            {m_protected.documents, kNoKinds},
            {m_protected.commonDocuments, kNoKinds},
            {m_protected.appData, kNoKinds},
            {m_protected.localAppData, kNoKinds},
            {m_protected.commonAppData, kNoKinds},
        };
        static_assert(sizeof(folders) / sizeof(folders[0]) == kCount);
        m_ok = true;
        for (std::size_t i = 0; i < kCount; ++i) {
            std::size_t length = 0;
            char* path = folders[i].path[0] ? win::NarrowToUtf8(folders[i].path, length) : nullptr;
            if (folders[i].path[0] && !path) m_ok = false;
            m_roots[i] = ScopeRoot{path ? path : "", length, folders[i].kinds};
        }
    }
    ~CScopeRoots()
    {
        for (const ScopeRoot& root : m_roots)
            if (root.length) win::Release(root.path);
    }
    CScopeRoots(const CScopeRoots&) = delete;
    CScopeRoots& operator=(const CScopeRoots&) = delete;

    bool Ok() const { return m_ok; }
    const ScopeRoot* Roots() const { return m_roots; }
    static constexpr std::size_t kCount = 24;

private:
    SystemFolders m_system;
    ProtectedFolders m_protected;
    ScopeRoot m_roots[kCount] = {};
    bool m_ok = false;
};

void LogRecord(const char* what, const char* prefix, const char* text, std::size_t length)
{
    wchar_t* wide = win::WidenText(text, length);
    LogText(what);
    LogText(prefix);
    LogLine("", wide ? wide : L"?");
    win::Release(wide);
}

void LogRefused(const UninstallRecord* records, std::size_t count, const UninstallRecord& record)
{
    const char* text = record.text[0];
    std::size_t length = record.length[0];
    switch (record.kind) {
    case UninstallItem::registryKey:
        LogRecord("Registry key that is not this installation's entry, left alone: ", RegistryRootName(record.root), text, length);
        return;
    case UninstallItem::control:
    case UninstallItem::font:
        if (!IsListedAsWritten(records, count, record)) {
            LogRecord(record.kind == UninstallItem::control ? "Control that this installation did not write, left alone: "
                                                            : "Font that this installation did not write, left alone: ",
                      "", text, length);
            return;
        }
        break;
    default: break;
    }
    if (IsActionableRecord(record))
        LogRecord("Outside the installation, left alone: ", "", text, length);
    else
        LogRecord("Not the full path of one thing, left alone: ", "", text, length);
}

}  // namespace

wchar_t* CheckInformationScope(const wchar_t* self, const UninstallRecord* records, std::size_t count)
{
    CScopeRoots roots;
    std::size_t selfLength = 0;
    char* uninstallerFolder = win::NarrowToUtf8(self, selfLength);
    if (!roots.Ok() || !uninstallerFolder) {
        LogText("Out of memory.\r\n");
        win::Release(uninstallerFolder);
        return nullptr;
    }
    // The folder of the uninstaller ("C:\" for one in a drive root).
    std::size_t folderLength = selfLength;
    while (folderLength > 0 && uninstallerFolder[folderLength - 1] != '\\') --folderLength;
    if (folderLength > 1 && uninstallerFolder[folderLength - 2] != ':') --folderLength;

    // Records that no installation writes (a relative path, a key other than the entry among
    // the installed programs) first: the installation folder is judged from sound records.
    bool inScope = true;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsActionableRecord(records[i])) continue;
        LogRefused(records, count, records[i]);
        inScope = false;
    }
    const char* installation = nullptr;
    std::size_t installationLength = 0;
    InstallationFolder found = InstallationFolder::refused;
    if (inScope)
        found = FindInstallationFolder(records, count, uninstallerFolder, folderLength, roots.Roots(), CScopeRoots::kCount,
                                       installation, installationLength);
    if (inScope && found == InstallationFolder::refused) {
        inScope = false;
        for (std::size_t i = 0; i < count; ++i)
            if (records[i].kind == UninstallItem::installation)
                LogRecord("Installation folder that does not hold the uninstaller, or a protected folder above it: ", "",
                          records[i].text[0], records[i].length[0]);
    } else if (inScope) {
        const UninstallScope scope{installation, installationLength, roots.Roots(), CScopeRoots::kCount};
        for (std::size_t i = 0; i < count; ++i) {
            if (IsRecordInScope(records, count, i, scope)) continue;
            LogRefused(records, count, records[i]);
            inScope = false;
        }
    }
    wchar_t* folder = inScope ? win::WidenText(installation, installationLength) : nullptr;
    if (folder) LogLine(found == InstallationFolder::fromRecord ? "Installation folder: " : "Installation folder (the uninstaller's): ", folder);
    win::Release(uninstallerFolder);
    return folder;
}

}  // namespace sw
