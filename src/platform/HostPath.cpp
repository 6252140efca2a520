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

bool IsUnsafeRelativeName(std::string_view name)
{
    if (name.empty()) return true;
    if (name.front() == '\\' || name.front() == '/') return true;
    if (name.find(':') != std::string_view::npos) return true;  // drive letters and streams
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        std::string_view part = name.substr(start, end - start);
        // Windows drops trailing dots and blanks from a path part, so ". ." or "..."
        // may name the parent as well: refuse every part made only of those with two dots.
        bool onlyDotsAndBlanks = part.find_first_not_of(". ") == std::string_view::npos;
        if (onlyDotsAndBlanks && std::count(part.begin(), part.end(), '.') >= 2) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace sw
