#include "core/UninstallerRecords.h"

#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"

namespace sw {

namespace {

std::uint32_t Load16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8; }
std::uint32_t Load32(const std::uint8_t* p) { return Load16(p) | Load16(p + 2) << 16; }

char Folded(char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c == '/' ? '\\' : c;
}

}  // namespace

bool ReadUninstallerTexts(const std::uint8_t* payload, std::size_t size, TextView (&texts)[kUninstTextCount])
{
    for (TextView& text : texts) text = TextView{"", 0};
    if (size < 4 || Load16(payload) != 1) return false;
    std::uint32_t count = Load16(payload + 2);
    std::size_t pos = 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (size - pos < 2) return false;
        std::size_t length = Load16(payload + pos);
        pos += 2;
        if (size - pos < length) return false;
        if (i < kUninstTextCount) texts[i] = TextView{reinterpret_cast<const char*>(payload + pos), length};
        pos += length;
    }
    return pos == size;
}

const char* RegistryRootName(std::uint32_t root)
{
    switch (root) {
    case kRootClassesRoot: return "HKEY_CLASSES_ROOT\\";
    case kRootCurrentUser: return "HKEY_CURRENT_USER\\";
    case kRootLocalMachine: return "HKEY_LOCAL_MACHINE\\";
    case kRootUsers: return "HKEY_USERS\\";
    default: return "";
    }
}

bool CUninstallKeyReader::Start(std::uint32_t& count)
{
    m_pos = 4;
    if (m_size < 4) return false;
    count = Load32(m_payload);
    std::size_t pos = 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (m_size - pos < 6) return false;
        std::size_t length = Load16(m_payload + pos + 4);
        pos += 6;
        if (m_size - pos < length) return false;
        pos += length;
    }
    return pos == m_size;
}

void CUninstallKeyReader::Next(RegistryKeyView& key)
{
    key.root = Load32(m_payload + m_pos);
    key.length = Load16(m_payload + m_pos + 4);
    key.text = reinterpret_cast<const char*>(m_payload + m_pos + 6);
    m_pos += 6 + key.length;
}

