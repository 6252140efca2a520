#pragma once
// The user's preferences: integers kept in the per-user profile by section and value
// name, with defaults from the string table. Every read goes to the profile.
#include <optional>
#include <string>
#include <vector>

namespace sw {

// Where the values live; the GUI answers with its configuration file.
class IProfile {
public:
    virtual ~IProfile() = default;
    virtual std::optional<int> ReadInt(const std::string& section, const std::string& name) = 0;
    virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
};

class CSettingsGroup {
public:
    struct Entry {
        const char* name;
        int defaultId;  // string number of the default, read as atoi reads it
    };
    CSettingsGroup(std::string section, std::vector<Entry> entries);

    int Read(IProfile& profile, int index) const;
    void Write(IProfile& profile, int index, int value) const;
    std::size_t size() const { return m_entries.size(); }

private:
    std::string m_strSection;
    std::vector<Entry> m_entries;
};

// "General": 0 wizard.
enum GeneralPref : int { PREF_WIZARD = 0 };
// "Output": 0 output_ratio, 1 output_packedsize, 2 output_originalsize.
enum OutputPref : int { PREF_OUTPUT_RATIO = 0, PREF_OUTPUT_PACKED = 1, PREF_OUTPUT_ORIGINAL = 2 };

const CSettingsGroup& GeneralSettings();
const CSettingsGroup& OutputSettings();

}  // namespace sw
