#pragma once
// Versions of the settings file. Only the current one is written.
#include <cstdint>
#include <stdexcept>

namespace sw {

inline constexpr std::int32_t kSettingsVersionFirst = 0x10000;   // no font, no registry or .ini source
inline constexpr std::int32_t kSettingsVersionNoFont = 0x10001;  // a single "read-only" int, no font
inline constexpr std::int32_t kSettingsVersionCurrent = 0x10002;

// The file's version is one this program does not know. what() is "Incorrect version".
class CIncorrectVersion : public std::runtime_error {
public:
    explicit CIncorrectVersion(std::int32_t version);
    std::int32_t Version() const { return m_nVersion; }

private:
    std::int32_t m_nVersion;
};

}  // namespace sw
