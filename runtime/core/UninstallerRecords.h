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

// "HKEY_LOCAL_MACHINE\\" and so on for a root code, for the log; "" for 0 and unknown codes.
const char* RegistryRootName(std::uint32_t root);

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
// root, an empty key or one with an empty part (a leading or doubled backslash), a key of
// one part under HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_USERS, whose first level
// holds the system's own hives ("Software", "System") or a user's whole profile, and a
// well-known key of the system or one above it (Software\Microsoft, the Uninstall key,
// HKEY_CLASSES_ROOT\CLSID, .exe, ...; the table is in UninstallerRecords.cpp). Keys below
// those stay removable: HKEY_CLASSES_ROOT\CLSID\{guid}, HKEY_CLASSES_ROOT\.myext.
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

// A key the uninstall information may list: the installation's own entry among the
// installed programs, "Software\Microsoft\Windows\CurrentVersion\Uninstall\<name>" under
// HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, with a name of one part. The installer writes
// nothing else there; any other key in the information was put there by someone else.
bool IsOwnUninstallEntry(std::uint32_t root, const char* text, std::size_t length);

// The same information lists the file of a control or font record as written by the
// installation (a file or shared-file record of the same path).
bool IsListedAsWritten(const UninstallRecord* records, std::size_t count, const UninstallRecord& record);

// Every record can be acted on safely: its paths pass IsRemovablePath (an installation
// folder may also be a drive root), a font names its registry value, a registry key is the
// installation's own entry (IsOwnUninstallEntry). The uninstaller checks them all before it
// removes anything, so that a bad list removes nothing.
bool IsActionableRecord(const UninstallRecord& record);

// ---- What an installation may own --------------------------------------------------------
//
// Paths are compared the way Windows resolves them: ASCII case ignored, '/' taken for '\',
// and the dots and spaces a part ends with dropped ("Windows." is "Windows"). Other letters
// must match exactly: a path that differs only in their case counts as another path, which
// errs on the side of leaving things alone.

// `path` lies strictly below `folder` (a trailing separator of `folder`, as a drive root
// "C:\" has, is ignored).
bool IsPathBelow(const char* path, std::size_t pathLength, const char* folder, std::size_t folderLength);
// The same folder.
bool IsSameFolder(const char* a, std::size_t aLength, const char* b, std::size_t bLength);
// "X:", "X:\" or "\\server\share" (with or without a trailing separator).
bool IsDriveRoot(const char* path, std::size_t length);

// The kinds of record that may act below a folder, one bit per UninstallItem.
constexpr std::uint32_t ScopeKind(UninstallItem kind) { return 1u << static_cast<unsigned>(kind); }
// Below the installation folder: everything the installer writes.
inline constexpr std::uint32_t kInstallationKinds =
    ScopeKind(UninstallItem::file) | ScopeKind(UninstallItem::sharedFile) | ScopeKind(UninstallItem::folder) |
    ScopeKind(UninstallItem::shortcut) | ScopeKind(UninstallItem::font) | ScopeKind(UninstallItem::control);
// Windows and System: the files there are shared with Windows and other programs, so only
// those whose usage count the installation raised (and their controls); new folders.
inline constexpr std::uint32_t kSharedSystemKinds =
    ScopeKind(UninstallItem::sharedFile) | ScopeKind(UninstallItem::control) | ScopeKind(UninstallItem::folder);
// Fonts: font files and their registrations.
inline constexpr std::uint32_t kFontsKinds = ScopeKind(UninstallItem::file) | ScopeKind(UninstallItem::sharedFile) |
                                             ScopeKind(UninstallItem::font) | ScopeKind(UninstallItem::control) |
                                             ScopeKind(UninstallItem::folder);
// Start menu, Startup and desktop: shortcuts and the folders made for them.
inline constexpr std::uint32_t kShortcutKinds = ScopeKind(UninstallItem::shortcut) | ScopeKind(UninstallItem::folder);
// A folder no installation owns (Program Files, a user's profile, Documents): nothing below
// it goes unless a deeper folder in the list admits it.
inline constexpr std::uint32_t kNoKinds = 0;

// A folder of this system and the kinds of record that may act below it.
struct ScopeRoot {
    const char* path;  // UTF-8, absolute, not zero-terminated; "" when the system has no such folder
    std::size_t length;
    std::uint32_t kinds;
};

// Where the records of one installation may act: below its installation folder (every
// kind), and below the system's folders as their kinds say. The deepest folder that holds
// a path decides; several entries for the same folder add their kinds up.
struct UninstallScope {
    const char* installation;  // UTF-8, absolute
    std::size_t installationLength;
    const ScopeRoot* roots;  // the known folders installations write into, and the protected ones
    std::size_t rootCount;
};

enum class InstallationFolder : std::uint8_t {
    fromRecord,       // the information's installation records name it
    fromUninstaller,  // information without such a record: the uninstaller's own folder
    refused,          // a record names a folder that does not hold the uninstaller, a protected
                      // folder above it, or records disagree: the information was altered
};

// The installation folder for the uninstaller in `uninstallerFolder`. Every installation
// record must name that folder itself or one above it; one above it must be neither a drive
// root nor one of `roots` (known or protected folders, which hold other programs' things).
// Every installation record of the information (one per installation into the folder) must
// name the same folder. `folder` points into the record or at `uninstallerFolder`.
InstallationFolder FindInstallationFolder(const UninstallRecord* records, std::size_t count,
                                          const char* uninstallerFolder, std::size_t uninstallerFolderLength,
                                          const ScopeRoot* roots, std::size_t rootCount, const char*& folder,
                                          std::size_t& folderLength);

// Record `index` of `records` acts only on what its installation may own:
// - a path below the installation folder or a folder of `scope.roots` that admits its kind
//   (the deepest folder holding it decides);
// - a folder record may also name the installation folder or a folder above it that the
//   installation created (removed only when empty), but never a drive root, a known or a
//   protected folder itself;
// - a shortcut is a ".lnk" file;
// - a control or a font is a file that the same information lists as written (a file or
//   shared-file record): the uninstaller loads a control, and loads only what it installed;
// - a registry key is the installation's own entry; an installation record is always in
//   scope (FindInstallationFolder judges it).
// Assumes IsActionableRecord holds for the record.
bool IsRecordInScope(const UninstallRecord* records, std::size_t count, std::size_t index, const UninstallScope& scope);

}  // namespace sw
