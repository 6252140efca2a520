#pragma once
// The uninstall information: the list of what an installation created, which the installer
// writes beside the uninstaller while it installs and the uninstaller reads to undo it.
//
// The installer appends one record per thing it creates and flushes each, so that an
// installation that is interrupted (power cut, killed process) still leaves a list of what
// it wrote; its last record may then be cut short or hold garbage, which the reader takes
// as the end of the list. A record that is damaged while records follow it is something
// else: the file was altered, and nothing in it can be trusted.
//
// Layout (all integers little-endian):
//   header   "SWUI", 16-bit version 1, 16-bit 0                                  8 bytes
//   record   8-bit kind, 8-bit 0, 16-bit 0, 32-bit root, 32-bit length of text 0,
//            32-bit length of text 1, 32-bit CRC-32 of those 16 bytes            20 bytes
//            text 0, text 1 (UTF-8, no terminating zero)
//            32-bit CRC-32 of the record's bytes before it                        4 bytes
// The header check lets the reader trust the lengths before it trusts the texts: a record
// whose header is sound but whose texts run past the end is an interrupted write.
//
// Portable: no heap, no exceptions; the runtimes and the tests compile it alike.
#include <cstddef>
#include <cstdint>

namespace sw {

enum class UninstallItem : std::uint8_t {
    file = 1,         // text[0]: full path of a file the installation wrote
    sharedFile = 2,   // text[0]: a file whose shared usage count (HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs, value = path) was incremented;
                      // text[1]: empty for a file the author marked shared, kOwnSystemFile for one of the installation's own in the Windows or System folder
    folder = 3,       // text[0]: a folder the installation created (removed when empty)
    shortcut = 4,     // text[0]: a .lnk the installation made (Start menu, Startup, desktop)
    font = 5,         // text[0]: font file path, text[1]: its value name under HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts
    control = 6,      // text[0]: a DLL/OCX registered with DllRegisterServer (unregister with DllUnregisterServer before removing)
    registryKey = 7,  // root (0x80000000.. like REC_UNINST_KEYS), text[0]: a key the installation made (its entry in the system's list of installed programs); removed with its subkeys
    installation = 8, // text[0]: the installation directory, the first record of every installation: what the uninstaller may remove lies below it or in the system's known folders
};
inline constexpr UninstallItem kLastUninstallItem = UninstallItem::installation;

// Text 1 of a sharedFile record for a file that the installation put into the Windows or
// System folder without the author's shared-file option. Such a file is counted all the
// same: a usage count under HKLM is what proves to the uninstaller that an installation
// put a file there (the information beside the uninstaller may have been altered by
// anyone who can write the installation folder, and must not be able to name a system
// DLL). Once its count drops to 0 it goes without the question a shared file gets.
inline constexpr char kOwnSystemFile[] = "own";

struct UninstallRecord {
    UninstallItem kind;
    std::uint32_t root;          // registryKey only, else 0
    const char* text[2];         // UTF-8, not zero-terminated; nullptr/0 when unused
    std::size_t length[2];
};

inline constexpr std::size_t kUninstallInfoHeaderSize = 8;
inline constexpr std::uint16_t kUninstallInfoVersion = 1;
inline constexpr std::size_t kUninstallRecordFixedSize = 20 + 4;

// The CRC-32 (the zlib/PNG polynomial) of `size` bytes, continuing from `crc` (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

// The bytes a new uninstall-information file starts with.
std::size_t UninstallInfoHeader(std::uint8_t* out, std::size_t capacity);

// One record as it is appended to the file; its length, or 0 when `capacity` is too small
// (or a text does not fit a 32-bit length).
std::size_t EncodeUninstallRecord(const UninstallRecord& record, std::uint8_t* out, std::size_t capacity);

// Reads the records of a whole file held in memory, in the order they were written. The
// texts of a record point into the file's bytes.
class CUninstallInfoReader {
public:
    CUninstallInfoReader(const std::uint8_t* bytes, std::size_t size);
    // The file starts with the header of a version this reader knows.
    bool HeaderOk() const;
    // The next record; false at the end, at a cut-short or garbled last record (an
    // interrupted installation), and at a damaged record (see Damaged). Once false, always false.
    bool Next(UninstallRecord& record);
    // Next stopped at a damaged record that is not the last one: the file was altered.
    bool Damaged() const { return m_damaged; }
    // Where the records read so far end. Once Next has returned false without Damaged, an
    // installation that adds to the file (installing again into the same folder) cuts it
    // here and appends its records, so that the bytes of an interrupted write never end
    // up before sound records, where they would make the file look altered.
    std::size_t End() const { return m_pos; }

private:
    // A record header with a sound check value starts somewhere after `from`.
    bool SoundHeaderAfter(std::size_t from) const;

    const std::uint8_t* m_bytes;
    std::size_t m_size;
    std::size_t m_pos;
    bool m_stopped;
    bool m_damaged = false;
};

// "<folder>\<stem of the uninstaller's name>.dat" for the uninstaller at `uninstallerPath`:
// where its uninstall information lives. Both '\\' and '/' end a folder; the stem is the
// name up to its last dot (the whole name when it has none). An uninstaller whose own name
// ends in ".dat" gets ".dat" appended instead, so that the two never share a file. Writes
// the name zero-terminated into `out` and returns its length; 0 when `capacity` is too
// small or the path ends in a separator (no name). Narrow and wide paths alike.
template <typename Char>
std::size_t MakeUninstallInfoName(const Char* uninstallerPath, std::size_t length, Char* out, std::size_t capacity)
{
    std::size_t nameStart = 0;
    for (std::size_t i = length; i > 0; --i) {
        if (uninstallerPath[i - 1] == Char('\\') || uninstallerPath[i - 1] == Char('/')) {
            nameStart = i;
            break;
        }
    }
    if (nameStart == length) return 0;
    std::size_t stem = length;
    for (std::size_t i = length; i > nameStart; --i) {
        if (uninstallerPath[i - 1] == Char('.')) {
            stem = i - 1;
            break;
        }
    }
    const char extension[] = ".dat";
    if (length - stem == 4) {
        bool sameExtension = true;
        for (std::size_t i = 1; i < 4; ++i) {
            Char c = uninstallerPath[stem + i];
            if (c >= Char('A') && c <= Char('Z')) c = static_cast<Char>(c - Char('A') + Char('a'));
            if (c != Char(extension[i])) sameExtension = false;
        }
        if (sameExtension) stem = length;
    }
    if (capacity < stem + 4 + 1) return 0;
    for (std::size_t i = 0; i < stem; ++i) out[i] = uninstallerPath[i];
    for (std::size_t i = 0; i < 4; ++i) out[stem + i] = Char(extension[i]);
    out[stem + 4] = 0;
    return stem + 4;
}

}  // namespace sw
