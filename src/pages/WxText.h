#pragma once
// The project's byte strings are UTF-8 on Linux; these convert at the widget boundary.
#include <string>

#include <wx/string.h>

namespace sw {

inline wxString Wx(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }
inline std::string Std(const wxString& text)
{
    wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

}  // namespace sw
