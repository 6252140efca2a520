#pragma once
// Texts 10 pixels per byte, as tall as their style's font; pictures by name.
#include <map>
#include <optional>
#include <string>

#include "ui/CreditsMeasure.h"

namespace sw::test {

class CFakeCreditsMeasure : public ICreditsMeasure {
public:
    explicit CFakeCreditsMeasure(const CreditsLook& look) : m_look(look) {}
    UiSize TextSize(CreditsStyle style, const std::string& text) override
    {
        ++m_nTextCalls;
        return {10 * static_cast<int>(text.size()), FontOf(style, m_look).height};
    }
    std::optional<UiSize> PictureSize(const std::string& name) override
    {
        auto found = m_pictures.find(name);
        if (found == m_pictures.end()) return std::nullopt;
        return found->second;
    }
    std::map<std::string, UiSize> m_pictures;
    int m_nTextCalls = 0;

private:
    const CreditsLook& m_look;
};

}  // namespace sw::test
