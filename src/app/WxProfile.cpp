#include "app/WxProfile.h"

#include "pages/WxText.h"

namespace sw {

std::optional<int> CWxProfile::ReadInt(const std::string& section, const std::string& name)
{
    long value = 0;
    if (!m_config.Read("/" + Wx(section) + "/" + Wx(name), &value)) return std::nullopt;
    return static_cast<int>(value);
}

void CWxProfile::WriteInt(const std::string& section, const std::string& name, int value)
{
    m_config.Write("/" + Wx(section) + "/" + Wx(name), static_cast<long>(value));
    m_config.Flush();
}

}  // namespace sw
