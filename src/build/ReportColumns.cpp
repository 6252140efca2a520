#include "build/ReportColumns.h"

#include <cstdio>
#include <vector>

#include "platform/StringTable.h"

namespace sw {

std::string GroupedNumber(std::uint64_t value)
{
    if (value == 0) return {};
    std::vector<unsigned> groups;
    for (; value > 0; value /= 1000) groups.push_back(static_cast<unsigned>(value % 1000));
    std::string text = std::to_string(groups.back());
    for (std::size_t i = groups.size() - 1; i-- > 0;) {
        char group[8];
        std::snprintf(group, sizeof group, ",%3.3u", groups[i]);
        text += group;
    }
    return text;
}

ResultColumns FormatResultColumns(int actionId, std::uint64_t size, std::uint64_t packedSize)
{
    ResultColumns columns;
    columns.size = GroupedNumber(size);
    if (packedSize != 0) {
        columns.packed = GroupedNumber(packedSize);
        if (size != 0) {
            auto kept = static_cast<long long>(static_cast<double>(packedSize) * 100.0 / static_cast<double>(size));
            long long saved = 100 - kept;
            if (saved == 100) saved = 99;
            char ratio[32];
            std::snprintf(ratio, sizeof ratio, "%lld%%", saved);
            columns.ratio = ratio;
        }
    } else {
        columns.ratio = "-";
        bool counted = actionId == IDS_ACTION_ADD || actionId == IDS_ACTION_REMOVE || actionId == IDS_ACTION_UPDATE;
        columns.packed = counted ? "0" : "-";
    }
    return columns;
}

}  // namespace sw
