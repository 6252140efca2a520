#pragma once
// What the new-project wizard's eleven pages do, decided without a window: which buttons
// each page allows, what its controls store into the wizard's private project, the
// language list, the Registry key and INI file values, and the Finish step that hands
// the answers to the document's project. The wx pages (NewProjectWizard.h) bind widgets
// to these functions.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/Data.h"
#include "pages/Preferences.h"
#include "platform/Files.h"

namespace sw {

// The wizard's buttons, combined as a page sets them.
enum WizardButton : unsigned {
    WIZB_BACK = 0x1,
    WIZB_NEXT = 0x2,
    WIZB_FINISH = 0x4,
};

// Dialog numbers of the pages, which are also their help numbers.
enum WizardPageId : int {
    WIZ_WELCOME = 142,
    WIZ_DIRECTORY = 143,
    WIZ_TITLE = 144,
    WIZ_SHELL = 10000,
    WIZ_INFORMATION = 167,
    WIZ_WINDOW = 145,
    WIZ_BITMAPS = 146,
    WIZ_INSTALL_DIR = 150,
    WIZ_END_OPTIONS = 10003,
    WIZ_UNINSTALL = 9999,
    WIZ_END = 152,
    WIZ_REGISTRY_KEY_DIALOG = 147,
    WIZ_INI_FILE_DIALOG = 154,
};

inline constexpr int kNoPreview = -2;  // the page has no Preview button
inline constexpr int kWizardPageCount = 11;

struct WizardPageInfo {
    int dialogId;
    int captionId;        // string number of the caption
    unsigned buttons;     // set on activation; 0 for the pages that validate
    int previewPage;      // start page of the wizard test, or kNoPreview
};

// The eleven pages in the order the sheet adds them.
std::span<const WizardPageInfo> WizardPages();
const WizardPageInfo* FindWizardPage(int dialogId);

// Everything one run of the wizard edits: the private project and the values the sheet
// and some pages keep for themselves.
struct WizardAnswers {
    CData data;
    int useWizard = 1;       // cleared by the Welcome page's check box
    int titleEdited = 0;     // set once the background title was changed by hand
    std::string iconFile;    // Shell page
    std::string iconName;
    int desktopShortcut = 0;
    std::string viewFile;    // End page options page
    std::string runFile;
    int createUninstaller = 1;  // Uninstallation page
};

// A validating page sends a button state only when it differs from the last one sent;
// activation forgets the last one.
class CButtonMemory {
public:
    void Forget() { m_last.reset(); }
    // True when `buttons` has to be sent (and remembers it).
    bool Changed(unsigned buttons);

private:
    std::optional<unsigned> m_last;
};

// What the pages ask of the file system; tests answer with fakes.
class IWizardFiles {
public:
    virtual ~IWizardFiles() = default;
    // Makes the directory the process's current directory.
    virtual bool SetCurrentDirectory(const std::string& path) = 0;
    // Relative names against the current directory.
    virtual bool CanOpenForReading(const std::string& path) = 0;
};
IWizardFiles& HostWizardFiles();

// 1. Welcome: the check box "Click here to stop using this wizard".
unsigned OnStopUsingWizard(WizardAnswers& answers, bool checked);

// 2. Directory: validates the edit's text, stores it with a trailing separator and makes
// it the current directory.
unsigned ValidateSourceDirectory(WizardAnswers& answers, const std::string& text, IWizardFiles& files);
// The folder chooser starts on the source directory less its trailing separators.
std::string FolderChooserStart(const std::string& sourceDir);

// 3. Title: the languages of the templates folder's .txt files, and "English" once,
// sorted alphabetically.
std::vector<std::string> LanguageList(const std::vector<DirEntry>& templateEntries);
std::vector<std::string> ListLanguages(const std::string& templateDir);
// Default texts, then the language's file when it opens. Empty: nothing selected.
void ChooseLanguage(WizardAnswers& answers, const std::string& language, const std::string& templateDir,
                    IWizardFiles& files);
// Stores the title; returns true when the background title followed it.
bool CommitTitle(WizardAnswers& answers, const std::string& text);

// 4. Shell.
unsigned ShellButtons(const std::string& file, const std::string& iconName, IWizardFiles& files);

// 5. Information: the second text of the Information group.
std::string InformationText(const CData& data);
void CommitInformation(WizardAnswers& answers, const std::string& text);
bool InformationPreviewEnabled(const std::string& text);

// 6. Window.
void SetWindowMode(WizardAnswers& answers, int mode);
bool BackgroundTitleEnabled(const CData& data);
// Stores a changed background title and marks it edited by hand; true when it changed.
bool CommitBackgroundTitle(WizardAnswers& answers, const std::string& text);

// 7. Bitmaps: the pattern's text, edit and button are there for the full-screen window.
bool PatternControlsShown(const CData& data);

// 8. Installation directory: the values of the Registry key and INI file dialogs.
struct RegistryKeyValues {
    int root = 0;  // HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS
    std::string key;
    std::string subkey;
};
RegistryKeyValues GetRegistryKey(const CData& data);
void SetRegistryKey(CData& data, const RegistryKeyValues& values);
std::vector<std::string> RegistryRootNames();

struct IniFileValues {
    std::string file;
    std::string section;
    std::string entry;
};
IniFileValues GetIniFile(const CData& data);
// A non-empty file name without a '.' gets ".ini".
void SetIniFile(CData& data, const IniFileValues& values);

// 9. End page options.
unsigned EndOptionsButtons(const std::string& viewFile, const std::string& launchFile, IWizardFiles& files);

// 11. End: the "Do not build the Install program" box, read on Finish.
void OnFinishEndPage(WizardAnswers& answers, bool doNotBuild);

// Open-file dialogs that start in the source directory: the folder and the pattern.
struct BrowseStart {
    std::string directory;
    std::string name;
};
BrowseStart BrowseStartName(const std::string& sourceDir, const std::string& pattern);

// New runs the wizard only while the "wizard" preference is on and the main window exists.
bool ShouldRunWizard(IProfile& profile, bool mainWindowExists);

enum class WizardEnd { Finish, Cancel };
// The Finish step of the document's New: copies the answers into the project and sets the
// hand-over fields (true: the project is to be marked modified), or, finished from the
// Welcome page's check box, turns the "wizard" preference off. Cancel changes nothing.
bool ApplyWizardResult(CData& project, const WizardAnswers& answers, WizardEnd end, IProfile& profile);

}  // namespace sw
