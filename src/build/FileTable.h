#pragma once
// The file table of an installation program: one record per installed file, the
// uninstaller first.
#include <cstdint>
#include <optional>
#include <string>

#include "build/RecordWriter.h"
#include "model/FileItem.h"

namespace sw {

struct FileRecord {
    std::uint16_t iconIndex = 0;
    std::uint8_t options[5] = {0, 0, 0, 0, 0};
    std::uint8_t flags = 0;
    std::uint32_t checkValue = 0;
    std::uint32_t size = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t version[4] = {0, 0, 0, 0};  // file version MS, LS, product version MS, LS
    std::uint32_t language = 0;
    std::uint64_t times[3] = {0, 0, 0};       // creation, last access, last write
    std::string name, iconFolder, iconName, iconArgs, shortcutName, shortcutArgs;
};

// The record of a project file, its strings and options taken from the item: without an
// icon name the icon folder, arguments and number are left out; without a shortcut name
// the shortcut arguments.
FileRecord MakeFileRecord(const CFileItem& item);

void AppendFileRecord(CByteBuffer& table, const FileRecord& record);

}  // namespace sw
