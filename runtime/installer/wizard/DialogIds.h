#pragma once
// The contract between the installer's dialog templates (written by tools/resgen at build
// time, carried in REC_DIALOGS) and the wizard that shows them: the order of the templates,
// the control ids, and the few layout figures both sides need. Plain constants: the host
// tool includes this without <windows.h>.
#include <cstdint>

namespace sw::dialogs {

// The templates of REC_DIALOGS, in this order. The first six are the wizard's pages, one
// per text group 0-5 (a test program's start page is such a group); the last is the
// directory dialog of the Browse button.
enum DialogIndex : unsigned {
    kDialogWelcome = 0,       // group 0
    kDialogInformation = 1,   // group 1
    kDialogDirectory = 2,     // group 2
    kDialogConfirmation = 3,  // group 3
    kDialogInstalling = 4,    // group 4
    kDialogEnd = 5,           // group 5
    kPageCount = 6,
    kDialogChooseDirectory = 6,
    kDialogCount = 7,
};

// Buttons. IDOK moves on (Next, Start, OK), IDCANCEL leaves (Exit, Cancel); the window's
// close box and Escape send IDCANCEL too.
inline constexpr std::uint16_t kIdOk = 1;      // IDOK
inline constexpr std::uint16_t kIdCancel = 2;  // IDCANCEL
inline constexpr std::uint16_t kIdBack = 1010;
inline constexpr std::uint16_t kIdRestart = 1011;

// The static texts 1-4 of a page's group, in a column from the top of the page.
inline constexpr std::uint16_t kIdText1 = 1001;
inline constexpr std::uint16_t kIdText2 = 1002;
inline constexpr std::uint16_t kIdText3 = 1003;
inline constexpr std::uint16_t kIdText4 = 1004;

// Information page: the long text, read-only and scrollable.
inline constexpr std::uint16_t kIdInformation = 1005;

// Directory page: the directory, Browse, and the disk space rows (labels 2/5 and 2/6,
// their values made from 2/7).
inline constexpr std::uint16_t kIdDirectory = 1006;
inline constexpr std::uint16_t kIdBrowse = 1007;
inline constexpr std::uint16_t kIdSpaceNeededLabel = 1008;
inline constexpr std::uint16_t kIdSpaceNeeded = 1009;
inline constexpr std::uint16_t kIdSpaceAvailableLabel = 1012;
inline constexpr std::uint16_t kIdSpaceAvailable = 1013;

// Installing page: text 1 ("File :") is the label of the current file's name.
inline constexpr std::uint16_t kIdCurrentFile = 1014;
inline constexpr std::uint16_t kIdProgress = 1015;  // a msctls_progress32 control

// End page: View button under text 2, Run check box under text 3, the restart text.
inline constexpr std::uint16_t kIdView = 1016;
inline constexpr std::uint16_t kIdRun = 1017;
inline constexpr std::uint16_t kIdRestartText = 1018;

// Directory dialog: "Directory name:" (6/2) and its edit, the folders of the current
// directory, "Drives" (6/3) and the drive list.
inline constexpr std::uint16_t kIdChooseNameLabel = 1020;
inline constexpr std::uint16_t kIdChooseName = 1021;
inline constexpr std::uint16_t kIdChooseFolders = 1022;
inline constexpr std::uint16_t kIdChooseDrivesLabel = 1023;
inline constexpr std::uint16_t kIdChooseDrives = 1024;

// Page geometry in dialog units. The pages are kPageWidth x kPageHeight; their content
// lies between kMargin and kContentBottom, above a separator and the row of buttons. The
// templates with room for the wizard bitmap (resources 503 and 603) are kBitmapBand wider
// and have every control of a page moved right by as much: the bitmap stands in that band,
// from kMargin down to kContentBottom. The band holds a bitmap 128 pixels wide at 96 dpi
// (MS Shell Dlg 8: 6 pixels make 4 units) and a margin.
inline constexpr std::int16_t kPageWidth = 317;
inline constexpr std::int16_t kPageHeight = 209;
inline constexpr std::int16_t kMargin = 7;
inline constexpr std::int16_t kContentBottom = 179;
inline constexpr std::int16_t kBitmapPixels = 128;
inline constexpr std::int16_t kBitmapBand = (kBitmapPixels * 4 + 5) / 6 + kMargin;

}  // namespace sw::dialogs
