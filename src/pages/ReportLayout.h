#pragma once
// The widths of the Build page's report columns: each size column is as wide as its
// sample text when its preference is on, else 0, and the file column takes the rest.
#include <functional>
#include <string>

#include "pages/Preferences.h"

namespace sw {

struct ReportColumnWidths {
    int file, packed, size, ratio;
};

// measure: the pixel width of a text in the list's font.
ReportColumnWidths ComputeReportColumnWidths(int clientWidth, IProfile& profile,
                                             const std::function<int(const std::string&)>& measure);

// Column 0 follows the change of the list's client width, when it has a width at all.
int ResizedFileColumn(int fileWidth, int oldClientWidth, int newClientWidth);

}  // namespace sw
