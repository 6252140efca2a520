#include "model/FileItem.h"

#include "model/Archive.h"

namespace sw {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && SameFileName(text.substr(text.size() - suffix.size()), suffix);
}

// Record markers of a stored file: the current form, and the older form with two options.
constexpr std::int32_t kRecordCurrent = 0x7002;
constexpr std::int32_t kRecordTwoOptions = 0x7001;

}  // namespace

bool SameFileName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string FoldFileName(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded) c = LowerAscii(c);
    return folded;
}

CFileItem::CFileItem(std::string name) : m_strName(std::move(name))
{
    if (EndsWithIgnoringCase(m_strName, ".dll") || EndsWithIgnoringCase(m_strName, ".ocx"))
        m_nOptions[OPT_USAGE_COUNT] = 1;
}

int CFileItem::GetOption(int index) const
{
    return index >= 0 && index < OPT_COUNT ? m_nOptions[static_cast<std::size_t>(index)] : 0;
}

void CFileItem::SetOption(int index, int value)
{
    if (index >= 0 && index < OPT_COUNT) m_nOptions[static_cast<std::size_t>(index)] = value;
}

std::string CFileItem::GetOptionsCode() const
{
    std::string code(7, '.');
    if (!m_strIconName.empty()) code[0] = 'i';
    if (!m_strShortcutName.empty()) code[1] = 's';
    switch (GetOption(OPT_END_PAGE)) {
    case 1: code[2] = 'v'; break;
    case 2: code[2] = 'r'; break;
    }
    switch (GetOption(OPT_TARGET_DIR)) {
    case 1: code[3] = 'w'; break;
    case 2: code[3] = 's'; break;
    case 3: code[3] = 'f'; break;
    }
    if (GetOption(OPT_USAGE_COUNT) == 1 && GetOption(OPT_TARGET_DIR) != 0) code[4] = 'u';
    switch (GetOption(OPT_INSTALL_MODE)) {
    case 0: code[5] = 'x'; break;
    case 2: code[5] = 'N'; break;
    }
    switch (GetOption(OPT_SPECIAL)) {
    case 1: code[6] = 'v'; break;
    case 2: code[6] = 'o'; break;
    }
    return code;
}

bool CFileItem::HasUnsafeName() const { return GetNameProblem() != NameProblem::none; }

NameProblem CFileItem::GetNameProblem() const { return CheckInstallName(m_strName.data(), m_strName.size()); }

void CFileItem::Store(CArchive& ar) const
{
    ar.WriteString(m_strName);
    ar.WriteInt(kRecordCurrent);
    for (std::int32_t option : m_nOptions) ar.WriteInt(option);
    ar.WriteString(m_strIconFolder);
    ar.WriteString(m_strIconName);
    ar.WriteString(m_strIconArgs);
    ar.WriteInt(m_nIconIndex);
    ar.WriteString(m_strShortcutName);
    ar.WriteString(m_strShortcutArgs);
}

void CFileItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        Store(ar);
        return;
    }
    m_strName = ar.ReadString();
    std::int32_t marker = ar.ReadInt();
    if (marker >= kRecordCurrent) {
        for (std::int32_t& option : m_nOptions) option = ar.ReadInt();
    } else if (marker == kRecordTwoOptions) {
        m_nOptions[0] = ar.ReadInt();
        m_nOptions[1] = ar.ReadInt();
    } else {
        ar.ReadInt();  // a value the oldest form carried and nothing uses
        std::int32_t count = ar.ReadInt();
        // "n option values": a count of 0 or less reads none and leaves the defaults, as
        // the reading loop of that form did; only a count the file cannot hold is damage.
        if (count > 0 && static_cast<std::size_t>(count) > ar.Remaining() / 4)
            throw CArchiveException(CArchiveException::badFormat);
        for (std::int32_t i = 0; i < count; ++i) {
            std::int32_t value = ar.ReadInt();
            if (i < OPT_COUNT) m_nOptions[static_cast<std::size_t>(i)] = value;
        }
    }
    m_strIconFolder = ar.ReadString();
    m_strIconName = ar.ReadString();
    m_strIconArgs = ar.ReadString();
    m_nIconIndex = ar.ReadInt();
    if (marker >= kRecordTwoOptions) {
        m_strShortcutName = ar.ReadString();
        m_strShortcutArgs = ar.ReadString();
    }
}

}  // namespace sw
