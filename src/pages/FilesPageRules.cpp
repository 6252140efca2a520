#include "pages/FilesPageRules.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/HostPath.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

int CompareIgnoringCase(const std::string& a, const std::string& b)
{
    return ::strcasecmp(a.c_str(), b.c_str());
}

// The item the wizard named by its full path, when that path lies in the source directory.
CFileItem* ItemForWizardPath(CData& data, const std::string& path)
{
    const std::string& dir = data.m_strSourceDir;
    if (path.empty() || dir.empty() || path.size() <= dir.size()) return nullptr;
    if (::strncasecmp(path.c_str(), dir.c_str(), dir.size()) != 0) return nullptr;
    std::string rest = path.substr(dir.size());
    while (!rest.empty() && (rest.front() == '/' || rest.front() == '\\')) rest.erase(0, 1);
    int index = data.m_files.FindFile(ToProjectRelative(rest));
    return index < 0 ? nullptr : &data.m_files[static_cast<std::size_t>(index)];
}

}  // namespace

int CompareFileRows(const std::string& a, const std::string& b)
{
    std::size_t slashA = a.rfind('\\');
    std::size_t slashB = b.rfind('\\');
    bool rootA = slashA == std::string::npos;
    bool rootB = slashB == std::string::npos;
    if (rootA != rootB) return rootA ? -1 : 1;
    if (rootA) return std::strcoll(a.c_str(), b.c_str());
    int byFolder = CompareIgnoringCase(a.substr(0, slashA + 1), b.substr(0, slashB + 1));
    if (byFolder != 0) return byFolder;
    return CompareIgnoringCase(a.substr(slashA + 1), b.substr(slashB + 1));
}

std::vector<int> FileRowOrder(const CFileList& files)
{
    std::vector<int> order(files.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&files](int a, int b) {
        return CompareFileRows(files[static_cast<std::size_t>(a)].m_strName, files[static_cast<std::size_t>(b)].m_strName) < 0;
    });
    return order;
}

std::string NormalizeDirectoryText(const std::string& text)
{
    return WithTrailingSeparator(text);
}

bool ScanSourceDirectory(CData& data, const std::string& directory, IScanHost* host)
{
    CFileList fresh;
    bool complete = true;
    if (!directory.empty()) {
        try {
            fresh.AddDirectory(directory, directory, data.m_bIncludeSubdirs != 0, host);
        } catch (const CUserCancel&) {
            fresh.clear();
            complete = false;
        }
    }
    for (CFileItem& item : fresh) {
        int old = data.m_files.FindFile(item.m_strName);
        if (old >= 0) item = data.m_files[static_cast<std::size_t>(old)];
    }
    data.m_files = std::move(fresh);
    data.m_strSourceDir = directory;
    if (host) host->ShowStatusText({});
    return complete;
}

OptionSummary SummarizeSelection(const CFileList& files, const std::vector<int>& selected)
{
    OptionSummary summary;
    if (selected.empty()) return summary;
    bool allOutside = true;
    for (int option = 0; option < OPT_COUNT; ++option) {
        int common = files[static_cast<std::size_t>(selected.front())].GetOption(option);
        for (int index : selected)
            if (files[static_cast<std::size_t>(index)].GetOption(option) != common) common = -1;
        summary.common[static_cast<std::size_t>(option)] = common;
        summary.enabled[static_cast<std::size_t>(option)] = true;
    }
    for (int index : selected)
        if (files[static_cast<std::size_t>(index)].GetOption(OPT_TARGET_DIR) == 0) allOutside = false;
    summary.enabled[OPT_USAGE_COUNT] = allOutside;
    return summary;
}

bool SetOptionForSelection(CFileList& files, const std::vector<int>& selected, int option, int value)
{
    if (value == -1 || selected.empty()) return false;
    for (int index : selected) files[static_cast<std::size_t>(index)].SetOption(option, value);
    return true;
}

FilesMenuState GetFilesMenuState(int rowCount, int selectedCount)
{
    return {selectedCount > 0 || rowCount > 0, selectedCount > 0, true};
}

void ApplyWizardChoices(CData& data)
{
    if (!data.m_strWizIconFile.empty() && !data.m_strWizIconName.empty()) {
        if (CFileItem* item = ItemForWizardPath(data, data.m_strWizIconFile)) {
            item->m_strIconFolder = data.m_strTitle;
            item->m_strIconName = data.m_strWizIconName;
            if (data.m_bWizDesktopShortcut) item->m_strShortcutName = data.m_strWizIconName;
        }
    }
    constexpr std::size_t kEndGroup = 5;
    if (CFileItem* item = ItemForWizardPath(data, data.m_strWizViewFile)) {
        item->SetOption(OPT_END_PAGE, 1);
        if (data.m_texts.size() > kEndGroup && data.m_texts[kEndGroup].size() > 2)
            data.m_texts[kEndGroup][2] = LoadString(IDS_WIZ_VIEW_FILE_TEXT);
    }
    if (CFileItem* item = ItemForWizardPath(data, data.m_strWizRunFile)) {
        item->SetOption(OPT_END_PAGE, 2);
        if (data.m_texts.size() > kEndGroup && data.m_texts[kEndGroup].size() > 3)
            data.m_texts[kEndGroup][3] = LoadString(IDS_WIZ_LAUNCH_FILE_TEXT);
    }
}

}  // namespace sw
