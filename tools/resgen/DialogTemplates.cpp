#include "DialogTemplates.h"

#include <stdexcept>

#include "build/Compressor.h"
#include "installer/wizard/DialogIds.h"

namespace sw::resgen {
namespace {

// Window, dialog and control styles of <windows.h>.
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t DS_3DLOOK = 0x0004;
constexpr std::uint32_t DS_SETFONT = 0x0040;
constexpr std::uint32_t DS_MODALFRAME = 0x0080;
constexpr std::uint32_t DS_FIXEDSYS = 0x0008;
constexpr std::uint32_t DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;
constexpr std::uint32_t DS_CENTER = 0x0800;
constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003;
constexpr std::uint32_t SS_LEFT = 0x0000;
constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0x000C;
constexpr std::uint32_t SS_ETCHEDHORZ = 0x0010;
constexpr std::uint32_t SS_NOPREFIX = 0x0080;
constexpr std::uint32_t SS_PATHELLIPSIS = 0x8000;
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr std::uint32_t ES_READONLY = 0x0800;
constexpr std::uint32_t LBS_NOTIFY = 0x0001;
constexpr std::uint32_t LBS_SORT = 0x0002;
constexpr std::uint32_t LBS_HASSTRINGS = 0x0040;
constexpr std::uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003;
constexpr std::uint32_t CBS_HASSTRINGS = 0x0200;

// "MS Shell Dlg" with DS_SHELLFONT in the extended template: Windows gives the pages the
// dialog font of its language (Tahoma on an English system, MS UI Gothic on a Japanese
// one), a TrueType face that links the fonts of other scripts, so that texts in any
// language are drawn; "MS Sans Serif" is a bitmap font without that linking, and its
// Japanese or Chinese texts come out as boxes.
constexpr std::uint32_t kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT | DS_3DLOOK | DS_CENTER;
constexpr std::uint16_t kFontPoints = 8;
constexpr std::uint16_t kFontWeight = 400;  // FW_NORMAL
constexpr std::uint8_t kFontCharset = 1;    // DEFAULT_CHARSET
constexpr const char* kFontFace = "MS Shell Dlg";

using namespace sw::dialogs;

constexpr std::int16_t kContentWidth = kPageWidth - 2 * kMargin;
constexpr std::int16_t kRight = kPageWidth - kMargin;
// The row of buttons under the separator: Back and Next side by side, Exit apart.
constexpr std::int16_t kSeparatorY = kContentBottom + 3;
constexpr std::int16_t kButtonY = kSeparatorY + 6;
constexpr std::int16_t kButtonWidth = 50;
constexpr std::int16_t kButtonHeight = 14;
constexpr std::int16_t kExitX = kRight - kButtonWidth;
constexpr std::int16_t kNextX = kExitX - 14 - kButtonWidth;
constexpr std::int16_t kBackX = kNextX - kButtonWidth;
static_assert(kButtonY + kButtonHeight + kMargin == kPageHeight);

constexpr std::uint32_t kText = SS_LEFT | SS_NOPREFIX;

ControlLayout Text(std::int16_t y, std::int16_t height, std::uint16_t id, std::string text)
{
    return {kStatic, kText, kMargin, y, kContentWidth, height, id, std::move(text)};
}

ControlLayout Separator()
{
    return {kStatic, SS_ETCHEDHORZ, kMargin, kSeparatorY, kContentWidth, 1, 0xFFFF, ""};
}

ControlLayout Button(std::int16_t x, std::uint16_t id, std::string caption, bool isDefault = false)
{
    return {kButton, (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, x, kButtonY, kButtonWidth, kButtonHeight,
            id, std::move(caption)};
}

// Back, the button that moves on (Next or Start), and Exit.
void AddButtons(std::vector<ControlLayout>& controls, std::string next)
{
    controls.push_back(Separator());
    controls.push_back(Button(kBackX, kIdBack, "< &Back"));
    controls.push_back(Button(kNextX, kIdOk, std::move(next), true));
    controls.push_back(Button(kExitX, kIdCancel, "E&xit"));
}

// Texts 1-4 of a group in a column; the runtime gives each the height it needs.
void AddTextColumn(std::vector<ControlLayout>& controls, std::int16_t y, const char* const (&texts)[4])
{
    const std::uint16_t ids[] = {kIdText1, kIdText2, kIdText3, kIdText4};
    for (int i = 0; i < 4; ++i) {
        controls.push_back(Text(y, 16, ids[i], texts[i]));
        y = static_cast<std::int16_t>(y + 24);
    }
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutShort(std::vector<std::uint8_t>& out, std::int16_t value)
{
    Put16(out, static_cast<std::uint16_t>(value));
}

// UTF-16 with its terminator; the stand-in texts are ASCII.
void PutText(std::vector<std::uint8_t>& out, const std::string& text)
{
    for (char c : text) {
        auto code = static_cast<unsigned char>(c);
        if (code >= 0x80) throw std::invalid_argument("dialog text is not ASCII: " + text);
        Put16(out, code);
    }
    Put16(out, 0);
}

void Align4(std::vector<std::uint8_t>& out)
{
    while (out.size() % 4 != 0) out.push_back(0);
}

// A DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items: only the extended form carries the
// weight and character set with the face, and DS_SHELLFONT takes effect only in it.
void PutDialog(std::vector<std::uint8_t>& out, const DialogLayout& dialog)
{
    Put16(out, 1);       // version
    Put16(out, 0xFFFF);  // the extended template's signature
    Put32(out, 0);       // help id
    Put32(out, 0);       // extended style
    Put32(out, kDialogStyle);
    Put16(out, static_cast<std::uint32_t>(dialog.controls.size()));
    PutShort(out, 0);
    PutShort(out, 0);
    PutShort(out, dialog.cx);
    PutShort(out, dialog.cy);
    Put16(out, 0);  // no menu
    Put16(out, 0);  // the predefined dialog class
    PutText(out, dialog.title);
    Put16(out, kFontPoints);
    Put16(out, kFontWeight);
    out.push_back(0);  // not italic
    out.push_back(kFontCharset);
    PutText(out, kFontFace);
    for (const ControlLayout& control : dialog.controls) {
        Align4(out);
        Put32(out, 0);  // help id
        Put32(out, 0);  // extended style
        Put32(out, WS_CHILD | WS_VISIBLE | control.style);
        PutShort(out, control.x);
        PutShort(out, control.y);
        PutShort(out, control.cx);
        PutShort(out, control.cy);
        Put32(out, control.id);
        if (control.controlClass == kNamedClass) {
            PutText(out, control.className);
        } else {
            Put16(out, 0xFFFF);
            Put16(out, control.controlClass);
        }
        PutText(out, control.title);
        Put16(out, 0);  // no creation data
    }
    Align4(out);
}

}  // namespace

std::vector<DialogLayout> WizardDialogs()
{
    std::vector<DialogLayout> dialogs;

    DialogLayout welcome{"Welcome", kPageWidth, kPageHeight, {}};
    AddTextColumn(welcome.controls, kMargin,
                  {"Welcome to the Install program.", "This program allows you to install the product on your hard drive.",
                   "It is strongly recommended that before proceeding, you ensure that no other Windows programs are running.",
                   "If you do not wish to install the product, click 'Exit' now, otherwise click 'Next' to continue."});
    AddButtons(welcome.controls, "&Next >");
    dialogs.push_back(std::move(welcome));

    DialogLayout information{"Information", kPageWidth, kPageHeight, {}};
    information.controls.push_back({kEdit, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                                    kMargin, kMargin, kContentWidth, kContentBottom - kMargin, kIdInformation, ""});
    AddButtons(information.controls, "&Next >");
    dialogs.push_back(std::move(information));

    // Text 1, the directory and its "..." button, the two disk space rows, texts 2-4.
    DialogLayout directory{"Directory", kPageWidth, kPageHeight, {}};
    directory.controls.push_back(Text(kMargin, 16, kIdText1, "The files will be installed in the following directory:"));
    directory.controls.push_back(
        {kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin, 27, kContentWidth - 27, 14, kIdDirectory, ""});
    directory.controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, kRight - 23, 27, 23, 14, kIdBrowse, "..."});
    directory.controls.push_back({kStatic, kText, kMargin, 48, 100, 8, kIdSpaceNeededLabel, "Disk space needed :"});
    directory.controls.push_back({kStatic, kText, 110, 48, 100, 8, kIdSpaceNeeded, ""});
    directory.controls.push_back({kStatic, kText, kMargin, 59, 100, 8, kIdSpaceAvailableLabel, "Available disk space :"});
    directory.controls.push_back({kStatic, kText, 110, 59, 100, 8, kIdSpaceAvailable, ""});
    directory.controls.push_back(Text(75, 16, kIdText2, ""));
    directory.controls.push_back(Text(99, 16, kIdText3, ""));
    directory.controls.push_back(Text(123, 16, kIdText4, "Click 'Next' to continue."));
    AddButtons(directory.controls, "&Next >");
    dialogs.push_back(std::move(directory));

