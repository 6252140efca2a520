#pragma once
// The records the builder appends to the uninstaller's own image: its texts
// (REC_UNINST_TEXTS) and the registry keys it removes (REC_UNINST_KEYS). Portable and
// heap-free like the rest of the core, so that the uninstaller's reading of them is
// unit-tested natively.
#include <cstddef>
#include <cstdint>

#include "core/UninstallInfo.h"

namespace sw {

// The uninstaller's texts, in the order the builder writes them (already with the
// product title put in).
enum UninstallerText : unsigned {
    kUninstTitle = 0,
    kUninstConfirm = 1,
    kUninstDone = 2,
    kUninstYes = 3,
    kUninstYesToAll = 4,
    kUninstNo = 5,
    kUninstNoToAll = 6,
    kUninstOutOfMemory = 7,
    kUninstInvalidInfo = 8,
    kUninstWriteProtected = 9,   // one %s: the file
    kUninstSharedUnused = 10,    // one %s: the file
    kUninstTextCount = 11,
};

struct TextView {
    const char* text;  // not zero-terminated
    std::size_t length;
};

// Reads REC_UNINST_TEXTS (16-bit 1, 16-bit count, then per text a 16-bit length and its
// bytes) into `texts`: the first kUninstTextCount texts, missing ones empty, extra ones
// ignored. False when the record is damaged: another first value, or a text that runs
// past the end or is followed by stray bytes.
bool ReadUninstallerTexts(const std::uint8_t* payload, std::size_t size, TextView (&texts)[kUninstTextCount]);

struct RegistryKeyView {
    std::uint32_t root;  // 0x80000000.. (HKEY_CLASSES_ROOT..HKEY_USERS), 0 when the key named no root
    const char* text;    // not zero-terminated
    std::size_t length;
};

// Reads REC_UNINST_KEYS: a 32-bit count, then per key a 32-bit root code, a 16-bit length
// and the key's bytes.
class CUninstallKeyReader {
public:
    CUninstallKeyReader(const std::uint8_t* payload, std::size_t size) : m_payload(payload), m_size(size) {}
    // Checks the whole record and gives the number of keys; false when it is damaged (a key
    // that runs past the end, stray bytes after the last).
    bool Start(std::uint32_t& count);
    // The next key; call at most `count` times after a successful Start.
    void Next(RegistryKeyView& key);

private:
    const std::uint8_t* m_payload;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// The length of `text` without the separators it ends with, when removing the key under
// `root` takes away only what a product can own; 0 when it would not. Refused: an unknown
// root, an empty key or one with an empty part (a leading or doubled backslash), and a key
// of one part under HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_USERS, whose first level
// holds the system's own hives ("Software", "System") or a user's whole profile.
std::size_t RemovableKeyLength(std::uint32_t root, const char* text, std::size_t length);

// A path from the uninstall information that names one thing on a local or network drive:
// "X:\..." or "\\server\share\..." with at least one part after the root, no part that is
// empty or only dots and spaces ("..", "." and their kin), no further ':' and no zero byte.
// Relative paths are refused: they would depend on the uninstaller's current folder.
bool IsRemovablePath(const char* text, std::size_t length);

// The same path as the installation wrote it twice: equal ignoring ASCII case, '/' and '\\'
// taken as the same separator.
bool SamePath(const char* a, std::size_t aLength, const char* b, std::size_t bLength);

// A font or control record whose file is also listed as a shared file: it goes only with
// the shared file, when no program uses that any more.
bool BelongsToSharedFile(const UninstallRecord* records, std::size_t count, const UninstallRecord& record);

// Every record can be acted on safely: its paths pass IsRemovablePath, a font names its
// registry value, a registry key passes RemovableKeyLength. The uninstaller checks them all
// before it removes anything, so that a bad list removes nothing.
bool IsActionableRecord(const UninstallRecord& record);

}  // namespace sw
