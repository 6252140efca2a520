#pragma once
// What the Files page does to the project, decided without a window: the scan that keeps
// the options of files that still exist, the order of the rows, the options shared by
// the selected rows, and the choices the new-project wizard hands over.
#include <array>
#include <string>
#include <vector>

#include "model/Data.h"
#include "model/ScanHost.h"

namespace sw {

// Rows of the file list, by the item names: files of the source directory itself first,
// then the others by folder and file name (both ignoring case). Returns <0, 0 or >0.
int CompareFileRows(const std::string& a, const std::string& b);

// Sorted order of the project's items as the list shows them (indexes into m_files).
std::vector<int> FileRowOrder(const CFileList& files);

// The directory as typed, with a trailing separator when it is not empty.
std::string NormalizeDirectoryText(const std::string& text);

// Replaces the file list by the files found in `directory` (with sub-directories when the
// project says so), keeping every setting of items that still exist (their stored name
// too), and stores the directory. Escape during the scan leaves the list empty; returns
// false then. The host's status text is cleared afterwards.
bool ScanSourceDirectory(CData& data, const std::string& directory, IScanHost* host);

// The options the selected rows share: -1 where they differ or nothing is selected. Every
// option is editable with a selection, except the usage count, which needs every selected
// file to go outside the installation directory.
struct OptionSummary {
    std::array<int, OPT_COUNT> common{-1, -1, -1, -1, -1};
    std::array<bool, OPT_COUNT> enabled{};
};
OptionSummary SummarizeSelection(const CFileList& files, const std::vector<int>& selected);

// Gives every selected item the value (-1 does nothing). Returns true when it wrote.
bool SetOptionForSelection(CFileList& files, const std::vector<int>& selected, int option, int value);

// The context menu of the list: which items can be chosen.
struct FilesMenuState {
    bool selectAll;
    bool unselect;
    bool refresh;
};
FilesMenuState GetFilesMenuState(int rowCount, int selectedCount);

// Applies the new-project wizard's choices (Start-menu icon and shortcut, View and Run
// files, with their end-page texts) to the items they name, after the scan.
void ApplyWizardChoices(CData& data);

}  // namespace sw
