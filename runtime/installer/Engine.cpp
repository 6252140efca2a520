// The install engine: every file of the file table into its folder, then the icons,
// shortcuts and registrations, each noted in the uninstall information as it is made and
// in the rollback, which takes it all back when the installation fails or is cancelled.
#include <new>
#include <objbase.h>

#include "ExitCodes.h"
#include "InstallRun.h"
#include "win32/Log.h"
#include "Registrations.h"
#include "ShellLinks.h"
#include "SideFiles.h"
#include "core/InstallFormat.h"
#include "core/UninstallInfo.h"
#include "win32/Heap.h"

namespace sw {
namespace {

constexpr unsigned kTextCreateFailed = 17;
constexpr unsigned kTextWriteFailed = 19;
constexpr unsigned kTextOutOfMemory = 12;

wchar_t* FileName(const FileEntry& entry)
{
    wchar_t* name = win::WidenText(entry.name, entry.nameLength);
    for (wchar_t* p = name; p && *p; ++p)
        if (*p == L'/') *p = L'\\';
    return name;
}

// The six strings of a file record after its name: icon folder, icon name, icon
// arguments, shortcut name, shortcut arguments.
struct LinkFields {
    const char* iconFolder;
    const char* iconName;
    const char* iconArgs;
    const char* shortcutName;
    const char* shortcutArgs;
};

LinkFields ReadLinkFields(const FileEntry& entry)
{
    const char* p = entry.name + entry.nameLength + 1;
    LinkFields fields{};
    const char** slots[5] = {&fields.iconFolder, &fields.iconName, &fields.iconArgs, &fields.shortcutName, &fields.shortcutArgs};
    for (const char** slot : slots) {
        *slot = p;
        p += win::TextLength(p) + 1;
    }
    return fields;
}

}  // namespace

void CInstallRun::Fail(int exitCode, unsigned textIndex, const wchar_t* argument)
{
    if (m_outcome.exitCode != kExitSuccess) return;  // the first reason is the one to show
    m_outcome.exitCode = exitCode;
    m_outcome.reason = m_setup.FormatText(kGroupMessages, textIndex, argument);
    if (m_outcome.reason) LogLine("", m_outcome.reason);
}

bool CInstallRun::Stopped()
{
    if (m_outcome.exitCode == kExitSuccess && m_observer.StopRequested()) {
        m_outcome.exitCode = kExitCancelled;
        m_outcome.reason = win::CopyWide(m_setup.Text(kGroupMessages, 15));
        LogText("Cancelled.\r\n");
    }
    return m_outcome.exitCode != kExitSuccess;
}

bool CInstallRun::Confirm(unsigned textIndex, const wchar_t* argument, UINT type, int defaultAnswer)
{
    wchar_t* question = m_setup.FormatText(kGroupMessages, textIndex, argument);
    // The default answer is the default button: what an unattended installation answers.
    if (defaultAnswer == IDNO) type |= MB_DEFBUTTON2;
    int answer = question ? m_observer.Ask(question, type) : defaultAnswer;
    if (question) LogLine(answer == IDYES || answer == IDOK ? "Yes: " : "No: ", question);
    win::Release(question);
    return answer == IDYES || answer == IDOK;
}

const wchar_t* CInstallRun::TargetFolder(const FileEntry& entry) const
{
    sw::TargetFolder target = TargetFolder::installation;
    FileTargetFolder(entry, target);
    switch (target) {
    case TargetFolder::windows: return m_folders.windows;
    case TargetFolder::system: return m_folders.system;
    case TargetFolder::fonts: return m_folders.fonts;
    default: return m_directory;
    }
}

bool CInstallRun::CreateFolders(const wchar_t* path)
{
    wchar_t* copy = win::CopyWide(path);
    if (!copy) return false;
    bool ok = true;
    std::size_t length = win::WideLength(copy);
    // Skip the root ("C:\" or "\\server\share\") so that only real folders are made.
    std::size_t start = 0;
    if (length >= 2 && copy[0] == L'\\' && copy[1] == L'\\') {
        int separators = 0;
        for (start = 2; start < length && separators < 2; ++start)
            if (copy[start] == L'\\') ++separators;
    } else if (length >= 3 && copy[1] == L':') {
        start = 3;
    }
    for (std::size_t i = start; i < length && ok; ++i) {
        if (copy[i] != L'\\') continue;
        copy[i] = 0;
        if (GetFileAttributesW(copy) == INVALID_FILE_ATTRIBUTES) {
            if (CreateDirectoryW(copy, nullptr)) {
                LogLine("Created folder ", copy);
                if (!m_rollback.CreatedFolder(copy)) {
                    RemoveDirectoryW(copy);
                    ok = false;
                } else {
                    ok = m_journal.Note(UninstallItem::folder, copy);
                }
            } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
                ok = false;
            }
        }
        copy[i] = L'\\';
    }
    win::Release(copy);
    return ok;
}

