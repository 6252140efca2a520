#include "model/SettingsFile.h"

#include "model/Archive.h"
#include "platform/Files.h"

namespace sw {

void LoadSettings(CData& data, std::string_view bytes)
{
    CArchive ar(bytes);
    data.Serialize(ar);
}

void LoadSettingsFile(CData& data, const std::string& path)
{
    LoadSettings(data, ReadWholeFile(path, kMaxSettingsFileSize));
}

std::string StoreSettings(const CData& data)
{
    CArchive ar;
    data.Store(ar);
    return ar.StoredBytes();
}

void SaveSettingsFile(const CData& data, const std::string& path) { WriteFileReplacing(path, StoreSettings(data)); }

}  // namespace sw
