#include "build/FileTable.h"

#include "core/InstallFormat.h"

namespace sw {

FileRecord MakeFileRecord(const CFileItem& item)
{
    FileRecord record;
    for (int i = 0; i < OPT_COUNT; ++i) record.options[i] = static_cast<std::uint8_t>(item.GetOption(i));
    record.name = item.m_strName;
    if (!item.m_strIconName.empty()) {
        record.iconIndex = static_cast<std::uint16_t>(item.m_nIconIndex);
        record.iconFolder = item.m_strIconFolder;
        record.iconName = item.m_strIconName;
        record.iconArgs = item.m_strIconArgs;
    }
    if (!item.m_strShortcutName.empty()) {
        record.shortcutName = item.m_strShortcutName;
        record.shortcutArgs = item.m_strShortcutArgs;
    }
    return record;
}

void AppendFileRecord(CByteBuffer& table, const FileRecord& record)
{
    std::size_t start = table.Size();
    table.Add32(0);  // the length, filled in below
    table.Add16(0);
    table.Add16(record.iconIndex);
    for (std::uint8_t option : record.options) table.Add8(option);
    table.Add8(record.flags);
    table.Add32(record.checkValue);
    table.Add32(record.size);
    table.Add32(record.packedSize);
    if (record.flags & (kFileHasVersion | kFileHasLanguage)) {
        for (std::uint32_t value : record.version) table.Add32(value);
        table.Add32(record.language);
    }
    if (record.flags & kFileHasTimes)
        for (std::uint64_t time : record.times) table.Add64(time);
    for (const std::string* text : {&record.name, &record.iconFolder, &record.iconName, &record.iconArgs,
                                    &record.shortcutName, &record.shortcutArgs})
        table.AddString(*text);
    table.Put32At(start, static_cast<std::uint32_t>(table.Size() - start));
}

}  // namespace sw
