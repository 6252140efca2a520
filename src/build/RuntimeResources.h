#pragma once
// The data resources the builder carries: the installer and uninstaller runtime images and
// the installer's dialog templates, for 32-bit (500-507) and 64-bit Windows (600-607).
// Their bytes are generated at build time by tools/resgen; the Windows 3.1 set
// (501, 504, 505, 506) is not carried.
//
// Runtime images are stored as built, with the size marker's slot still zero: whoever
// writes one out copies it first. Dialog templates (502/503, 602/603) are stored in the
// form they take in an installation program: a 32-bit little-endian uncompressed length
// and one compressed stream of an offset table and the Win32 dialog templates.
#include <cstdint>
#include <span>

namespace sw {

enum RuntimeResourceId : int {
    RES_INSTALLER = 500,
    RES_DIALOGS = 502,         // layout without the wizard bitmap
    RES_DIALOGS_BITMAP = 503,  // layout with the wizard bitmap at the left
    RES_UNINSTALLER = 507,
    RES_INSTALLER_64 = 600,
    RES_DIALOGS_64 = 602,
    RES_DIALOGS_BITMAP_64 = 603,
    RES_UNINSTALLER_64 = 607,
};

// The bytes of a resource the program carries, or an empty span when it carries none
// under that number.
std::span<const std::uint8_t> FindRuntimeResource(int id);

}  // namespace sw
