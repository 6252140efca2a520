#pragma once
// printf-style filling of a string-table text ("Cannot find this directory:\n\n%s").
#include <cstdio>
#include <string>

namespace sw {

namespace detail {
inline const char* FormatArg(const std::string& s) { return s.c_str(); }
template <typename T>
T FormatArg(T value)
{
    return value;
}
}  // namespace detail

template <typename... Args>
std::string FormatText(const std::string& format, const Args&... args)
{
    int length = std::snprintf(nullptr, 0, format.c_str(), detail::FormatArg(args)...);
    if (length <= 0) return {};
    std::string out(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), detail::FormatArg(args)...);
    out.resize(static_cast<std::size_t>(length));
    return out;
}

}  // namespace sw