    DialogLayout confirmation{"Confirmation", kPageWidth, kPageHeight, {}};
    AddTextColumn(confirmation.controls, kMargin,
                  {"", "This program will install the product into the directory.", "", "Click 'Start' to install the product."});
    AddButtons(confirmation.controls, "&Start");
    dialogs.push_back(std::move(confirmation));

    // "File :" and the name of the file being written, the progress bar, text 2; Cancel.
    DialogLayout installing{"Installing", kPageWidth, kPageHeight, {}};
    installing.controls.push_back({kStatic, kText, kMargin, kMargin, 40, 8, kIdText1, "File :"});
    installing.controls.push_back(
        {kStatic, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS, 50, kMargin, kRight - 50, 8, kIdCurrentFile, ""});
    installing.controls.push_back({kNamedClass, 0, kMargin, 21, kContentWidth, 12, kIdProgress, "", "msctls_progress32"});
    installing.controls.push_back(Text(40, 16, kIdText2, ""));
    installing.controls.push_back(Separator());
    installing.controls.push_back(Button(kExitX, kIdCancel, "&Cancel"));
    dialogs.push_back(std::move(installing));

    // The outcome, text 2 over the View button, text 3 over the Run check box, the restart
    // text; Restart and OK.
    DialogLayout end{"End", kPageWidth, kPageHeight, {}};
    end.controls.push_back(Text(kMargin, 40, kIdText1, "The product has been successfully installed."));
    end.controls.push_back(Text(50, 8, kIdText2, ""));
    end.controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, kMargin, 62, 100, 14, kIdView, "View"});
    end.controls.push_back(Text(80, 8, kIdText3, ""));
    end.controls.push_back({kButton, BS_AUTOCHECKBOX | WS_TABSTOP, kMargin, 92, kContentWidth, 10, kIdRun, "Launch"});
    end.controls.push_back(Text(108, 24, kIdRestartText, ""));
    end.controls.push_back(Separator());
    end.controls.push_back(Button(kNextX, kIdRestart, "&Restart"));
    end.controls.push_back(Button(kExitX, kIdOk, "OK", true));
    dialogs.push_back(std::move(end));

    // The directory dialog: the name and the folders of the current directory on the left
    // with the drives under them, OK and Cancel on the right.
    DialogLayout choose{"Please select a directory", 210, 150, {}};
    choose.controls.push_back({kStatic, kText, kMargin, kMargin, 140, 8, kIdChooseNameLabel, "Directory name:"});
    choose.controls.push_back({kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin, 17, 140, 12, kIdChooseName, ""});
    choose.controls.push_back({kListBox, LBS_NOTIFY | LBS_SORT | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                               kMargin, 33, 140, 84, kIdChooseFolders, ""});
    choose.controls.push_back({kStatic, kText, kMargin, 121, 140, 8, kIdChooseDrivesLabel, "Drives"});
    choose.controls.push_back({kComboBox, CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, kMargin, 131, 140, 80,
                               kIdChooseDrives, ""});
    choose.controls.push_back({kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 153, kMargin, kButtonWidth, kButtonHeight, kIdOk, "OK"});
    choose.controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, 153, 24, kButtonWidth, kButtonHeight, kIdCancel, "&Cancel"});
    dialogs.push_back(std::move(choose));

    return dialogs;
}

