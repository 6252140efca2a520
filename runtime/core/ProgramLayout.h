#pragma once
// How an installer runtime finds its way through the installation program it is part of:
// the records after its own image, the file table, which files to install where, and the
// checks on the names the file table gives. Works on bytes held in memory (the Win32 front
// end maps its own file), needs no heap, exceptions or RTTI, and is unit-tested natively.
#include <cstddef>
#include <cstdint>

#include "core/InstallName.h"

namespace sw {

struct RecordView {
    std::uint16_t id;
    std::uint16_t flags;
    const std::uint8_t* data;  // the payload as stored (compressed when flags say so)
    std::uint32_t size;
};

inline constexpr std::size_t kMaxRecords = 64;

enum class LayoutStatus : std::uint8_t {
    ok,
    noSizeMarker,    // not an installation program
    invalid,         // too many records, or records that fail their check (ImageMarkers.h)
    wrongLength,     // the file is longer or shorter than the data it declares
    needsVolumes,    // the data continues in follow-on volumes
};

struct ProgramView {
    std::uint32_t imageSize;
    std::uint32_t seed;
    RecordView records[kMaxRecords];
    std::size_t recordCount;
    std::uint32_t dataSize;         // REC_END's size: the data bytes of all volumes
    const std::uint8_t* data;       // the data bytes this file holds
    std::uint32_t dataInFile;
};

// Walks the records of the program held in `file` up to REC_END, checks them against the
// check in the size marker, and checks that the file ends exactly where its data does: a
// damaged, truncated or padded download is refused before any file is touched. With
// needsVolumes the view is filled but the rest of the data is elsewhere.
LayoutStatus ReadProgramLayout(const std::uint8_t* file, std::uint64_t size, ProgramView& view);

// The records' check: true when the size marker at `sizeMarker` carries the tag and the
// CRC-32 of `records` (from the end of the image to the end of REC_END's header).
bool RecordsCheckHolds(const std::uint8_t* sizeMarker, const std::uint8_t* records, std::size_t size);

// Writes the records' check into the size marker of a program held in memory whose size
// slot is already set: the CRC-32 of everything from the end of its image to the end of
// REC_END's header. False (nothing written) when it has no size marker or no REC_END.
bool SealProgramRecords(std::uint8_t* program, std::size_t size);

// The first record with this id, or nullptr.
const RecordView* FindRecord(const ProgramView& view, std::uint16_t id);

// The uncompressed length of a record's payload, or (for a compressed one) the length its
// header declares; false when a compressed payload is too short to hold the length.
bool PayloadLength(const RecordView& record, std::uint32_t& length);
// Copies or decodes the payload into `out` (PayloadLength bytes); false on a damaged stream.
bool ReadPayload(const RecordView& record, std::uint8_t* out, std::uint32_t length);

// The check value every file's sum is XORed with: the seed, then the default directory and,
// in full-screen mode, the background title (both without their terminating zero).
// `defaultDir`/`backgroundTitle` are the uncompressed payloads (nullptr when absent).
std::uint32_t ProjectCheckValue(std::uint32_t seed, const std::uint8_t* defaultDir, std::uint32_t defaultDirSize,
                                std::uint32_t options, const std::uint8_t* backgroundTitle, std::uint32_t backgroundTitleSize);

// The check value of data that arrives in pieces of any length: AddToChecksum needs whole
// 32-bit words, so the last bytes of a piece wait for the next one.
class CChecksum {
public:
    explicit CChecksum(std::uint32_t start = 0) : m_sum(start) {}
    void Add(const std::uint8_t* data, std::size_t size);
    std::uint32_t Value() const;

private:
    std::uint32_t m_sum;
    std::uint8_t m_pending[4] = {};
    std::size_t m_pendingCount = 0;
};

// One file record of REC_FILE_TABLE. Strings point into the table and end with their zero.
struct FileEntry {
    std::uint16_t iconIndex;
    std::uint8_t options[5];
    std::uint8_t flags;
    std::uint32_t checkValue;
    std::uint32_t size;
    std::uint32_t packedSize;
    std::uint64_t dataOffset;   // where its stream starts in the data section
    std::uint32_t version[4];   // file version high, low, product version high, low (flags 2 or 4)
    std::uint32_t language;     // the language of its version information (flags 2 or 4)
    bool hasTimes;
    std::uint64_t times[3];     // creation, last access, last write (FILETIME)
    const char* name;
    std::size_t nameLength;
};

// Reads the file table one record at a time.
class CFileTableReader {
public:
    CFileTableReader(const std::uint8_t* table, std::size_t size);
    // The number of files the table declares; false when the table is too short for it.
    bool Start(std::uint32_t& count);
    // The next record; false when it is damaged (wrong length, a string without its end).
    bool Next(FileEntry& entry);
    // True when the records read so far used up the table exactly.
    bool AtEnd() const { return m_pos == m_size; }

private:
    const std::uint8_t* m_table;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::uint64_t m_dataPos = 0;
};

// The names of the file table obey the one rule of core/InstallName.h (IsSafeInstallName).

// Whether a file of the file table would land on the uninstaller or on its uninstall
// information ("<stem>.dat", see MakeUninstallInfoName), both named relative to the
// installation directory. Windows compares names ignoring case, takes '/' for '\\', and
// drops the dots and spaces a name part ends with; so does this (ASCII case only). Only a
// file installed into the installation directory can collide: the caller asks for those.
bool CollidesWithUninstaller(const char* name, std::size_t length, const char* uninstallerName, std::size_t uninstallerLength);

enum class InstallAction : std::uint8_t {
    install,      // decode and write it under the target folder
    skipNoData,   // no stream (nothing to install)
    skipMode,     // "do not install"
    installUninstaller,  // the uninstaller's package, into the installation directory
    refuseName,   // an unsafe name: the program is treated as invalid data
    refuseTarget, // a target folder the builder never writes: invalid data as well
};

// What the installer does with one file.
InstallAction PlanFile(const FileEntry& entry);

// Looks through a file table that reads whole for a file that the installer would write
// over the uninstaller it installs, or over the uninstall information beside it; gives
// that file's entry. False when there is none (or the table installs no uninstaller).
bool FindUninstallerCollision(const std::uint8_t* table, std::size_t size, FileEntry& collision);

// Where a file goes: option byte 0 of its record. The builder writes only these four.
enum class TargetFolder : std::uint8_t { installation, windows, system, fonts };

// The target of a file; false for a value the builder never writes.
bool FileTargetFolder(const FileEntry& entry, TargetFolder& folder);

// The folders the directory macros stand for, as the system gives them (a trailing
// backslash, which a root folder has, is dropped when they are put in).
template <typename Char>
struct DirectoryMacroFolders {
    const Char* windows;
    const Char* system;
    const Char* programFiles;
};

// Copies a directory field (such as the default directory) into `out`, zero-terminated,
// with every "#Windows#", "#System#" and "#Program Files#" replaced by its folder, at any
// place in the text and as often as it occurs. The macros are matched as the builder
// writes them, case and all; any other text, other '#' included, is kept. Returns the
// length, or 0 when `capacity` is too small for the result and its zero.
template <typename Char>
std::size_t ExpandDirectoryMacros(const Char* text, std::size_t length, const DirectoryMacroFolders<Char>& folders,
                                  Char* out, std::size_t capacity)
{
    const char* const names[3] = {"#Windows#", "#System#", "#Program Files#"};
    const Char* const values[3] = {folders.windows, folders.system, folders.programFiles};
    std::size_t n = 0;
    if (capacity == 0) return 0;
    for (std::size_t i = 0; i < length;) {
        int macro = -1;
        std::size_t macroLength = 0;
        for (int m = 0; m < 3 && macro < 0; ++m) {
            std::size_t k = 0;
            while (names[m][k] && i + k < length && text[i + k] == Char(names[m][k])) ++k;
            if (!names[m][k]) {
                macro = m;
                macroLength = k;
            }
        }
        if (macro < 0) {
            if (capacity - n < 2) return 0;
            out[n++] = text[i++];
            continue;
        }
        const Char* value = values[macro];
        std::size_t valueLength = 0;
        while (value[valueLength]) ++valueLength;
        while (valueLength > 0 && (value[valueLength - 1] == Char('\\') || value[valueLength - 1] == Char('/'))) --valueLength;
        if (capacity - n < valueLength + 1) return 0;
        for (std::size_t j = 0; j < valueLength; ++j) out[n++] = value[j];
        i += macroLength;
    }
    out[n] = 0;
    return n;
}

// Follow-on volumes. When the data section does not fit on the output disk, the builder
// continues it in files beside the program: the program "SETUP.EXE" is followed by
// "SETUP.D01", "SETUP.D02", ... (the extension from the last dot replaced, or appended when
// the name has none), each a 32-bit count and exactly that many data bytes.
inline constexpr unsigned kMaxVolumes = 999;

// Writes the name of volume `number` (1 to kMaxVolumes) for the program at `path` into
// `out`, zero-terminated; both '\\' and '/' end a folder. Returns its length, or 0
// when `capacity` is too small. Works on narrow and wide names alike.
template <typename Char>
std::size_t MakeVolumeName(const Char* path, std::size_t length, unsigned number, Char* out, std::size_t capacity)
{
    std::size_t stem = length;
    for (std::size_t i = length; i > 0; --i) {
        if (path[i - 1] == Char('\\') || path[i - 1] == Char('/')) break;
        if (path[i - 1] == Char('.')) {
            stem = i - 1;
            break;
        }
    }
    Char digits[4] = {Char('0' + number / 100 % 10), Char('0' + number / 10 % 10), Char('0' + number % 10), 0};
    const Char* suffix = number >= 100 ? digits : digits + 1;
    std::size_t suffixLength = number >= 100 ? 3 : 2;
    if (number == 0 || number > kMaxVolumes || capacity < stem + 2 + suffixLength + 1) return 0;
    for (std::size_t i = 0; i < stem; ++i) out[i] = path[i];
    out[stem] = Char('.');
    out[stem + 1] = Char('D');
    for (std::size_t i = 0; i < suffixLength; ++i) out[stem + 2 + i] = suffix[i];
    out[stem + 2 + suffixLength] = 0;
    return stem + 2 + suffixLength;
}

// Checks one follow-on volume of `size` bytes: a 32-bit count and exactly that many bytes,
// no more than the `remaining` bytes of the data section still to come. Gives the count
// and where its bytes start; false for a volume that is cut short, padded or too long.
bool ReadVolume(const std::uint8_t* file, std::uint64_t size, std::uint64_t remaining, const std::uint8_t*& data,
                std::uint32_t& count);

// The data section as pieces in order: the part in the program, then each volume's.
struct DataPiece {
    const std::uint8_t* data;
    std::uint32_t size;
};

// The input of one file's stream, which may start in one piece and end in a later one:
// Read is the read callback of CStreamDecoder and moves on to the next piece where one
// ends, never past the stream's own length.
class CSpannedInput {
public:
    CSpannedInput(const DataPiece* pieces, std::size_t count) : m_pieces(pieces), m_count(count) {}
    // Starts a stream of `length` bytes at `offset` of the whole data section; false when it
    // runs past the end of the last piece.
    bool Start(std::uint64_t offset, std::uint64_t length);
    static std::size_t Read(void* self, std::uint8_t* buffer, std::size_t maxBytes);

private:
    const DataPiece* m_pieces;
    std::size_t m_count;
    std::size_t m_piece = 0;
    std::uint64_t m_at = 0;    // within the current piece
    std::uint64_t m_left = 0;  // of the stream
};

// Numbers of the wizard texts the unattended installer reports with (group 6).
inline constexpr unsigned kMessageGroup = 6;
inline constexpr unsigned kTextInsertDisk = 28;
inline constexpr unsigned kTextCrcError = 21;
inline constexpr unsigned kTextInvalidData = 31;

// Decodes group `group` of REC_WIZARD_TEXTS (stored uncompressed: a 16-bit count of groups,
// then per group a 32-bit length and a stream whose end only decoding finds) into `out`,
// decoding the groups before it into `out` as well. False when the group is missing, damaged
// or longer than `capacity`.
bool ReadWizardTextGroup(const std::uint8_t* raw, std::size_t size, unsigned group, std::uint8_t* out,
                         std::size_t capacity, std::size_t& length);
// Text `index` of a decoded group (16-bit count, zero-terminated strings); false when missing.
bool FindTextInGroup(const std::uint8_t* group, std::size_t size, unsigned index, const char*& text, std::size_t& length);

}  // namespace sw