namespace {

// ---- Registry keys no product owns -------------------------------------------------------

bool SameText(const char* a, std::size_t aLength, const char* b, std::size_t bLength)
{
    if (aLength != bLength) return false;
    for (std::size_t i = 0; i < aLength; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool SameText(const char* a, std::size_t aLength, const char* b)
{
    std::size_t bLength = 0;
    while (b[bLength]) ++bLength;
    return SameText(a, aLength, b, bLength);
}

// Where in the registry a pattern of the table applies.
enum class KeyArea : std::uint8_t {
    machine,   // HKEY_LOCAL_MACHINE itself
    user,      // HKEY_CURRENT_USER, and each user's key under HKEY_USERS
    software,  // below the Software key of both (and its WOW6432Node twin)
    classes,   // HKEY_CLASSES_ROOT, and the Classes keys it is made of
};

// A part of a pattern that stands for any one part of a key.
constexpr const char kAnyPart[] = "<any>";

struct SystemKey {
    KeyArea area;
    const char* pattern;  // parts separated by '\\'
    bool wholeTree;       // the keys below it are the system's too
};

// Keys that belong to Windows or that every program shares. A listed key is refused when it
// is one of these or lies above one (removing it would take the pattern's key with it); and
// for a whole tree, when it lies below one. Keys below the others stay removable: a
// product's own CLSID, file type, Uninstall entry or vendor key.
constexpr SystemKey kSystemKeys[] = {
    {KeyArea::machine, "System", true},
    {KeyArea::machine, "SAM", true},
    {KeyArea::machine, "SECURITY", true},
    {KeyArea::machine, "HARDWARE", true},
    {KeyArea::machine, "BCD00000000", true},
    {KeyArea::machine, "COMPONENTS", true},
    {KeyArea::machine, "DRIVERS", true},

    {KeyArea::user, "Control Panel\\<any>", false},
    {KeyArea::user, "Environment", false},
    {KeyArea::user, "Keyboard Layout\\<any>", false},
    {KeyArea::user, "Network", false},
    {KeyArea::user, "Printers\\<any>", false},
    {KeyArea::user, "Console", false},
    {KeyArea::user, "AppEvents\\Schemes\\Apps\\.Default\\<any>", false},
    {KeyArea::user, "AppEvents\\Schemes\\Names", false},
    {KeyArea::user, "AppEvents\\EventLabels", false},
    {KeyArea::user, "Identities", false},
    {KeyArea::user, "EUDC", false},
    {KeyArea::user, "System", true},
    {KeyArea::user, "Volatile Environment", false},
    {KeyArea::user, "SessionInformation", false},

    {KeyArea::software, "Microsoft\\<any>\\<any>", false},
    {KeyArea::software, "Microsoft\\Windows\\CurrentVersion\\<any>", false},
    {KeyArea::software, "Microsoft\\Windows\\CurrentVersion\\Explorer\\<any>", false},
    {KeyArea::software, "Microsoft\\Windows\\CurrentVersion\\Policies\\<any>", false},
    {KeyArea::software, "Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\<any>", false},
    {KeyArea::software, "Microsoft\\Windows NT\\CurrentVersion\\<any>", false},
    {KeyArea::software, "Classes", false},
    {KeyArea::software, "Policies\\Microsoft\\<any>", false},
    {KeyArea::software, "WOW6432Node", false},
    {KeyArea::software, "Wine\\<any>", false},
    {KeyArea::software, "Clients\\<any>", false},
    {KeyArea::software, "RegisteredApplications", false},
    {KeyArea::software, "ODBC\\<any>", false},

    {KeyArea::classes, "CLSID", false},
    {KeyArea::classes, "Interface", false},
    {KeyArea::classes, "TypeLib", false},
    {KeyArea::classes, "AppID", false},
    {KeyArea::classes, "Installer\\<any>", false},
    {KeyArea::classes, "Component Categories", false},
    {KeyArea::classes, "Applications", false},
    {KeyArea::classes, "Unknown", false},
    {KeyArea::classes, "Wow6432Node", false},
    {KeyArea::classes, "*\\shell", false},
    {KeyArea::classes, "*\\shellex\\<any>", false},
    {KeyArea::classes, "*\\OpenWithList", false},
    {KeyArea::classes, "AllFilesystemObjects\\shellex\\<any>", false},
    {KeyArea::classes, "Directory\\shell", false},
    {KeyArea::classes, "Directory\\shellex\\<any>", false},
    {KeyArea::classes, "Directory\\Background\\shell", false},
    {KeyArea::classes, "Directory\\Background\\shellex\\<any>", false},
    {KeyArea::classes, "Drive\\shell", false},
    {KeyArea::classes, "Drive\\shellex\\<any>", false},
    {KeyArea::classes, "Folder\\shell", false},
    {KeyArea::classes, "Folder\\shellex\\<any>", false},
    {KeyArea::classes, "exefile\\shell\\open\\command", false},
    {KeyArea::classes, "exefile\\shell\\runas\\command", false},
    {KeyArea::classes, "dllfile", false},
    {KeyArea::classes, "batfile\\shell\\open\\command", false},
    {KeyArea::classes, "cmdfile\\shell\\open\\command", false},
    {KeyArea::classes, "comfile\\shell\\open\\command", false},
    {KeyArea::classes, "lnkfile\\shellex\\<any>", false},
    {KeyArea::classes, "txtfile\\shell\\open\\command", false},
    {KeyArea::classes, "htmlfile\\shell\\open\\command", false},
    {KeyArea::classes, "http\\shell\\open\\command", false},
    {KeyArea::classes, "https\\shell\\open\\command", false},
    {KeyArea::classes, ".exe", false},
    {KeyArea::classes, ".dll", false},
    {KeyArea::classes, ".bat", false},
    {KeyArea::classes, ".cmd", false},
    {KeyArea::classes, ".com", false},
    {KeyArea::classes, ".lnk", false},
    {KeyArea::classes, ".txt", false},
    {KeyArea::classes, ".htm", false},
    {KeyArea::classes, ".html", false},
    {KeyArea::classes, "MIME\\Database\\<any>", false},
    {KeyArea::classes, "Protocols\\<any>", false},
    {KeyArea::classes, "SystemFileAssociations\\<any>", false},
    {KeyArea::classes, "PackagedCom\\<any>", false},
    {KeyArea::classes, "Local Settings\\<any>\\<any>", false},
};

// The parts of a key (checked by RemovableKeyLength: no empty part). Patterns are shorter
// than kMaxParts; a deeper key keeps only its first parts, which is all a match needs.
constexpr std::size_t kMaxParts = 12;

struct KeyParts {
    const char* text[kMaxParts];
    std::size_t length[kMaxParts];
    std::size_t count = 0;  // all parts, kept or not
};

void SplitKey(const char* text, std::size_t length, KeyParts& parts)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        if (i < length && text[i] != '\\') continue;
        if (parts.count < kMaxParts) {
            parts.text[parts.count] = text + start;
            parts.length[parts.count] = i - start;
        }
        ++parts.count;
        start = i + 1;
    }
}

bool PartIs(const KeyParts& parts, std::size_t index, const char* name)
{
    return index < parts.count && index < kMaxParts && SameText(parts.text[index], parts.length[index], name);
}

// The parts of `parts` from `first` on match the system key `key`.
bool Matches(const KeyParts& parts, std::size_t first, const SystemKey& key)
{
    std::size_t count = parts.count - first;
    const char* p = key.pattern;
    std::size_t matched = 0;
    while (*p && matched < count) {
        std::size_t n = 0;
        while (p[n] && p[n] != '\\') ++n;
        std::size_t index = first + matched;
        if (index >= kMaxParts) return false;
        if (!SameText(p, n, kAnyPart) && !SameText(parts.text[index], parts.length[index], p, n)) return false;
        ++matched;
        p += n;
        if (*p == '\\') ++p;
    }
    // The loop ended with the key's parts (it is the pattern's key or one above it) or
    // with the pattern's (the key lies below it).
    return matched == count || key.wholeTree;
}

// The key, seen from `first` on, is a system key of `area` (an empty remainder is the
// area's own root, which no product owns either).
bool IsSystemKeyIn(KeyArea area, const KeyParts& parts, std::size_t first)
{
    if (first >= parts.count) return true;
    for (const SystemKey& key : kSystemKeys)
        if (key.area == area && Matches(parts, first, key)) return true;
    return false;
}

bool IsSystemClassesKey(const KeyParts& parts, std::size_t first)
{
    // HKEY_CLASSES_ROOT\Wow6432Node mirrors the classes for 32-bit programs.
    if (PartIs(parts, first, "Wow6432Node") && IsSystemKeyIn(KeyArea::classes, parts, first + 1)) return true;
    return IsSystemKeyIn(KeyArea::classes, parts, first);
}

// A key of HKEY_LOCAL_MACHINE (`machine`) or of a user (from `first` on).
bool IsSystemKeyOfHive(const KeyParts& parts, std::size_t first, bool machine)
{
    if (IsSystemKeyIn(machine ? KeyArea::machine : KeyArea::user, parts, first)) return true;
    if (!PartIs(parts, first, "Software")) return false;
    std::size_t software = first + 1;
    if (IsSystemKeyIn(KeyArea::software, parts, software)) return true;
    if (PartIs(parts, software, "Classes") && IsSystemClassesKey(parts, software + 1)) return true;
    // 32-bit programs see Software\WOW6432Node as their Software key.
    if (PartIs(parts, software, "WOW6432Node")) {
        if (IsSystemKeyIn(KeyArea::software, parts, software + 1)) return true;
        if (PartIs(parts, software + 1, "Classes") && IsSystemClassesKey(parts, software + 2)) return true;
    }
    return false;
}

bool IsSystemKey(std::uint32_t root, const char* text, std::size_t length)
{
    KeyParts parts;
    SplitKey(text, length, parts);
    switch (root) {
    case kRootClassesRoot: return IsSystemClassesKey(parts, 0);
    case kRootLocalMachine: return IsSystemKeyOfHive(parts, 0, true);
    case kRootCurrentUser: return IsSystemKeyOfHive(parts, 0, false);
    default: {
        // HKEY_USERS\<user> is that user's HKEY_CURRENT_USER; <user>_Classes its classes.
        const char suffix[] = "_Classes";
        std::size_t n = sizeof(suffix) - 1, first = parts.length[0];
        if (first >= n && SameText(parts.text[0] + first - n, n, suffix, n)) return IsSystemClassesKey(parts, 1);
        return IsSystemKeyOfHive(parts, 1, false);
    }
    }
}

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace

std::size_t RemovableKeyLength(std::uint32_t root, const char* text, std::size_t length)
{
    if (root < kRootClassesRoot || root > kRootUsers) return 0;
    while (length > 0 && text[length - 1] == '\\') --length;
    if (length == 0) return 0;
    std::size_t parts = 1;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '\0') return 0;
        if (text[i] != '\\') continue;
        if (i == 0 || text[i - 1] == '\\') return 0;
        ++parts;
    }
    if (parts == 1 && root != kRootClassesRoot) return 0;
    if (IsSystemKey(root, text, length)) return 0;
    return length;
}

