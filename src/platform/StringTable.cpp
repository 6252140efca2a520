#include "platform/StringTable.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace sw {

namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Kept in ascending order by the table file itself; a test checks it.
constexpr Entry kEntries[] = {
#define SW_STRING(symbol, number, text) {number, text},
#include "strings.def"
#undef SW_STRING
};

const Entry* Find(int id)
{
    auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                               [](const Entry& entry, int wanted) { return entry.id < wanted; });
    return it != std::end(kEntries) && it->id == id ? it : nullptr;
}

}  // namespace

std::string LoadString(int id)
{
    const Entry* entry = Find(id);
    return entry ? std::string(entry->text) : std::string();
}

bool HasString(int id) { return Find(id) != nullptr; }

}  // namespace sw