bool CInstallRun::InstallFiles()
{
    CFileTableReader reader(m_setup.FileTable(), m_setup.FileTableSize());
    std::uint32_t count = 0;
    reader.Start(count);
    for (std::uint32_t i = 0; i < count && !Stopped(); ++i) {
        FileEntry entry;
        reader.Next(entry);
        InstallAction action = PlanFile(entry);
        bool uninstaller = (entry.flags & kFileIsUninstaller) != 0;
        if (action != InstallAction::install && action != InstallAction::installUninstaller) continue;
        const wchar_t* folder = TargetFolder(entry);
        wchar_t* name = FileName(entry);
        wchar_t* path = name && folder[0] ? win::JoinPath(folder, name) : nullptr;
        if (!path) {
            Fail(kExitWriteFailed, name ? kTextCreateFailed : kTextOutOfMemory, name);
        } else if (!CreateFolders(path)) {
            Fail(kExitWriteFailed, kTextCreateFailed, path);
        } else {
            bool existedBefore = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
            FileResult result = InstallFileData(entry, path, name);
            if (result == FileResult::written || result == FileResult::scheduled) {
                if (result == FileResult::scheduled) m_outcome.restartNeeded = true;
                // Files marked "do not uninstall" stay out of the uninstall information;
                // counted files are noted when their count is taken, below.
                bool recorded = false;
                if (!uninstaller && entry.options[3] != 0 && !IsCounted(entry)) {
                    recorded = m_journal.Note(UninstallItem::file, path);
                    if (!recorded) Fail(kExitWriteFailed, kTextWriteFailed, path);
                }
                if (uninstaller) {
                    m_outcome.uninstaller = win::CopyWide(path);
                    wchar_t info[MAX_PATH * 2];
                    std::size_t length = win::WideLength(path);
                    if (!MakeUninstallInfoName(path, length, info, MAX_PATH * 2) || !m_journal.OpenFile(info))
                        Fail(kExitWriteFailed, kTextCreateFailed, info);
                    else
                        LogLine("Uninstall information in ", info);
                }
                if (m_outcome.exitCode == kExitSuccess) RegisterFile(entry, path, existedBefore, recorded);
            }
        }
        win::Release(path);
        win::Release(name);
    }
    return m_outcome.exitCode == kExitSuccess;
}

bool CInstallRun::IsCounted(const FileEntry& entry)
{
    if (entry.flags & kFileIsUninstaller) return false;
    bool authorShared = entry.options[2] == 1 && entry.options[0] != 0;
    // The installation's own files in the Windows and System folders are counted too: see
    // kOwnSystemFile. A file never uninstalled needs no proof.
    bool ownSystemFile = (entry.options[0] == 1 || entry.options[0] == 2) && entry.options[3] != 0;
    return authorShared || ownSystemFile;
}

bool CInstallRun::CountSharedUse(const FileEntry& entry, const wchar_t* path, bool existedBefore, bool& recorded)
{
    SavedValue saved;
    if (!SaveSharedFileUse(path, saved) || !m_rollback.ChangedValue(saved)) {
        ReleaseValue(saved);
        return false;
    }
    DWORD count = AddSharedFileUse(path, existedBefore);
    bool own = entry.options[2] != 1;
    wchar_t marker[sizeof(kOwnSystemFile)];
    for (std::size_t i = 0; i < sizeof(kOwnSystemFile); ++i) marker[i] = static_cast<wchar_t>(kOwnSystemFile[i]);
    recorded = count != 0 && m_journal.Note(UninstallItem::sharedFile, path, own ? marker : nullptr);
    if (!recorded) LogLine("Cannot count the use of ", path);
    return true;
}

