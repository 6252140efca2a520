#include "model/FileList.h"

#include "model/ScanHost.h"
#include "platform/StringTable.h"
#include "platform/Files.h"
#include "platform/HostPath.h"

namespace sw {

CFileList::CFileList(const CFileList& other) { *this = other; }

CFileList& CFileList::operator=(const CFileList& other)
{
    if (this == &other) return *this;
    std::vector<CFileItem> source = other.m_items;
    m_items.clear();
    NameSet names;
    for (const CFileItem& item : source) AddFileUsing(item, nullptr, &names);
    return *this;
}

CFileList::NameSet CFileList::FoldedNames() const
{
    NameSet names;
    for (const CFileItem& item : m_items) names.insert(FoldFileName(item.m_strName));
    return names;
}

int CFileList::FindFile(const std::string& name) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (SameFileName(m_items[i].m_strName, name)) return static_cast<int>(i);
    return -1;
}

int CFileList::AddFile(const CFileItem& item, IScanHost* progress) { return AddFileUsing(item, progress, nullptr); }

int CFileList::AddFileUsing(const CFileItem& item, IScanHost* progress, NameSet* names)
{
    if (progress) {
        progress->ShowStatusText(LoadString(IDS_PRESS_ESC_TO_CANCEL) + " " + item.m_strName);
        if (progress->IsEscapeDown()) {
            m_items.clear();
            if (names) names->clear();
            throw CUserCancel();
        }
    }
    bool listed = names ? !names->insert(FoldFileName(item.m_strName)).second : FindFile(item.m_strName) >= 0;
    if (listed) return -1;
    m_items.push_back(item);
    return static_cast<int>(m_items.size() - 1);
}

void CFileList::AddDirectory(const std::string& baseDir, const std::string& directory, bool recursive,
                             IScanHost* progress)
{
    NameSet names = FoldedNames();
    ScanDirectory(baseDir, directory, recursive, progress, names);
}

void CFileList::ScanDirectory(const std::string& baseDir, const std::string& directory, bool recursive,
                              IScanHost* progress, NameSet& names)
{
    for (const DirEntry& entry : ListDirectory(directory)) {
        std::string fullPath = directory + entry.name;
        if (entry.isDirectory) {
            if (recursive) ScanDirectory(baseDir, WithTrailingSeparator(fullPath), recursive, progress, names);
            continue;
        }
        if (fullPath.size() <= baseDir.size()) continue;  // only when called with a base that is not a prefix
        AddFileUsing(CFileItem(ToProjectRelative(fullPath.substr(baseDir.size()))), progress, &names);
    }
}

}  // namespace sw
