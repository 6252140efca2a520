#include "Rollback.h"

#include "PendingRenames.h"
#include "SideFiles.h"
#include "win32/Heap.h"
#include "win32/Log.h"

namespace sw {
namespace {

bool SamePath(const wchar_t* a, const wchar_t* b)
{
    std::size_t i = 0;
    for (; a[i] && b[i]; ++i)
        if (a[i] != b[i]) return false;
    return a[i] == b[i];
}

// A file that must go but cannot now (a program runs from it) goes at the next start:
// true then.
bool RemoveFile(const wchar_t* path)
{
    if (DeleteFileW(path)) {
        LogLine("Rolled back: removed ", path);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
        LogLine("Rolled back: already gone: ", path);
    } else if (MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        LogLine("Rolled back: in use, removed at the next start: ", path);
        return true;
    } else {
        LogLine("Rollback cannot remove ", path);
    }
    return false;
}

}  // namespace

CRollback::~CRollback()
{
    Clear();
}

void CRollback::Clear()
{
    for (std::size_t i = 0; i < m_count; ++i) {
        win::Release(m_entries[i].path);
        win::Release(m_entries[i].other);
        ReleaseValue(m_entries[i].values[0]);
        ReleaseValue(m_entries[i].values[1]);
    }
    win::Release(m_entries);
    m_entries = nullptr;
    m_count = m_capacity = 0;
}

CRollback::Entry* CRollback::Add(Step step, const wchar_t* path, const wchar_t* other)
{
    if (m_count == m_capacity) {
        std::size_t capacity = m_capacity * 2 + 64;
        auto* grown = win::AllocateArray<Entry>(capacity);
        if (!grown) return nullptr;
        for (std::size_t i = 0; i < m_count; ++i) grown[i] = m_entries[i];
        win::Release(m_entries);
        m_entries = grown;
        m_capacity = capacity;
    }
    Entry entry{step, 0, path ? win::CopyWide(path) : nullptr, other ? win::CopyWide(other) : nullptr, {}};
    if ((path && !entry.path) || (other && !entry.other)) {
        win::Release(entry.path);
        win::Release(entry.other);
        return nullptr;
    }
    m_entries[m_count] = entry;
    return &m_entries[m_count++];
}

bool CRollback::CreatedFile(const wchar_t* path)
{
    return Add(Step::file, path, nullptr) != nullptr;
}

bool CRollback::CreatedFolder(const wchar_t* path)
{
    return Add(Step::folder, path, nullptr) != nullptr;
}

bool CRollback::ReplacedFile(const wchar_t* path, const wchar_t* kept, DWORD attributes)
{
    Entry* entry = Add(Step::replaced, path, kept);
    if (entry) entry->attributes = attributes;
    return entry != nullptr;
}

bool CRollback::ScheduledFile(const wchar_t* path, const wchar_t* temporary, DWORD attributes)
{
    Entry* entry = Add(Step::scheduled, path, temporary);
    if (entry) entry->attributes = attributes;
    return entry != nullptr;
}

bool CRollback::ChangedValue(SavedValue& saved)
{
    Entry* entry = Add(Step::value, nullptr, nullptr);
    if (!entry) {
        ReleaseValue(saved);
        return false;
    }
    entry->values[0] = saved;
    saved = SavedValue{};
    return true;
}

bool CRollback::RegisteredFont(const wchar_t* path)
{
    return Add(Step::font, path, nullptr) != nullptr;
}

bool CRollback::RegisteredControl(const wchar_t* path)
{
    return Add(Step::control, path, nullptr) != nullptr;
}

bool CRollback::ChangedScreenSaver(SavedValue& file, SavedValue& active)
{
    Entry* entry = Add(Step::screenSaver, nullptr, nullptr);
    if (!entry) {
        ReleaseValue(file);
        ReleaseValue(active);
        return false;
    }
    entry->values[0] = file;
    entry->values[1] = active;
    file = active = SavedValue{};
    return true;
}

bool CRollback::RegisteredAfter(std::size_t index, Step step) const
{
    for (std::size_t i = index + 1; i < m_count; ++i)
        if (m_entries[i].step == step && SamePath(m_entries[i].path, m_entries[index].path)) return true;
    return false;
}

void CRollback::UndoEntry(std::size_t index)
{
    const Entry& entry = m_entries[index];
    switch (entry.step) {
    case Step::file:
        if (RemoveFile(entry.path)) m_restartNeeded = true;
        break;
    case Step::folder:
        // A folder the user has put something into meanwhile stays.
        if (RemoveDirectoryW(entry.path))
            LogLine("Rolled back: removed folder ", entry.path);
        else
            LogLine("Rollback leaves the folder (not empty) ", entry.path);
        break;
    case Step::replaced:
        if (MoveFileExW(entry.other, entry.path, MOVEFILE_REPLACE_EXISTING)) {
            SetFileAttributesW(entry.path, entry.attributes);
            LogLine("Rolled back: restored ", entry.path);
            // The control there was registered before it was replaced; the new one's
            // unregistration took that away too.
            if (RegisteredAfter(index, Step::control)) {
                if (RegisterControl(entry.path))
                    LogLine("Rolled back: registered again ", entry.path);
                else
                    LogLine("Rollback cannot register again ", entry.path);
            }
        } else {
            LogLine("Rollback cannot restore (the earlier file is kept beside it) ", entry.path);
            LogLine("  earlier file: ", entry.other);
        }
        break;
    case Step::scheduled:
        if (CancelPendingRename(entry.other)) {
            DeleteFileW(entry.other);
            SetFileAttributesW(entry.path, entry.attributes);
            LogLine("Rolled back: no replacement at the next start for ", entry.path);
        } else {
            LogLine("Rollback cannot cancel the replacement at the next start of ", entry.path);
            m_restartNeeded = true;
        }
        break;
    case Step::value:
        if (RestoreValue(entry.values[0]))
            LogLine("Rolled back: restored the registry value ", entry.values[0].name ? entry.values[0].name : L"(default)");
        else
            LogLine("Rollback cannot restore the registry value ", entry.values[0].name ? entry.values[0].name : L"(default)");
        break;
    case Step::font:
        UnregisterFont(entry.path);
        LogLine("Rolled back: unregistered font ", entry.path);
        break;
    case Step::control:
        if (UnregisterControl(entry.path))
            LogLine("Rolled back: unregistered control ", entry.path);
        else
            LogLine("Rollback cannot unregister the control ", entry.path);
        break;
    case Step::screenSaver: {
        bool ok = RestoreValue(entry.values[0]) && RestoreValue(entry.values[1]);
        ScreenSaverRestored(entry.values[1]);
        LogText(ok ? "Rolled back: restored the screen saver setting\r\n" : "Rollback cannot restore the screen saver setting\r\n");
        break;
    }
    }
}

bool CRollback::Undo()
{
    m_restartNeeded = false;
    for (std::size_t i = m_count; i-- > 0;) UndoEntry(i);
    Clear();
    LogText("Rolled back.\r\n");
    return m_restartNeeded;
}

void CRollback::Commit()
{
    for (std::size_t i = 0; i < m_count; ++i)
        if (m_entries[i].step == Step::replaced) DeleteSetAside(m_entries[i].other);
    Clear();
}

}  // namespace sw
