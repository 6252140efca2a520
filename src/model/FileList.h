#pragma once
// The project's file list: items in order, names unique ignoring case.
#include <string>
#include <unordered_set>
#include <vector>

#include "model/FileItem.h"

namespace sw {

class IScanHost;

class CFileList {
public:
    CFileList() = default;
    // Copies rebuild the list item by item, so that duplicate names collapse.
    CFileList(const CFileList& other);
    CFileList& operator=(const CFileList& other);
    CFileList(CFileList&&) noexcept = default;
    CFileList& operator=(CFileList&&) noexcept = default;

    // Index of the first item of that name (ignoring case), or -1.
    int FindFile(const std::string& name) const;

    // Appends the item and returns its index, or -1 when the name is already listed.
    // With a progress host, first shows "Press ESC to cancel : <name>"; if Escape is held
    // down then, the whole list is emptied and CUserCancel is thrown.
    int AddFile(const CFileItem& item, IScanHost* progress = nullptr);

    // Adds every file below `directory` (a host path ending in '/') whose name relative to
    // `baseDir` is not listed yet, in file-system order; with `recursive`, a sub-directory's
    // files come where the sub-directory was met. Directories are never items.
    void AddDirectory(const std::string& baseDir, const std::string& directory, bool recursive,
                      IScanHost* progress);

    // Plain array access for readers and for loading.
    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    CFileItem& operator[](std::size_t index) { return m_items[index]; }
    const CFileItem& operator[](std::size_t index) const { return m_items[index]; }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    void clear() { m_items.clear(); }
    // Appends without the duplicate check, as a settings file is loaded.
    void push_back(CFileItem item) { m_items.push_back(std::move(item)); }
    void RemoveAt(std::size_t index) { m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index)); }

    bool operator==(const CFileList&) const = default;

private:
    // Folded names of the items, for the bulk operations (copy, scan) that would
    // otherwise search the whole list once per item.
    using NameSet = std::unordered_set<std::string>;
    NameSet FoldedNames() const;
    // names: the folded names of the list, kept up to date; null searches the list instead.
    int AddFileUsing(const CFileItem& item, IScanHost* progress, NameSet* names);
    void ScanDirectory(const std::string& baseDir, const std::string& directory, bool recursive,
                       IScanHost* progress, NameSet& names);

    std::vector<CFileItem> m_items;
};

}  // namespace sw
