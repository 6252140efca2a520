#pragma once
// What an installation creates, written down as it happens into the uninstall information
// beside the uninstaller once that is installed, so that the uninstaller removes it even
// after an installation that was killed half-way. What is noted before the uninstaller is
// in place is held in memory and written first when the file is opened.
//
// A failed or cancelled installation leaves the information as it found it (Abandon); its
// own rollback (Rollback.h) takes back everything else.
#include <windows.h>

#include <cstdint>

#include "core/UninstallInfo.h"

namespace sw {

class CUninstallJournal {
public:
    ~CUninstallJournal();

    // Starts writing the uninstall information at `path` (beside the installed uninstaller)
    // with everything noted so far: after the records of an earlier installation into the
    // same place, or afresh. False when it cannot be written.
    bool OpenFile(const wchar_t* path);

    // Notes one thing the installation created. False when the information file cannot
    // be written (the disk is full, say): the installation must stop.
    bool Note(UninstallItem kind, const wchar_t* text, const wchar_t* second = nullptr, std::uint32_t root = 0);

    // The installation succeeded: everything reaches the disk and the file is closed.
    // False when the last records cannot be written.
    bool Finish();
    // The installation failed or was cancelled: the information is put back as it was
    // before (removed when this installation made it).
    void Abandon();

private:
    bool Append(const std::uint8_t* bytes, std::size_t size);
    void Close();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    wchar_t* m_path = nullptr;
    std::uint8_t* m_memory = nullptr;  // the records noted so far, encoded as in the file
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    ULONGLONG m_lastFlush = 0;
    // How the file was before: none (made here), an earlier installation's records up to
    // m_earlierEnd followed by m_tail (the bytes of a write that was cut short), or a file
    // that could not be read, set aside at m_earlierCopy.
    bool m_made = false;
    std::size_t m_earlierEnd = 0;
    std::uint8_t* m_tail = nullptr;
    std::size_t m_tailSize = 0;
    wchar_t* m_earlierCopy = nullptr;
};

}  // namespace sw
