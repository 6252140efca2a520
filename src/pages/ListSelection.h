#pragma once
// The selected rows of a report list, read from the rows themselves: the list's own count
// of selected rows is not kept up to date when selected rows are deleted.
#include <vector>

#include <wx/listctrl.h>

namespace sw {

inline std::vector<long> SelectedRows(const wxListCtrl& list)
{
    std::vector<long> rows;
    for (long row = list.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = list.GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(row);
    return rows;
}

inline long FirstSelectedRow(const wxListCtrl& list) { return list.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); }

inline bool HasSelectedRow(const wxListCtrl& list) { return FirstSelectedRow(list) != -1; }

}  // namespace sw