bool IsOwnUninstallEntry(std::uint32_t root, const char* text, std::size_t length)
{
    if (root != kRootLocalMachine && root != kRootCurrentUser) return false;
    constexpr std::size_t prefix = sizeof(kUninstallKey) - 1;
    if (length <= prefix || !SameText(text, prefix, kUninstallKey, prefix)) return false;
    for (std::size_t i = prefix; i < length; ++i)
        if (text[i] == '\\' || text[i] == '\0') return false;
    return true;
}

bool IsRemovablePath(const char* text, std::size_t length)
{
    std::size_t root = 0;
    if (length >= 3 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')) && text[1] == ':' &&
        (text[2] == '\\' || text[2] == '/'))
        root = 3;
    else if (length >= 2 && (text[0] == '\\' || text[0] == '/') && (text[1] == '\\' || text[1] == '/'))
        root = 2;
    else
        return false;
    // The rest obeys the rules of a name inside the installation folder.
    return IsSafeInstallName(text + root, length - root);
}

bool SamePath(const char* a, std::size_t aLength, const char* b, std::size_t bLength)
{
    if (aLength != bLength) return false;
    for (std::size_t i = 0; i < aLength; ++i)
        if (Folded(a[i]) != Folded(b[i])) return false;
    return true;
}

bool BelongsToSharedFile(const UninstallRecord* records, std::size_t count, const UninstallRecord& record)
{
    if (record.kind != UninstallItem::font && record.kind != UninstallItem::control) return false;
    for (std::size_t i = 0; i < count; ++i)
        if (records[i].kind == UninstallItem::sharedFile &&
            SamePath(records[i].text[0], records[i].length[0], record.text[0], record.length[0]))
            return true;
    return false;
}

