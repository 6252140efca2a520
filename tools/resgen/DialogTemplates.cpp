#include "DialogTemplates.h"

#include <stdexcept>

#include "build/Compressor.h"

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
constexpr std::uint32_t DS_CENTER = 0x0800;
constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003;
constexpr std::uint32_t SS_LEFT = 0x0000;
constexpr std::uint32_t SS_BLACKFRAME = 0x0007;
constexpr std::uint32_t SS_ETCHEDHORZ = 0x0010;
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr std::uint32_t ES_READONLY = 0x0800;

constexpr std::uint32_t kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_CENTER;
constexpr std::uint16_t kFontPoints = 8;
constexpr const char* kFontFace = "MS Sans Serif";

// Control ids the runtime looks its controls up by. IDOK moves on (Next, Install, Finish),
// IDCANCEL asks to stop; the rest are the runtime's own.
constexpr std::uint16_t IDOK = 1;
constexpr std::uint16_t IDCANCEL = 2;
constexpr std::uint16_t kIdBack = 3;
constexpr std::uint16_t kIdHeading = 1000;
constexpr std::uint16_t kIdBody = 1001;
constexpr std::uint16_t kIdInformation = 1002;
constexpr std::uint16_t kIdDirectory = 1003;
constexpr std::uint16_t kIdBrowse = 1004;
constexpr std::uint16_t kIdSpace = 1005;
constexpr std::uint16_t kIdCurrentFile = 1006;
constexpr std::uint16_t kIdProgress = 1007;
constexpr std::uint16_t kIdLaunch = 1008;
constexpr std::uint16_t kIdView = 1009;

// Every page is 317 x 193 dialog units, with a heading, a separator and the row of
// buttons at the bottom.
constexpr std::int16_t kPageWidth = 317;
constexpr std::int16_t kPageHeight = 193;

ControlLayout Heading(std::string text)
{
    return {kStatic, SS_LEFT, 7, 7, 303, 20, kIdHeading, std::move(text)};
}

ControlLayout Separator()
{
    return {kStatic, SS_ETCHEDHORZ, 7, 164, 303, 1, 0xFFFF, ""};
}

// Back, the button that moves on, and Cancel.
void AddButtons(std::vector<ControlLayout>& controls, std::string next)
{
    controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, 146, 172, 50, 14, kIdBack, "< &Back"});
    controls.push_back({kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 196, 172, 50, 14, IDOK, std::move(next)});
    controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, 260, 172, 50, 14, IDCANCEL, "Cancel"});
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

void PutDialog(std::vector<std::uint8_t>& out, const DialogLayout& dialog)
{
    Put32(out, kDialogStyle);
    Put32(out, 0);  // extended style
    Put16(out, static_cast<std::uint32_t>(dialog.controls.size()));
    PutShort(out, 0);
    PutShort(out, 0);
    PutShort(out, dialog.cx);
    PutShort(out, dialog.cy);
    Put16(out, 0);  // no menu
    Put16(out, 0);  // the predefined dialog class
    PutText(out, dialog.title);
    Put16(out, kFontPoints);
    PutText(out, kFontFace);
    for (const ControlLayout& control : dialog.controls) {
        Align4(out);
        Put32(out, WS_CHILD | WS_VISIBLE | control.style);
        Put32(out, 0);  // extended style
        PutShort(out, control.x);
        PutShort(out, control.y);
        PutShort(out, control.cx);
        PutShort(out, control.cy);
        Put16(out, control.id);
        Put16(out, 0xFFFF);
        Put16(out, control.controlClass);
        PutText(out, control.title);
        Put16(out, 0);  // no creation data
    }
    Align4(out);
}

}  // namespace

std::vector<DialogLayout> StandInDialogs()
{
    std::vector<DialogLayout> pages;

    DialogLayout welcome{"Welcome", kPageWidth, kPageHeight, {}};
    welcome.controls.push_back(Heading("Welcome"));
    welcome.controls.push_back({kStatic, SS_LEFT, 7, 32, 303, 120, kIdBody, "This program installs the product."});
    welcome.controls.push_back(Separator());
    AddButtons(welcome.controls, "&Next >");
    pages.push_back(std::move(welcome));

    DialogLayout information{"Information", kPageWidth, kPageHeight, {}};
    information.controls.push_back(Heading("Information"));
    information.controls.push_back({kEdit, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                                    7, 32, 303, 124, kIdInformation, ""});
    information.controls.push_back(Separator());
    AddButtons(information.controls, "&Next >");
    pages.push_back(std::move(information));

    DialogLayout directory{"Directory", kPageWidth, kPageHeight, {}};
    directory.controls.push_back(Heading("Choose the installation directory"));
    directory.controls.push_back({kStatic, SS_LEFT, 7, 32, 303, 30, kIdBody, "Files are installed into this directory."});
    directory.controls.push_back({kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 70, 240, 14, kIdDirectory, ""});
    directory.controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, 253, 70, 57, 14, kIdBrowse, "B&rowse..."});
    directory.controls.push_back({kStatic, SS_LEFT, 7, 92, 303, 10, kIdSpace, ""});
    directory.controls.push_back(Separator());
    AddButtons(directory.controls, "&Next >");
    pages.push_back(std::move(directory));

    DialogLayout confirmation{"Confirmation", kPageWidth, kPageHeight, {}};
    confirmation.controls.push_back(Heading("Ready to install"));
    confirmation.controls.push_back({kStatic, SS_LEFT, 7, 32, 303, 120, kIdBody, "Click Install to start."});
    confirmation.controls.push_back(Separator());
    AddButtons(confirmation.controls, "&Install");
    pages.push_back(std::move(confirmation));

    DialogLayout installing{"Installing", kPageWidth, kPageHeight, {}};
    installing.controls.push_back(Heading("Installing"));
    installing.controls.push_back({kStatic, SS_LEFT, 7, 40, 303, 10, kIdCurrentFile, ""});
    installing.controls.push_back({kStatic, SS_BLACKFRAME, 7, 56, 303, 12, kIdProgress, ""});
    installing.controls.push_back(Separator());
    installing.controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, 260, 172, 50, 14, IDCANCEL, "Cancel"});
    pages.push_back(std::move(installing));

    DialogLayout end{"End", kPageWidth, kPageHeight, {}};
    end.controls.push_back(Heading("Installation complete"));
    end.controls.push_back({kStatic, SS_LEFT, 7, 32, 303, 60, kIdBody, "The product has been installed."});
    end.controls.push_back({kButton, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 100, 303, 10, kIdLaunch, "&Launch"});
    end.controls.push_back({kButton, BS_PUSHBUTTON | WS_TABSTOP, 7, 116, 80, 14, kIdView, "&View"});
    end.controls.push_back(Separator());
    end.controls.push_back({kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 260, 172, 50, 14, IDOK, "&Finish"});
    pages.push_back(std::move(end));

    return pages;
}

std::vector<DialogLayout> ShiftRight(std::vector<DialogLayout> dialogs, std::int16_t shift)
{
    for (DialogLayout& dialog : dialogs) {
        dialog.cx = static_cast<std::int16_t>(dialog.cx + shift);
        for (ControlLayout& control : dialog.controls) control.x = static_cast<std::int16_t>(control.x + shift);
    }
    return dialogs;
}

std::int16_t PixelsToDialogUnits(int pixels)
{
    constexpr int kBaseUnitPixels = 6;  // average character width of MS Sans Serif 8 at 96 dpi
    return static_cast<std::int16_t>((pixels * 4 + kBaseUnitPixels - 1) / kBaseUnitPixels);
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
