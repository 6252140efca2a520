#include "pages/ReportLayout.h"

#include <algorithm>

namespace sw {

namespace {
// Samples of the widest values each column shows, with a margin of one letter each side.
constexpr const char* kPackedSample = "X X,XXX,XXX X";
constexpr const char* kSizeSample = "X XX,XXX,XXX X";
constexpr const char* kRatioSample = "X XX% X";
}  // namespace

ReportColumnWidths ComputeReportColumnWidths(int clientWidth, IProfile& profile,
                                             const std::function<int(const std::string&)>& measure)
{
    const CSettingsGroup& output = OutputSettings();
    ReportColumnWidths widths{};
    widths.packed = output.Read(profile, PREF_OUTPUT_PACKED) ? measure(kPackedSample) : 0;
    widths.size = output.Read(profile, PREF_OUTPUT_ORIGINAL) ? measure(kSizeSample) : 0;
    widths.ratio = output.Read(profile, PREF_OUTPUT_RATIO) ? measure(kRatioSample) : 0;
    widths.file = std::max(0, clientWidth - widths.packed - widths.size - widths.ratio);
    return widths;
}

int ResizedFileColumn(int fileWidth, int oldClientWidth, int newClientWidth)
{
    if (fileWidth == 0) return 0;
    return std::max(0, fileWidth + newClientWidth - oldClientWidth);
}

}  // namespace sw
