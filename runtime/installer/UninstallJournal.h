#pragma once
// What an installation creates, written down as it happens: into the uninstall
// information beside the uninstaller once that is installed (so that the uninstaller
// removes it, even after an installation that stopped half-way), and into memory, so
// that an installation without an uninstaller that fails can take back what it wrote.
#include <windows.h>

#include <cstdint>

#include "core/UninstallInfo.h"

namespace sw {

class CUninstallJournal {
public:
    ~CUninstallJournal();

    // Starts the uninstall information at `path` (beside the installed uninstaller) with
    // everything noted so far. False when it cannot be written.
    bool OpenFile(const wchar_t* path);
    bool HasFile() const { return m_file != INVALID_HANDLE_VALUE; }

    // Notes one thing the installation created. False when the information file cannot
    // be written (the disk is full, say): the installation must stop.
    bool Note(UninstallItem kind, const wchar_t* text, const wchar_t* second = nullptr, std::uint32_t root = 0);

    // Removes, newest first, the files, shortcuts and (when empty) folders noted so far,
    // and the information file itself: for a failed installation that has no uninstaller
    // to leave behind.
    void TakeBack();

private:
    bool Append(const std::uint8_t* bytes, std::size_t size);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    wchar_t* m_path = nullptr;
    std::uint8_t* m_memory = nullptr;  // the records noted so far, encoded as in the file
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

}  // namespace sw
