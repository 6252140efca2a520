#pragma once
// A profile held in memory, for the preference readers.
#include <map>

#include "pages/Preferences.h"

namespace sw::test {

class FakeProfile : public IProfile {
public:
    std::optional<int> ReadInt(const std::string& section, const std::string& name) override
    {
        auto found = values.find(section + "/" + name);
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    void WriteInt(const std::string& section, const std::string& name, int value) override
    {
        values[section + "/" + name] = value;
    }
    std::map<std::string, int> values;
};

}  // namespace sw::test
