#pragma once
// The installer's dialog templates as the generator writes them: an offset table followed
// by Win32 dialog templates (DLGTEMPLATE with DLGITEMTEMPLATE items), in the binary form
// that CreateDialogIndirect takes.
#include <cstdint>
#include <string>
#include <vector>

namespace sw::resgen {

// Predefined window classes, as the atoms a DLGITEMTEMPLATE names them by.
enum ControlClass : std::uint16_t {
    kButton = 0x0080,
    kEdit = 0x0081,
    kStatic = 0x0082,
};

struct ControlLayout {
    ControlClass controlClass;
    std::uint32_t style;  // WS_CHILD | WS_VISIBLE are added
    std::int16_t x, y, cx, cy;
    std::uint16_t id;
    std::string title;    // ASCII
};

struct DialogLayout {
    std::string title;    // ASCII
    std::int16_t cx, cy;
    std::vector<ControlLayout> controls;
};

// The six stand-in pages of the installer's wizard: Welcome, Information, Directory,
// Confirmation, Installing and End, in that order.
std::vector<DialogLayout> StandInDialogs();

// Widens every dialog by `shift` dialog units and moves every control right by as much,
// which leaves a band at the left for the wizard bitmap.
std::vector<DialogLayout> ShiftRight(std::vector<DialogLayout> dialogs, std::int16_t shift);

// The horizontal dialog units that a bitmap of this many pixels covers in the dialogs'
// font (MS Sans Serif 8 at 96 dpi: 6 pixels make 4 units), rounded up.
std::int16_t PixelsToDialogUnits(int pixels);

// A table of 32-bit little-endian offsets, one per dialog, counted from the start of the
// table, followed by the templates; each template starts on a 4-byte boundary.
std::vector<std::uint8_t> EncodeTemplates(const std::vector<DialogLayout>& dialogs);

// The form in which an installation program carries data that the builder does not
// compress itself: the 32-bit little-endian length of the data, then one compressed stream.
std::vector<std::uint8_t> StoreCompressed(const std::vector<std::uint8_t>& data);

}  // namespace sw::resgen
