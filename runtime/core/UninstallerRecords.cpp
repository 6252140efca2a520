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
    return length;
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

bool IsActionableRecord(const UninstallRecord& record)
{
    switch (record.kind) {
    case UninstallItem::registryKey: return RemovableKeyLength(record.root, record.text[0], record.length[0]) > 0;
    case UninstallItem::font:
        if (record.length[1] == 0) return false;
        for (std::size_t i = 0; i < record.length[1]; ++i)
            if (record.text[1][i] == '\0') return false;
        return IsRemovablePath(record.text[0], record.length[0]);
    default: return IsRemovablePath(record.text[0], record.length[0]);
    }
}

}  // namespace sw