bool IsListedAsWritten(const UninstallRecord* records, std::size_t count, const UninstallRecord& record)
{
    for (std::size_t i = 0; i < count; ++i)
        if ((records[i].kind == UninstallItem::file || records[i].kind == UninstallItem::sharedFile) &&
            SamePath(records[i].text[0], records[i].length[0], record.text[0], record.length[0]))
            return true;
    return false;
}

bool IsActionableRecord(const UninstallRecord& record)
{
    switch (record.kind) {
    case UninstallItem::registryKey: return IsOwnUninstallEntry(record.root, record.text[0], record.length[0]);
    case UninstallItem::installation:
        if (record.length[0] == 3 && IsDriveRoot(record.text[0], 3)) return true;
        return IsRemovablePath(record.text[0], record.length[0]);
    case UninstallItem::font:
        if (record.length[1] == 0) return false;
        for (std::size_t i = 0; i < record.length[1]; ++i)
            if (record.text[1][i] == '\0') return false;
        return IsRemovablePath(record.text[0], record.length[0]);
    default: return IsRemovablePath(record.text[0], record.length[0]);
    }
}

namespace {

// ---- Paths -------------------------------------------------------------------------------

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The parts of a path as Windows resolves them: each without the dots and spaces it ends
// with. Leading separators ("\\\\server") are counted, not returned; a trailing one ends the
// path.
class CPathParts {
public:
    CPathParts(const char* text, std::size_t length) : m_text(text), m_length(length)
    {
        while (m_at < m_length && IsSeparator(m_text[m_at])) ++m_at;
        m_leading = m_at;
    }
    std::size_t Leading() const { return m_leading; }
    bool Next(const char*& part, std::size_t& length)
    {
        if (m_at >= m_length) return false;
        std::size_t start = m_at;
        while (m_at < m_length && !IsSeparator(m_text[m_at])) ++m_at;
        part = m_text + start;
        length = m_at - start;
        while (length > 0 && (part[length - 1] == '.' || part[length - 1] == ' ')) --length;
        if (m_at < m_length) ++m_at;  // the separator
        return true;
    }

private:
    const char* m_text;
    std::size_t m_length;
    std::size_t m_at = 0;
    std::size_t m_leading = 0;
};

// How many parts of `path` are left once those of `folder` matched it: -1 when `folder`
// does not hold `path` (or names no folder).
long PartsBelow(const char* path, std::size_t pathLength, const char* folder, std::size_t folderLength)
{
    CPathParts p(path, pathLength), f(folder, folderLength);
    if (folderLength == 0 || p.Leading() != f.Leading()) return -1;
    const char *a = nullptr, *b = nullptr;
    std::size_t aLength = 0, bLength = 0;
    while (f.Next(b, bLength)) {
        if (!p.Next(a, aLength) || !SameText(a, aLength, b, bLength)) return -1;
    }
    long left = 0;
    while (p.Next(a, aLength)) ++left;
    return left;
}

std::size_t PartCount(const char* path, std::size_t length)
{
    CPathParts parts(path, length);
    const char* part = nullptr;
    std::size_t partLength = 0, count = 0;
    while (parts.Next(part, partLength)) ++count;
    return count;
}

bool IsListedRoot(const char* path, std::size_t length, const ScopeRoot* roots, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (roots[i].length > 0 && IsSameFolder(path, length, roots[i].path, roots[i].length)) return true;
    return false;
}

// The kinds the deepest folder holding `path` admits.
std::uint32_t KindsAt(const char* path, std::size_t length, const UninstallScope& scope)
{
    std::size_t depth = 0;
    std::uint32_t kinds = kNoKinds;
    bool found = false;
    auto consider = [&](const char* folder, std::size_t folderLength, std::uint32_t folderKinds) {
        if (folderLength == 0 || !IsPathBelow(path, length, folder, folderLength)) return;
        std::size_t folderDepth = PartCount(folder, folderLength);
        if (!found || folderDepth > depth) {
            depth = folderDepth;
            kinds = folderKinds;
            found = true;
        } else if (folderDepth == depth) {
            kinds |= folderKinds;
        }
    };
    consider(scope.installation, scope.installationLength, kInstallationKinds);
    for (std::size_t i = 0; i < scope.rootCount; ++i) consider(scope.roots[i].path, scope.roots[i].length, scope.roots[i].kinds);
    return kinds;
}

bool EndsWithLnk(const char* path, std::size_t length)
{
    return length > 4 && SameText(path + length - 4, 4, ".lnk", 4);
}

}  // namespace