bool CInstallRun::RegisterFontFile(const wchar_t* path, bool recorded)
{
    wchar_t* valueName = FontValueName(path);
    SavedValue saved;
    bool ok = valueName && SaveFontValue(valueName, saved) && m_rollback.ChangedValue(saved);
    if (!ok) {
        ReleaseValue(saved);
    } else if (RegisterFont(path, valueName)) {
        ok = m_rollback.RegisteredFont(path);
        if (!ok) UnregisterFont(path);
        LogLine("Registered font ", path);
        // Only with its file: the uninstaller acts on a font or control only when the
        // information shows that this installation wrote the file.
        if (recorded) m_journal.Note(UninstallItem::font, path, valueName);
    } else {
        LogLine("Cannot register the font ", path);
    }
    win::Release(valueName);
    return ok;
}

bool CInstallRun::RegisterControlFile(const wchar_t* path, bool recorded)
{
    if (!RegisterControl(path)) {
        LogLine("Cannot register the control ", path);
        return true;
    }
    LogLine("Registered control ", path);
    if (recorded) m_journal.Note(UninstallItem::control, path);
    if (m_rollback.RegisteredControl(path)) return true;
    UnregisterControl(path);
    return false;
}

bool CInstallRun::MakeScreenSaver(const wchar_t* path)
{
    SavedValue file, active;
    if (!SaveScreenSaver(file, active) || !m_rollback.ChangedScreenSaver(file, active)) {
        ReleaseValue(file);
        ReleaseValue(active);
        return false;
    }
    if (SetScreenSaver(path))
        LogLine("Screen saver: ", path);
    else
        LogLine("Cannot make this the screen saver: ", path);
    return true;
}

void CInstallRun::RegisterFile(const FileEntry& entry, const wchar_t* path, bool existedBefore, bool recorded)
{
    // Each registration saves what it changes first; one that cannot (memory is short)
    // is not made, and the installation stops, since it could not be taken back.
    bool ok = true;
    if (IsCounted(entry)) ok = CountSharedUse(entry, path, existedBefore, recorded);
    if (ok && entry.options[0] == 3) ok = RegisterFontFile(path, recorded);
    if (ok && entry.options[4] == 2) ok = RegisterControlFile(path, recorded);
    if (ok && entry.options[4] == 1) ok = MakeScreenSaver(path);
    if (!ok) {
        Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
        return;
    }
    if (entry.options[1] == 1 && !m_outcome.viewFile) m_outcome.viewFile = win::CopyWide(path);
    if (entry.options[1] == 2 && !m_outcome.runFile) m_outcome.runFile = win::CopyWide(path);
    InstallLinks(entry, path);
}

bool CInstallRun::PlaceLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* args, int iconIndex)
{
    if (!CreateFolders(linkPath)) return false;
    // A link of the same name is kept beside it until the installation ends.
    DWORD attributes = GetFileAttributesW(linkPath);
    wchar_t* kept = nullptr;
    if (attributes != INVALID_FILE_ATTRIBUTES && ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !SetAside(linkPath, kept))) return false;
    bool ok = CreateShellLink(linkPath, target, args, iconIndex);
    bool noted = ok && (kept ? m_rollback.ReplacedFile(linkPath, kept, attributes) : m_rollback.CreatedFile(linkPath));
    if (ok && !noted) DeleteFileW(linkPath);
    if (!noted && kept) MoveFileExW(kept, linkPath, MOVEFILE_REPLACE_EXISTING);
    win::Release(kept);
    if (ok && !noted) Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
    return noted;
}

