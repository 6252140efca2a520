#include "pages/Preferences.h"

#include <cstdlib>

#include "platform/StringTable.h"

namespace sw {

CSettingsGroup::CSettingsGroup(std::string section, std::vector<Entry> entries)
    : m_strSection(std::move(section)), m_entries(std::move(entries))
{
}

int CSettingsGroup::Read(IProfile& profile, int index) const
{
    const Entry& entry = m_entries.at(static_cast<std::size_t>(index));
    std::optional<int> stored = profile.ReadInt(m_strSection, entry.name);
    return stored ? *stored : std::atoi(LoadString(entry.defaultId).c_str());
}

void CSettingsGroup::Write(IProfile& profile, int index, int value) const
{
    profile.WriteInt(m_strSection, m_entries.at(static_cast<std::size_t>(index)).name, value);
}

const CSettingsGroup& GeneralSettings()
{
    static const CSettingsGroup group("General", {{"wizard", IDS_PREF_DEFAULT_WIZARD}});
    return group;
}

const CSettingsGroup& OutputSettings()
{
    static const CSettingsGroup group("Output", {{"output_ratio", IDS_PREF_DEFAULT_OUTPUT_RATIO},
                                                 {"output_packedsize", IDS_PREF_DEFAULT_OUTPUT_PACKEDSIZE},
                                                 {"output_originalsize", IDS_PREF_DEFAULT_OUTPUT_ORIGINALSIZE}});
    return group;
}

}  // namespace sw