bool IsPathBelow(const char* path, std::size_t pathLength, const char* folder, std::size_t folderLength)
{
    return PartsBelow(path, pathLength, folder, folderLength) > 0;
}

bool IsSameFolder(const char* a, std::size_t aLength, const char* b, std::size_t bLength)
{
    return aLength > 0 && PartsBelow(a, aLength, b, bLength) == 0;
}

bool IsDriveRoot(const char* path, std::size_t length)
{
    CPathParts parts(path, length);
    const char* part = nullptr;
    std::size_t partLength = 0, count = 0;
    bool drive = false;
    while (parts.Next(part, partLength)) {
        if (++count == 1)
            drive = partLength == 2 && part[1] == ':' &&
                    ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
    }
    if (parts.Leading() == 0) return count == 1 && drive;
    return parts.Leading() == 2 && count == 2;  // \\server\share
}

InstallationFolder FindInstallationFolder(const UninstallRecord* records, std::size_t count,
                                          const char* uninstallerFolder, std::size_t uninstallerFolderLength,
                                          const ScopeRoot* roots, std::size_t rootCount, const char*& folder,
                                          std::size_t& folderLength)
{
    folder = uninstallerFolder;
    folderLength = uninstallerFolderLength;
    InstallationFolder found = InstallationFolder::fromUninstaller;
    for (std::size_t i = 0; i < count; ++i) {
        const UninstallRecord& record = records[i];
        if (record.kind != UninstallItem::installation) continue;
        const char* named = record.text[0];
        std::size_t length = record.length[0];
        if (found == InstallationFolder::fromRecord && !IsSameFolder(named, length, folder, folderLength))
            return InstallationFolder::refused;
        bool own = IsSameFolder(named, length, uninstallerFolder, uninstallerFolderLength);
        bool above = IsPathBelow(uninstallerFolder, uninstallerFolderLength, named, length) &&
                     !IsDriveRoot(named, length) && !IsListedRoot(named, length, roots, rootCount);
        if (!own && !above) return InstallationFolder::refused;
        folder = named;
        folderLength = length;
        found = InstallationFolder::fromRecord;
    }
    return found;
}

bool IsRecordInScope(const UninstallRecord* records, std::size_t count, std::size_t index, const UninstallScope& scope)
{
    const UninstallRecord& record = records[index];
    const char* path = record.text[0];
    std::size_t length = record.length[0];
    switch (record.kind) {
    case UninstallItem::installation: return true;
    case UninstallItem::registryKey: return IsOwnUninstallEntry(record.root, path, length);
    case UninstallItem::shortcut:
        if (!EndsWithLnk(path, length)) return false;
        break;
    case UninstallItem::control:
    case UninstallItem::font:
        if (!IsListedAsWritten(records, count, record)) return false;
        break;
    case UninstallItem::folder:
        if (IsDriveRoot(path, length) || IsListedRoot(path, length, scope.roots, scope.rootCount)) return false;
        // The installation folder, and the folders above it that the installation made.
        if (IsSameFolder(path, length, scope.installation, scope.installationLength) ||
            IsPathBelow(scope.installation, scope.installationLength, path, length))
            return true;
        break;
    case UninstallItem::file:
    case UninstallItem::sharedFile: break;
    }
    return (KindsAt(path, length, scope) & ScopeKind(record.kind)) != 0;
}

}  // namespace sw
