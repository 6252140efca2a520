#include "wizard/WizardRules.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/HostPath.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

constexpr unsigned kBackNext = WIZB_BACK | WIZB_NEXT;
constexpr std::size_t kInformationGroup = 1;
constexpr std::size_t kInformationText = 1;
constexpr const char* kTextFileExtension = ".txt";
constexpr const char* kIniExtension = ".ini";

constexpr std::array<WizardPageInfo, kWizardPageCount> kPages{{
    {WIZ_WELCOME, IDS_WIZ_PAGE_WELCOME, WIZB_NEXT, kNoPreview},
    {WIZ_DIRECTORY, IDS_WIZ_PAGE_DIRECTORY, 0, kNoPreview},
    {WIZ_TITLE, IDS_WIZ_PAGE_TITLE, kBackNext, 0},
    {WIZ_SHELL, IDS_WIZ_PAGE_SHELL, 0, kNoPreview},
    {WIZ_INFORMATION, IDS_WIZ_PAGE_INFORMATION, kBackNext, 1},
    {WIZ_WINDOW, IDS_WIZ_PAGE_WINDOW, kBackNext, 0},
    {WIZ_BITMAPS, IDS_WIZ_PAGE_BITMAPS, kBackNext, 0},
    {WIZ_INSTALL_DIR, IDS_WIZ_PAGE_INSTALL_DIR, kBackNext, 2},
    {WIZ_END_OPTIONS, IDS_WIZ_PAGE_END_OPTIONS, 0, kNoPreview},
    {WIZ_UNINSTALL, IDS_WIZ_PAGE_UNINSTALL, kBackNext, kNoPreview},
    {WIZ_END, IDS_WIZ_PAGE_END, WIZB_BACK | WIZB_FINISH, kNoPreview},
}};

bool EqualsIgnoringCase(const std::string& a, const std::string& b) { return ::strcasecmp(a.c_str(), b.c_str()) == 0; }

class CHostWizardFiles : public IWizardFiles {
public:
    bool SetCurrentDirectory(const std::string& path) override { return ::chdir(path.c_str()) == 0; }
    bool CanOpenForReading(const std::string& path) override
    {
        int fd = OpenForReading(path);
        if (fd < 0) return false;
        ::close(fd);
        return true;
    }
};

// A name the pages keep as typed is handed over as a full path: relative names were
// opened against the current directory, which the Directory page made the source directory.
std::string HandOverPath(const std::string& sourceDir, const std::string& file)
{
    if (file.empty() || file.front() == kHostSeparator) return file;
    return WithTrailingSeparator(sourceDir) + file;
}

}  // namespace

std::span<const WizardPageInfo> WizardPages() { return kPages; }

const WizardPageInfo* FindWizardPage(int dialogId)
{
    for (const WizardPageInfo& page : kPages)
        if (page.dialogId == dialogId) return &page;
    return nullptr;
}

bool CButtonMemory::Changed(unsigned buttons)
{
    if (m_last && *m_last == buttons) return false;
    m_last = buttons;
    return true;
}

IWizardFiles& HostWizardFiles()
{
    static CHostWizardFiles files;
    return files;
}

unsigned OnStopUsingWizard(WizardAnswers& answers, bool checked)
{
    answers.useWizard = checked ? 0 : 1;
    return checked ? WIZB_FINISH : WIZB_NEXT;
}

unsigned ValidateSourceDirectory(WizardAnswers& answers, const std::string& text, IWizardFiles& files)
{
    if (text.empty()) return WIZB_BACK;
    answers.data.m_strSourceDir = WithTrailingSeparator(text);
    return files.SetCurrentDirectory(answers.data.m_strSourceDir) ? kBackNext : WIZB_BACK;
}

std::string FolderChooserStart(const std::string& sourceDir)
{
    std::string start = sourceDir;
    while (!start.empty() && start.back() == kHostSeparator) start.pop_back();
    return start;
}

