#pragma once
// The layout of an installation program after the runtime image: tagged records, the
// file table and the data section. The builder writes it and the runtimes read it, so it
// depends on nothing but <cstdint>/<cstddef>.
//
// A record is: 16-bit id, 16-bit flags (bit 0: the payload is compressed), 32-bit payload
// size, payload. A compressed payload is a 32-bit uncompressed length and one compressed
// stream. Strings carry their terminating zero byte unless a record says otherwise. All
// integers are little-endian.
#include <cstddef>
#include <cstdint>

namespace sw {

inline constexpr std::size_t kRecordHeaderSize = 8;
inline constexpr std::uint16_t kRecordCompressed = 1;
// Payloads shorter than this are stored as they are; longer ones are compressed.
inline constexpr std::size_t kMinCompressedPayload = 8;

enum RecordId : std::uint16_t {
    REC_OPTIONS = 0x1234,            // 32 bits: bit 0 full-screen window, then the directory flags 0x2, 0x4, 0x8
    REC_DEFAULT_DIR = 0x1235,
    REC_WIZARD_BITMAP = 0x1236,      // a whole .bmp file
    REC_BACKGROUND_BITMAP = 0x1237,  // a whole .bmp file
    REC_TITLE = 0x1238,
    REC_BACKGROUND_TITLE = 0x1239,
    REC_WIZARD_TEXTS = 0x123A,
    REC_ATTACHED_FILE = 0x123B,
    REC_REG_ROOT = 0x123C,           // 32 bits: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS
    REC_REG_KEY = 0x123D,
    REC_REG_VALUE = 0x123E,
    REC_INI_FILE = 0x123F,
    REC_INI_SECTION = 0x1240,
    REC_INI_ENTRY = 0x1241,
    REC_DIALOGS = 0x1242,            // 32-bit length + stream of: 32-bit offsets, one per template, then the templates
    REC_FILE_TABLE = 0x1243,
    REC_TEST_PAGE = 0x1244,          // 16 bits: the wizard page to start at, 0xFFFF for the whole wizard
    REC_TITLE_FONT = 0x1246,         // the 60-byte Win32 LOGFONT
    REC_END = 0x7F7F,                // size = length of the data section that follows (0 in a test program)

    // Records of the uninstaller package (after the uninstaller's own runtime image).
    REC_UNINST_TEXTS = 0x1234,       // 16-bit 1, 16-bit count, then per text a 16-bit length and its bytes
    REC_UNINST_KEYS = 0x1237,        // 32-bit count, then per key a 32-bit root code, 16-bit length, bytes
};

// Bits of REC_OPTIONS.
inline constexpr std::uint32_t kOptionFullScreen = 0x1;
inline constexpr std::uint32_t kOptionUserCanChangeDir = 0x2;
inline constexpr std::uint32_t kOptionWriteRegistry = 0x4;
inline constexpr std::uint32_t kOptionWriteIni = 0x8;

// A file record of REC_FILE_TABLE: 32-bit record length (this field included), 16-bit 0,
// 16-bit icon index, the five option bytes, flags, 32-bit check value, 32-bit size,
// 32-bit compressed size (0: no data), then the optional blocks the flags announce, then
// six zero-terminated strings: name, icon folder, icon name, icon arguments, shortcut name,
// shortcut arguments.
inline constexpr std::size_t kFileRecordFixedSize = 26;
inline constexpr std::uint8_t kFileIsUninstaller = 1;
inline constexpr std::uint8_t kFileHasVersion = 2;   // file version MS, LS, product version MS, LS (4 x 32 bits) ...
inline constexpr std::uint8_t kFileHasLanguage = 4;  // ... and a 32-bit language: 20 bytes when either flag is set
inline constexpr std::uint8_t kFileHasTimes = 8;     // creation, last access, last write: 3 x 64-bit FILETIME
inline constexpr std::size_t kFileVersionBlockSize = 20;
inline constexpr std::size_t kFileTimesBlockSize = 24;

// Registry roots of REC_UNINST_KEYS; 0 when the key names no root.
inline constexpr std::uint32_t kRootClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kRootCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kRootLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kRootUsers = 0x80000003u;

// The data section after REC_END, and each follow-on volume (".D01", ".D02", ...): a
// 32-bit count of the data bytes the file holds, then those bytes.

// The check value: a rotate-and-add sum. Each complete 32-bit little-endian word, then
// each remaining byte, is added to the sum rotated left by one. Feeding a sequence in
// pieces gives the same sum when every piece but the last is a multiple of 4 bytes long.
inline std::uint32_t AddToChecksum(std::uint32_t sum, const std::uint8_t* data, std::size_t size)
{
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        std::uint32_t word = static_cast<std::uint32_t>(data[i]) | static_cast<std::uint32_t>(data[i + 1]) << 8 |
                             static_cast<std::uint32_t>(data[i + 2]) << 16 | static_cast<std::uint32_t>(data[i + 3]) << 24;
        sum = ((sum << 1) | (sum >> 31)) + word;
    }
    for (; i < size; ++i) sum = ((sum << 1) | (sum >> 31)) + data[i];
    return sum;
}

}  // namespace sw
