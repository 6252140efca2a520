#include "core/InstallName.h"

namespace sw {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The device names Windows keeps in every folder. A part is one when the text before its
// first dot is such a name, blanks after it aside ("nul.txt", "COM1 .log").
bool IsReservedName(const char* part, std::size_t length)
{
    static constexpr const char* kDevices[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2",   "COM3",   "COM4", "COM5",
                                               "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",   "LPT4", "LPT5",
                                               "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$", "CLOCK$"};
    std::size_t stem = 0;
    while (stem < length && part[stem] != '.') ++stem;
    while (stem > 0 && part[stem - 1] == ' ') --stem;
    for (const char* device : kDevices) {
        std::size_t i = 0;
        while (i < stem && device[i] && Upper(part[i]) == device[i]) ++i;
        if (i == stem && !device[i]) return true;
    }
    return false;
}

}  // namespace

NameProblem CheckInstallName(const char* name, std::size_t length)
{
    if (length == 0) return NameProblem::empty;
    if (IsSeparator(name[0])) return NameProblem::absolute;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == ':') return NameProblem::colon;
        if (c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') return NameProblem::forbiddenCharacter;
    }
    for (std::size_t start = 0; start <= length;) {
        std::size_t end = start;
        while (end < length && !IsSeparator(name[end])) ++end;
        const char* part = name + start;
        const std::size_t partLength = end - start;
        if (partLength == 0) return NameProblem::empty;
        bool onlyDotsAndBlanks = true;
        for (std::size_t i = 0; i < partLength; ++i)
            if (part[i] != '.' && part[i] != ' ') onlyDotsAndBlanks = false;
        if (onlyDotsAndBlanks) return NameProblem::parentPart;
        if (part[partLength - 1] == '.' || part[partLength - 1] == ' ') return NameProblem::trailingDotOrBlank;
        if (IsReservedName(part, partLength)) return NameProblem::reservedName;
        start = end + 1;
    }
    return NameProblem::none;
}

}  // namespace sw
