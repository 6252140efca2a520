#pragma once
// The Uninstaller page's list of registry keys without its window. Each row carries the
// index of its entry in the project's key list; rowIndexes holds those indexes in row
// order, and every operation keeps rows and entries in step.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

using KeyRowIndexes = std::vector<long>;

// One row per entry, in list order.
KeyRowIndexes KeyRowsFor(const std::vector<std::string>& keys);

// Appends an empty entry and its row; returns the row.
std::size_t AddKeyRow(std::vector<std::string>& keys, KeyRowIndexes& rows);

// Removes the rows (any order, each once) and their entries; the indexes of the rows
// that stay follow their entries down.
void RemoveKeyRows(std::vector<std::string>& keys, KeyRowIndexes& rows, std::vector<std::size_t> removedRows);

// The typed key without white space at either end.
std::string TrimKey(std::string_view typed);

// The end of an in-place edit of a row: the trimmed text replaces its entry, and the row
// shows it; a text that trims to nothing removes the entry and the row (nullopt).
std::optional<std::string> EndKeyEdit(std::vector<std::string>& keys, KeyRowIndexes& rows, std::size_t row,
                                      std::string_view typed);

}  // namespace sw
