#pragma once
// The per-user profile, company "Quorvix", application "Setwright": a file under the
// user's XDG configuration folder, with the same sections and value names as the registry.
#include <wx/config.h>

#include "pages/Preferences.h"

namespace sw {

class CWxProfile : public IProfile {
public:
    explicit CWxProfile(wxConfigBase& config) : m_config(config) {}
    std::optional<int> ReadInt(const std::string& section, const std::string& name) override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;

private:
    wxConfigBase& m_config;
};

}  // namespace sw
