#pragma once
// A failed file operation: which file, what was attempted, and the system's reason.
#include <stdexcept>
#include <string>

namespace sw {

// An errno value of this program's own, beside the system's: the path names a pipe, a
// device or a socket, which is never read (reading it could wait for ever).
inline constexpr int kNotARegularFile = 0x7F01;

class CFileError : public std::runtime_error {
public:
    // action: the string number of the text that names what failed ("Cannot open %s: %s").
    CFileError(std::string path, int action, int errnoValue);

    const std::string& Path() const { return m_strPath; }
    int ErrnoValue() const { return m_nErrno; }

private:
    std::string m_strPath;
    int m_nErrno;
};

}  // namespace sw
