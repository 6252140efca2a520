#pragma once
// How a page's edit reaches its project field when it loses the focus: only a real change
// is written, so that leaving an edit untouched leaves the project unmodified.
#include <string>

#include "model/FileItem.h"

namespace sw {

// True when it wrote.
inline bool StoreIfDifferent(std::string& field, const std::string& text)
{
    if (field == text) return false;
    field = text;
    return true;
}

// Paths and titles: a change of letter case alone is not written.
inline bool StoreIfDifferentIgnoringCase(std::string& field, const std::string& text)
{
    if (SameFileName(field, text)) return false;
    field = text;
    return true;
}

}  // namespace sw
