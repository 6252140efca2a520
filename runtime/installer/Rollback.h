#pragma once
// What an installation changed on the machine, in the order it did it, with what it takes
// to change it back: a failed or cancelled installation undoes it all, newest first, and
// leaves the machine as it found it. A successful one only deletes the files it replaced,
// which it kept beside their targets until then.
//
// Apart from the uninstall information (UninstallJournal.h): that lists what the
// uninstaller removes later, this what the installation itself takes back now, including
// what the uninstaller never touches (files it replaced, counts and values as they were).
#include <windows.h>

#include <cstdint>

#include "Registrations.h"

namespace sw {

class CRollback {
public:
    ~CRollback();

    // Each step below is noted right after it is made. False when memory is short: the
    // step cannot be undone then, so the installation stops (the caller undoes that one
    // step itself).
    bool CreatedFile(const wchar_t* path);  // a file or shortcut that was not there
    bool CreatedFolder(const wchar_t* path);
    // A file that was there is now at `kept` (see SideFiles.h), with its attributes as
    // they were; a new one is at `path`.
    bool ReplacedFile(const wchar_t* path, const wchar_t* kept, DWORD attributes);
    // A file in use: the new one at `temporary` replaces it at the next start; its
    // attributes were `attributes` before the installation cleared write protection.
    bool ScheduledFile(const wchar_t* path, const wchar_t* temporary, DWORD attributes);
    // A registry value that was changed; takes over `saved` (released even on failure).
    bool ChangedValue(SavedValue& saved);
    bool RegisteredFont(const wchar_t* path);
    bool RegisteredControl(const wchar_t* path);
    // The screen saver setting changed; takes over both values.
    bool ChangedScreenSaver(SavedValue& file, SavedValue& active);

    // Undoes every step, newest first, naming each in the log, which it ends with "Rolled back.".
    // True when something is left for the next start of Windows: a file in use that goes
    // only then, or a replacement that could not be taken back.
    bool Undo();
    // The installation succeeded: the files it replaced go.
    void Commit();

private:
    enum class Step : std::uint8_t { file, folder, replaced, scheduled, value, font, control, screenSaver };
    struct Entry {
        Step step;
        DWORD attributes;
        wchar_t* path;
        wchar_t* other;  // the kept copy or the temporary file
        SavedValue values[2];
    };

    Entry* Add(Step step, const wchar_t* path, const wchar_t* other);
    void UndoEntry(std::size_t index);  // sets m_restartNeeded where it leaves something
    bool RegisteredAfter(std::size_t index, Step step) const;
    void Clear();

    Entry* m_entries = nullptr;
    std::size_t m_count = 0;
    std::size_t m_capacity = 0;
    bool m_restartNeeded = false;
};

}  // namespace sw
