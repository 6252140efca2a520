#pragma once
// A file list of new items with default options, by name.
#include <initializer_list>

#include "model/FileList.h"

namespace sw::test {

inline CFileList ListOf(std::initializer_list<const char*> names)
{
    CFileList list;
    for (const char* name : names) list.AddFile(CFileItem(name));
    return list;
}

}  // namespace sw::test
