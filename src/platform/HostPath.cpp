#include "platform/HostPath.h"

#include <algorithm>

namespace sw {

std::string ToHostRelative(std::string_view projectName)
{
    std::string path(projectName);
    std::replace(path.begin(), path.end(), '\\', kHostSeparator);
    return path;
}

std::string ToProjectRelative(std::string_view hostRelative)
{
    std::string name(hostRelative);
    std::replace(name.begin(), name.end(), kHostSeparator, '\\');
    return name;
}

std::string WithTrailingSeparator(std::string path)
{
    if (!path.empty() && path.back() != kHostSeparator) path += kHostSeparator;
    return path;
}

}  // namespace sw
