#pragma once
// The project keeps file names in the installation program's form: relative, with
// backslashes (sub\readme.txt). These helpers map between that form and host paths.
#include <string>
#include <string_view>

namespace sw {

inline constexpr char kHostSeparator = '/';

// sub\readme.txt -> sub/readme.txt
std::string ToHostRelative(std::string_view projectName);
// sub/readme.txt -> sub\readme.txt
std::string ToProjectRelative(std::string_view hostRelative);
// Appends the host separator unless the path is empty or already ends with one.
std::string WithTrailingSeparator(std::string path);


}  // namespace sw