std::vector<std::string> LanguageList(const std::vector<DirEntry>& templateEntries)
{
    const std::string english = LoadString(IDS_ENGLISH);
    const std::string extension = kTextFileExtension;
    std::vector<std::string> languages;
    for (const DirEntry& entry : templateEntries) {
        if (entry.isDirectory || entry.name.size() <= extension.size()) continue;
        std::string tail = entry.name.substr(entry.name.size() - extension.size());
        if (!EqualsIgnoringCase(tail, extension)) continue;
        std::string title = entry.name.substr(0, entry.name.size() - extension.size());
        if (EqualsIgnoringCase(title, english)) continue;
        languages.push_back(title);
    }
    languages.push_back(english);
    std::stable_sort(languages.begin(), languages.end(), [](const std::string& a, const std::string& b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    return languages;
}

std::vector<std::string> ListLanguages(const std::string& templateDir) { return LanguageList(ListDirectory(templateDir)); }

void ChooseLanguage(WizardAnswers& answers, const std::string& language, const std::string& templateDir, IWizardFiles& files)
{
    answers.data.ResetTexts();
    std::string path = templateDir + language + kTextFileExtension;
    if (!files.CanOpenForReading(path)) return;
    try {
        answers.data.ImportTexts(path);
    } catch (const CFileError&) {
        answers.data.ResetTexts();  // a file that fails half way leaves the defaults
    }
}

bool CommitTitle(WizardAnswers& answers, const std::string& text)
{
    answers.data.m_strTitle = text;
    if (answers.titleEdited) return false;
    answers.data.m_strBackgroundTitle = answers.data.m_strTitle;
    return true;
}

unsigned ShellButtons(const std::string& file, const std::string& iconName, IWizardFiles& files)
{
    if (file.empty()) return kBackNext;
    return !iconName.empty() && files.CanOpenForReading(file) ? kBackNext : WIZB_BACK;
}

std::string InformationText(const CData& data)
{
    if (data.m_texts.size() <= kInformationGroup || data.m_texts[kInformationGroup].size() <= kInformationText) return {};
    return data.m_texts[kInformationGroup][kInformationText];
}

void CommitInformation(WizardAnswers& answers, const std::string& text)
{
    TextGroups& texts = answers.data.m_texts;
    if (texts.size() <= kInformationGroup || texts[kInformationGroup].size() <= kInformationText) return;
    texts[kInformationGroup][kInformationText] = text;
}

bool InformationPreviewEnabled(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
}

void SetWindowMode(WizardAnswers& answers, int mode) { answers.data.m_nWindowMode = mode; }

bool BackgroundTitleEnabled(const CData& data) { return data.m_nWindowMode == 1; }

bool CommitBackgroundTitle(WizardAnswers& answers, const std::string& text)
{
    if (text == answers.data.m_strBackgroundTitle) return false;
    answers.data.m_strBackgroundTitle = text;
    answers.titleEdited = 1;
    return true;
}

bool PatternControlsShown(const CData& data) { return data.m_nWindowMode == 1; }

RegistryKeyValues GetRegistryKey(const CData& data) { return {data.m_nRegRoot, data.m_strRegKey, data.m_strRegValue}; }

void SetRegistryKey(CData& data, const RegistryKeyValues& values)
{
    data.m_nRegRoot = values.root;
    data.m_strRegKey = values.key;
    data.m_strRegValue = values.subkey;
}

std::vector<std::string> RegistryRootNames()
{
    return {LoadString(IDS_HKEY_CLASSES_ROOT), LoadString(IDS_HKEY_CURRENT_USER), LoadString(IDS_HKEY_LOCAL_MACHINE),
            LoadString(IDS_HKEY_USERS)};
}

IniFileValues GetIniFile(const CData& data) { return {data.m_strIniFile, data.m_strIniSection, data.m_strIniEntry}; }

void SetIniFile(CData& data, const IniFileValues& values)
{
    data.m_strIniFile = values.file;
    if (!data.m_strIniFile.empty() && data.m_strIniFile.find('.') == std::string::npos) data.m_strIniFile += kIniExtension;
    data.m_strIniSection = values.section;
    data.m_strIniEntry = values.entry;
}

unsigned EndOptionsButtons(const std::string& viewFile, const std::string& launchFile, IWizardFiles& files)
{
    unsigned buttons = kBackNext;
    if (!viewFile.empty() && !files.CanOpenForReading(viewFile)) buttons = WIZB_BACK;
    if (!launchFile.empty() && !files.CanOpenForReading(launchFile)) buttons &= ~static_cast<unsigned>(WIZB_NEXT);
    return buttons;
}

void OnFinishEndPage(WizardAnswers& answers, bool doNotBuild) { answers.data.m_bBuildPending = doNotBuild ? 0 : 1; }

BrowseStart BrowseStartName(const std::string& sourceDir, const std::string& pattern) { return {sourceDir, pattern}; }

bool ShouldRunWizard(IProfile& profile, bool mainWindowExists)
{
    return mainWindowExists && GeneralSettings().Read(profile, PREF_WIZARD) != 0;
}

bool ApplyWizardResult(CData& project, const WizardAnswers& answers, WizardEnd end, IProfile& profile)
{
    if (end == WizardEnd::Cancel) return false;
    if (!answers.useWizard) {
        GeneralSettings().Write(profile, PREF_WIZARD, 0);
        return false;
    }
    project = answers.data;
    project.m_bApplyWizardResults = 1;
    project.m_strWizIconFile = HandOverPath(project.m_strSourceDir, answers.iconFile);
    project.m_strWizIconName = answers.iconName;
    project.m_bWizDesktopShortcut = answers.desktopShortcut;
    project.m_strWizViewFile = HandOverPath(project.m_strSourceDir, answers.viewFile);
    project.m_strWizRunFile = HandOverPath(project.m_strSourceDir, answers.runFile);
    if (answers.createUninstaller) {
        project.m_strUninstallIconFolder = project.m_strTitle;
        project.m_strUninstallIconName = FormatText(LoadString(IDS_UNINSTALL_ICON_FORMAT), project.m_strTitle);
    } else {
        project.m_strUninstallerName.clear();
    }
    return true;
}

}  // namespace sw
