#pragma once
// The installation program as the installer runtime sees it once it has checked it: the
// records after its own image, decoded into what the wizard shows and the install engine
// uses, and the data section (in this file and in its follow-on volumes).
//
// The wizard (wizard/Wizard.h) reads everything here and calls RunInstall to install;
// the unattended installer calls RunInstall directly.
#include <windows.h>

#include <cstdint>

#include "core/ProgramLayout.h"

namespace sw {

// Text groups of REC_WIZARD_TEXTS (the uninstaller's group 8 is not carried here).
enum WizardTextGroup : unsigned {
    kGroupWelcome = 0,
    kGroupInformation = 1,
    kGroupDirectory = 2,
    kGroupConfirmation = 3,
    kGroupProgress = 4,
    kGroupEnd = 5,
    kGroupMessages = 6,
    kGroupButtons = 7,
    kWizardTextGroups = 8,
};

// REC_TEST_PAGE: absent in a real installation program.
inline constexpr int kNoTestPage = -2;
inline constexpr int kTestWholeWizard = -1;

struct Bitmap {
    const std::uint8_t* bytes = nullptr;  // the whole .bmp file, nullptr when absent
    std::uint32_t size = 0;
};

class CSetup {
public:
    // Reads the records of the checked program (view) and opens nothing else. False when a
    // record is damaged: the program is invalid data.
    bool Load(const ProgramView& view, const DataPiece* pieces, std::size_t pieceCount);
    ~CSetup();

    // Text (group, index) of the wizard texts, as UTF-16; never nullptr ("" when absent or
    // blank). Group 0-7 only.
    const wchar_t* Text(unsigned group, unsigned index) const;
    // The text with its first "%s" or "%d" replaced by `argument` and "%%" made "%". The
    // caller releases it with win::Release.
    wchar_t* FormatText(unsigned group, unsigned index, const wchar_t* argument) const;
    // The title of message boxes and the wizard: text 0 of group 6 ("#Title Install Program").
    const wchar_t* Caption() const { return Text(kGroupMessages, 0); }

    const wchar_t* Title() const { return m_title; }                      // REC_TITLE, "" when absent
    const wchar_t* BackgroundTitle() const { return m_backgroundTitle; }  // "" when absent
    bool HasTitleFont() const { return m_hasTitleFont; }
    const LOGFONTW& TitleFont() const { return m_titleFont; }
    std::uint32_t Options() const { return m_options; }
    bool FullScreen() const { return (m_options & 0x1) != 0; }
    bool UserCanChangeDir() const { return (m_options & 0x2) != 0; }
    Bitmap WizardBitmap() const { return m_wizardBitmap; }
    Bitmap BackgroundBitmap() const { return m_backgroundBitmap; }

    // The dialog templates of REC_DIALOGS, in the order the generator writes them (see
    // wizard/DialogIds.h); nullptr when `index` is out of range.
    const DLGTEMPLATE* Dialog(unsigned index) const;
    unsigned DialogCount() const { return m_dialogCount; }

    // The start page of a test program (0 to 5, kTestWholeWizard), or kNoTestPage.
    int TestPage() const { return m_testPage; }
    bool IsTest() const { return m_testPage != kNoTestPage; }

    // The installation directory to propose: the previous one from the registry value or
    // the .ini entry when the project names one and it is set, else the default directory
    // with its macros expanded; "" when there is none.
    const wchar_t* ProposedDirectory() const { return m_proposedDir; }
    // The directory given on the command line (/D=) instead.
    void SetProposedDirectory(const wchar_t* directory);
    // Bytes the installed files take (their uncompressed sizes).
    std::uint64_t SpaceNeeded() const { return m_spaceNeeded; }

    // For the engine.
    const ProgramView& View() const { return *m_view; }
    const DataPiece* Pieces() const { return m_pieces; }
    std::size_t PieceCount() const { return m_pieceCount; }
    const std::uint8_t* FileTable() const { return m_fileTable; }
    std::uint32_t FileTableSize() const { return m_fileTableSize; }
    std::uint32_t ProjectCheck() const { return m_projectCheck; }
    const char* RegistryKey() const { return m_regKey; }      // REC_REG_KEY, nullptr when absent
    const char* RegistryValue() const { return m_regValue; }  // REC_REG_VALUE
    std::uint32_t RegistryRoot() const { return m_regRoot; }  // 0-3 as the project stores it
    const char* IniFile() const { return m_iniFile; }
    const char* IniSection() const { return m_iniSection; }
    const char* IniEntry() const { return m_iniEntry; }

private:
    const ProgramView* m_view = nullptr;
    const DataPiece* m_pieces = nullptr;
    std::size_t m_pieceCount = 0;
    wchar_t** m_texts[kWizardTextGroups] = {};
    unsigned m_textCounts[kWizardTextGroups] = {};
    wchar_t* m_title = nullptr;
    wchar_t* m_backgroundTitle = nullptr;
    bool m_hasTitleFont = false;
    LOGFONTW m_titleFont = {};
    std::uint32_t m_options = 0;
    std::uint8_t* m_wizardBitmapData = nullptr;
    std::uint8_t* m_backgroundBitmapData = nullptr;
    Bitmap m_wizardBitmap, m_backgroundBitmap;
    std::uint8_t* m_dialogs = nullptr;
    std::uint32_t m_dialogsSize = 0;
    unsigned m_dialogCount = 0;
    int m_testPage = kNoTestPage;
    wchar_t* m_proposedDir = nullptr;
    std::uint64_t m_spaceNeeded = 0;
    std::uint8_t* m_fileTable = nullptr;
    std::uint32_t m_fileTableSize = 0;
    std::uint32_t m_projectCheck = 0;
    char* m_defaultDir = nullptr;
    char* m_regKey = nullptr;
    char* m_regValue = nullptr;
    std::uint32_t m_regRoot = 0;
    char* m_iniFile = nullptr;
    char* m_iniSection = nullptr;
    char* m_iniEntry = nullptr;
};

// What the install engine tells its caller while it works, and asks it. The wizard runs
// RunInstall on a worker thread, so every call comes from that thread.
class IInstallObserver {
public:
    virtual void OnFile(const wchar_t* name) = 0;  // a file starts (its name in the file table)
    virtual void OnProgress(std::uint64_t done, std::uint64_t total) = 0;  // bytes written so far
    virtual bool StopRequested() = 0;  // the user asked to cancel and confirmed it
    // A question or message as MessageBox takes it (MB_YESNO | MB_ICONQUESTION, ...); returns
    // IDYES, IDNO, IDOK or IDCANCEL. Unattended, the engine's default answer is returned.
    virtual int Ask(const wchar_t* message, UINT type) = 0;

protected:
    ~IInstallObserver() = default;
};

struct InstallOutcome {
    int exitCode = 0;                 // ExitCodes.h
    wchar_t* reason = nullptr;        // why it failed, for the End page's failure text
    bool restartNeeded = false;       // a file in use is replaced at the next start
    wchar_t* viewFile = nullptr;      // the installed file with the View option, or nullptr
    wchar_t* runFile = nullptr;       // the installed file with the Run option, or nullptr
    wchar_t* uninstaller = nullptr;   // the installed uninstaller, or nullptr
    ~InstallOutcome();
};

// Installs every file into `directory` (the installation directory; Windows, System and
// Fonts targets go to those folders), with icons, shortcuts, registrations and the
// uninstall information. Never called for a test program.
void RunInstall(const CSetup& setup, const wchar_t* directory, IInstallObserver& observer, InstallOutcome& outcome);

}  // namespace sw
