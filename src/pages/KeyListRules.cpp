#include "pages/KeyListRules.h"

#include <algorithm>
#include <functional>

namespace sw {

namespace {
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
}  // namespace

KeyRowIndexes KeyRowsFor(const std::vector<std::string>& keys)
{
    KeyRowIndexes rows(keys.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<long>(i);
    return rows;
}

std::size_t AddKeyRow(std::vector<std::string>& keys, KeyRowIndexes& rows)
{
    keys.emplace_back();
    rows.push_back(static_cast<long>(keys.size() - 1));
    return rows.size() - 1;
}

void RemoveKeyRows(std::vector<std::string>& keys, KeyRowIndexes& rows, std::vector<std::size_t> removedRows)
{
    // From the last row up, so that the row numbers still to remove stay where they are.
    std::sort(removedRows.begin(), removedRows.end(), std::greater<>());
    removedRows.erase(std::unique(removedRows.begin(), removedRows.end()), removedRows.end());
    for (std::size_t row : removedRows) {
        if (row >= rows.size()) continue;
        long index = rows[row];
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
        if (index < 0 || static_cast<std::size_t>(index) >= keys.size()) continue;
        keys.erase(keys.begin() + index);
        for (long& other : rows)
            if (other > index) --other;
    }
}

std::string TrimKey(std::string_view typed)
{
    std::size_t first = typed.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    std::size_t last = typed.find_last_not_of(kWhiteSpace);
    return std::string(typed.substr(first, last - first + 1));
}

std::optional<std::string> EndKeyEdit(std::vector<std::string>& keys, KeyRowIndexes& rows, std::size_t row,
                                      std::string_view typed)
{
    std::string key = TrimKey(typed);
    if (key.empty()) {
        RemoveKeyRows(keys, rows, {row});
        return std::nullopt;
    }
    if (row < rows.size() && rows[row] >= 0 && static_cast<std::size_t>(rows[row]) < keys.size())
        keys[static_cast<std::size_t>(rows[row])] = key;
    return key;
}

}  // namespace sw
