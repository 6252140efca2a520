#pragma once
// The installer's dialog templates as the generator writes them: an offset table followed
// by Win32 dialog templates (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items, in the dialog font
// of the system: "MS Shell Dlg" and DS_SHELLFONT), in the binary form that
// CreateDialogIndirect takes.
#include <cstdint>
#include <string>
#include <vector>

namespace sw::resgen {

// Predefined window classes, as the atoms a dialog item template names them by.
enum ControlClass : std::uint16_t {
    kButton = 0x0080,
    kEdit = 0x0081,
    kStatic = 0x0082,
    kListBox = 0x0083,
    kComboBox = 0x0085,
    kNamedClass = 0,  // the class is ControlLayout::className
};

struct ControlLayout {
    ControlClass controlClass;
    std::uint32_t style;  // WS_CHILD | WS_VISIBLE are added
    std::int16_t x, y, cx, cy;
    std::uint16_t id;
    std::string title;    // ASCII
    std::string className = {};  // kNamedClass only: a registered class such as msctls_progress32
};

struct DialogLayout {
    std::string title;    // ASCII
    std::int16_t cx, cy;
    std::vector<ControlLayout> controls;
};

// The installer's dialogs in the order of runtime/installer/wizard/DialogIds.h: the six
// wizard pages (Welcome, Information, Directory, Confirmation, Installing, End) and the
// directory dialog. Their texts are the English defaults; the runtime sets every text from
// the program's wizard texts and moves the texts of a column so that each takes the lines
// it needs.
std::vector<DialogLayout> WizardDialogs();

// Widens the first `count` dialogs by `shift` dialog units and moves their controls right
// by as much, which leaves a band at the left for the wizard bitmap.
std::vector<DialogLayout> ShiftRight(std::vector<DialogLayout> dialogs, std::int16_t shift, std::size_t count);

// The dialogs of resource 503/603: the wizard pages with the band of the wizard bitmap.
std::vector<DialogLayout> WithBitmapBand(std::vector<DialogLayout> dialogs);

// A table of 32-bit little-endian offsets, one per dialog, counted from the start of the
// table, followed by the templates; each template starts on a 4-byte boundary.
std::vector<std::uint8_t> EncodeTemplates(const std::vector<DialogLayout>& dialogs);

// The form in which an installation program carries data that the builder does not
// compress itself: the 32-bit little-endian length of the data, then one compressed stream.
std::vector<std::uint8_t> StoreCompressed(const std::vector<std::uint8_t>& data);

}  // namespace sw::resgen
