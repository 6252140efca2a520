#pragma once
// The one rule for the names of an installation program's file table (and of the
// uninstaller): what the installer writes below its target folder, and so what the builder
// accepts, `verify` reports and the scan warns of. A name must lead below its folder and be
// one that Windows can create there exactly as written. Both '\\' and '/' separate parts.
// Portable: no heap, no exceptions; the runtimes, the builder and the tests share it.
#include <cstddef>

namespace sw {

enum class NameProblem : unsigned char {
    none,
    empty,                // no name, or an empty part ("a\\\\b", a trailing separator)
    absolute,             // starts with a separator ("\\x", "\\\\server\\share")
    colon,                // a drive letter or a stream ("C:x", "a.txt:s")
    parentPart,           // a part made only of dots and blanks (".", "..", "...", ". ."): Windows reads it as this or the parent folder
    forbiddenCharacter,   // < > " | ? * or a control character, which no Windows name may hold
    reservedName,         // CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, CLOCK$, with or without an extension
    trailingDotOrBlank,   // a part that ends in a dot or a blank, which Windows drops: the file would get another name
};

NameProblem CheckInstallName(const char* name, std::size_t length);

// CheckInstallName finds nothing.
inline bool IsSafeInstallName(const char* name, std::size_t length) { return CheckInstallName(name, length) == NameProblem::none; }

}  // namespace sw