std::vector<DialogLayout> ShiftRight(std::vector<DialogLayout> dialogs, std::int16_t shift, std::size_t count)
{
    for (std::size_t i = 0; i < dialogs.size() && i < count; ++i) {
        DialogLayout& dialog = dialogs[i];
        dialog.cx = static_cast<std::int16_t>(dialog.cx + shift);
        for (ControlLayout& control : dialog.controls) control.x = static_cast<std::int16_t>(control.x + shift);
    }
    return dialogs;
}

std::vector<DialogLayout> WithBitmapBand(std::vector<DialogLayout> dialogs)
{
    return ShiftRight(std::move(dialogs), kBitmapBand, kPageCount);
}

std::vector<std::uint8_t> EncodeTemplates(const std::vector<DialogLayout>& dialogs)
{
    std::vector<std::uint8_t> out(dialogs.size() * 4);
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        auto offset = static_cast<std::uint32_t>(out.size());
        for (int byte = 0; byte < 4; ++byte) out[i * 4 + static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(offset >> (8 * byte));
        PutDialog(out, dialogs[i]);
    }
    return out;
}

std::vector<std::uint8_t> StoreCompressed(const std::vector<std::uint8_t>& data)
{
    CMemFile stream;
    CCompressor().CompressBuffer(stream, data.data(), data.size());
    std::vector<std::uint8_t> out;
    Put32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), stream.Data().begin(), stream.Data().end());
    return out;
}

}  // namespace sw::resgen