void CInstallRun::InstallLinks(const FileEntry& entry, const wchar_t* path)
{
    LinkFields fields = ReadLinkFields(entry);
    struct Link {
        const char* name;
        const char* args;
        wchar_t* folder;
    } links[2] = {
        {fields.iconName, fields.iconArgs, fields.iconName[0] ? ResolveIconFolder(fields.iconFolder, m_folders) : nullptr},
        {fields.shortcutName, fields.shortcutArgs, fields.shortcutName[0] && m_folders.desktop[0] ? win::CopyWide(m_folders.desktop) : nullptr},
    };
    for (Link& link : links) {
        if (!link.name[0] || m_outcome.exitCode != kExitSuccess) continue;
        wchar_t* linkPath = link.folder ? LinkPath(link.folder, link.name) : nullptr;
        wchar_t* args = win::WidenText(link.args);
        if (!linkPath || !args) {
            LogText("Cannot place the icon or shortcut \"");
            LogText(link.name);
            LogText("\"\r\n");
        } else if (PlaceLink(linkPath, path, args, static_cast<std::int16_t>(entry.iconIndex))) {
            LogLine("Created shortcut ", linkPath);
            m_journal.Note(UninstallItem::shortcut, linkPath);
        } else if (m_outcome.exitCode == kExitSuccess) {
            LogLine("Cannot create the shortcut ", linkPath);
        }
        win::Release(args);
        win::Release(linkPath);
    }
    for (Link& link : links) win::Release(link.folder);
}

void CInstallRun::Run(const wchar_t* directory)
{
    FindSystemFolders(m_folders);
    m_directory = directory;
    CFileTableReader reader(m_setup.FileTable(), m_setup.FileTableSize());
    std::uint32_t count = 0;
    if (m_setup.FileTable() && reader.Start(count)) {
        for (std::uint32_t i = 0; i < count; ++i) {
            FileEntry entry;
            reader.Next(entry);
            InstallAction action = PlanFile(entry);
            if (action == InstallAction::install || action == InstallAction::installUninstaller) m_total += entry.size;
        }
    }
    void* memory = win::Allocate(sizeof(CStreamDecoder));
    if (!memory) {
        Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
        return;
    }
    m_decoder = new (memory) CStreamDecoder;
    // The installation's own record comes first, before anything it creates: it says where
    // this installation's files belong.
    if (!m_journal.Note(UninstallItem::installation, directory)) Fail(kExitWriteFailed, kTextOutOfMemory, nullptr);
    // The installation directory itself is noted too, so that the uninstaller removes it
    // once it is empty.
    wchar_t* withSlash = win::JoinPath(directory, L"");
    if (m_outcome.exitCode == kExitSuccess && (!withSlash || !CreateFolders(withSlash)))
        Fail(kExitWriteFailed, kTextCreateFailed, directory);
    win::Release(withSlash);

    // The last moment to cancel: after it, the installation is complete.
    bool ok = m_outcome.exitCode == kExitSuccess && InstallFiles() && !Stopped();
    if (ok && m_outcome.uninstaller) {
        std::uint32_t root = 0;
        wchar_t* key = nullptr;
        if (RegisterUninstaller(m_setup, m_outcome.uninstaller, directory, root, key)) {
            LogLine("Registered the uninstaller under ", key);
            m_journal.Note(UninstallItem::registryKey, key, nullptr, root);
        } else {
            LogText("Cannot register the uninstaller with the system.\r\n");
        }
        win::Release(key);
    }
    if (ok) {
        StoreInstallationDirectory(m_setup, directory);
        if (!m_journal.Finish()) LogText("Cannot write the end of the uninstall information.\r\n");
        m_rollback.Commit();
    } else {
        // The information first: it lies in the folders the rollback removes.
        LogText("Rolling back the installation.\r\n");
        m_journal.Abandon();
        m_outcome.restartNeeded = m_rollback.Undo();
        win::Release(m_outcome.uninstaller);
        m_outcome.uninstaller = nullptr;
    }
    m_decoder->~CStreamDecoder();
    win::Release(memory);
    if (ok && m_outcome.restartNeeded) LogText("Restart needed: a file in use is replaced at the next start.\r\n");
    if (ok) LogText("Installation complete.\r\n");
}

void RunInstall(const CSetup& setup, const wchar_t* directory, IInstallObserver& observer, InstallOutcome& outcome)
{
    bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    {
        CInstallRun run(setup, observer, outcome);
        run.Run(directory);
    }
    if (com) CoUninitialize();
}

}  // namespace sw
