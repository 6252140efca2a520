// The install engine: every file of the file table into its folder, then the icons,
// shortcuts and registrations, each noted in the uninstall information as it is made.
#include <new>
#include <objbase.h>

#include "ExitCodes.h"
#include "InstallRun.h"
#include "win32/Log.h"
#include "Registrations.h"
#include "ShellLinks.h"
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
                ok = m_journal.Note(UninstallItem::folder, copy);
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
                // shared files are noted when their count is taken, below.
                bool shared = !uninstaller && entry.options[2] == 1 && entry.options[0] != 0;
                if (!uninstaller && entry.options[3] != 0 && !shared && !m_journal.Note(UninstallItem::file, path))
                    Fail(kExitWriteFailed, kTextWriteFailed, path);
                if (uninstaller) {
                    m_outcome.uninstaller = win::CopyWide(path);
                    wchar_t info[MAX_PATH * 2];
                    std::size_t length = win::WideLength(path);
                    if (!MakeUninstallInfoName(path, length, info, MAX_PATH * 2) || !m_journal.OpenFile(info))
                        Fail(kExitWriteFailed, kTextCreateFailed, info);
                    else
                        LogLine("Uninstall information in ", info);
                    m_hasUninstaller = true;
                }
                if (m_outcome.exitCode == kExitSuccess) RegisterFile(entry, path, existedBefore);
            }
        }
        win::Release(path);
        win::Release(name);
    }
    return m_outcome.exitCode == kExitSuccess;
}

void CInstallRun::RegisterFile(const FileEntry& entry, const wchar_t* path, bool existedBefore)
{
    if (entry.options[2] == 1 && entry.options[0] != 0 && !(entry.flags & kFileIsUninstaller)) {
        DWORD count = AddSharedFileUse(path, existedBefore);
        if (count == 0 || !m_journal.Note(UninstallItem::sharedFile, path)) LogLine("Cannot count the use of ", path);
    }
    if (entry.options[0] == 3) {
        wchar_t* valueName = FontValueName(path);
        if (valueName && RegisterFont(path, valueName)) {
            LogLine("Registered font ", path);
            if (entry.options[3] != 0) m_journal.Note(UninstallItem::font, path, valueName);
        } else {
            LogLine("Cannot register the font ", path);
        }
        win::Release(valueName);
    }
    if (entry.options[4] == 2) {
        if (RegisterControl(path)) {
            LogLine("Registered control ", path);
            if (entry.options[3] != 0) m_journal.Note(UninstallItem::control, path);
        } else {
            LogLine("Cannot register the control ", path);
        }
    } else if (entry.options[4] == 1) {
        if (SetScreenSaver(path))
            LogLine("Screen saver: ", path);
        else
            LogLine("Cannot make this the screen saver: ", path);
    }
    if (entry.options[1] == 1 && !m_outcome.viewFile) m_outcome.viewFile = win::CopyWide(path);
    if (entry.options[1] == 2 && !m_outcome.runFile) m_outcome.runFile = win::CopyWide(path);
    InstallLinks(entry, path);
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
        if (!link.name[0]) continue;
        wchar_t* linkPath = link.folder ? LinkPath(link.folder, link.name) : nullptr;
        wchar_t* args = win::WidenText(link.args);
        if (!linkPath || !args) {
            LogText("Cannot place the icon or shortcut \"");
            LogText(link.name);
            LogText("\"\r\n");
        } else if (CreateFolders(linkPath) && CreateShellLink(linkPath, path, args, static_cast<std::int16_t>(entry.iconIndex))) {
            LogLine("Created shortcut ", linkPath);
            m_journal.Note(UninstallItem::shortcut, linkPath);
        } else {
            LogLine("Cannot create the shortcut ", linkPath);
        }
        win::Release(args);
        win::Release(linkPath);
        win::Release(link.folder);
    }
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
    // The installation directory itself is noted too, so that the uninstaller removes it
    // once it is empty.
    wchar_t* withSlash = win::JoinPath(directory, L"");
    if (!withSlash || !CreateFolders(withSlash)) Fail(kExitWriteFailed, kTextCreateFailed, directory);
    win::Release(withSlash);

    bool ok = m_outcome.exitCode == kExitSuccess && InstallFiles();
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
    if (ok) StoreInstallationDirectory(m_setup, directory);
    if (!ok && !m_hasUninstaller) {
        // Nothing could remove what was written, so it goes now.
        m_journal.TakeBack();
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
