// The new-project wizard's page rules and its Finish step, case by case.
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <set>

#include "pages/FakeProfile.h"
#include "platform/StringTable.h"
#include "support/TempDir.h"
#include "wizard/WizardRules.h"

namespace sw::test {
namespace {

constexpr unsigned B = WIZB_BACK;
constexpr unsigned N = WIZB_NEXT;
constexpr unsigned F = WIZB_FINISH;

// Directories that exist and files that open, by name; remembers the current directory.
class FakeFiles : public IWizardFiles {
public:
    bool SetCurrentDirectory(const std::string& path) override
    {
        if (!directories.count(path)) return false;
        current = path;
        return true;
    }
    bool CanOpenForReading(const std::string& path) override
    {
        opened.push_back(path);
        return readable.count(path) != 0;
    }
    std::set<std::string> directories;
    std::set<std::string> readable;
    std::string current;
    std::vector<std::string> opened;
};

TEST(WizardPages, ElevenPagesInOrderWithTheirCaptionsButtonsAndPreview)
{
    struct Row {
        int dialog;
        const char* caption;
        unsigned buttons;  // 0: the page validates
        int preview;
    };
    const Row rows[] = {
        {142, "Welcome", N, kNoPreview},
        {143, "Directory", 0, kNoPreview},
        {144, "Setting your program’s title", B | N, 0},
        {10000, "Shell", 0, kNoPreview},
        {167, "Information", B | N, 1},
        {145, "Window", B | N, 0},
        {146, "Bitmaps", B | N, 0},
        {150, "Installation directory", B | N, 2},
        {10003, "End page options", 0, kNoPreview},
        {9999, "Uninstallation", B | N, kNoPreview},
        {152, "End", B | F, kNoPreview},
    };
    auto pages = WizardPages();
    ASSERT_EQ(pages.size(), std::size(rows));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(rows[i].caption);
        EXPECT_EQ(pages[i].dialogId, rows[i].dialog);
        EXPECT_EQ(LoadString(pages[i].captionId), rows[i].caption);
        EXPECT_EQ(pages[i].buttons, rows[i].buttons);
        EXPECT_EQ(pages[i].previewPage, rows[i].preview);
        EXPECT_EQ(FindWizardPage(rows[i].dialog), &pages[i]);
    }
    EXPECT_EQ(FindWizardPage(131), nullptr);
}

TEST(WizardPages, AValidatingPageSendsOnlyChangedStatesAndActivationForgetsTheLast)
{
    CButtonMemory memory;
    EXPECT_TRUE(memory.Changed(B));
    EXPECT_FALSE(memory.Changed(B));
    EXPECT_TRUE(memory.Changed(B | N));
    EXPECT_FALSE(memory.Changed(B | N));
    memory.Forget();
    EXPECT_TRUE(memory.Changed(B | N));
}

TEST(WelcomePage, TheStopBoxClearsTheUseFlagAndLeavesFinishAlone)
{
    struct Case {
        bool checked;
        int useWizard;
        unsigned buttons;
    };
    const Case cases[] = {{true, 0, F}, {false, 1, N}, {true, 0, F}};
    WizardAnswers answers;
    EXPECT_EQ(answers.useWizard, 1);
    for (const Case& c : cases) {
        EXPECT_EQ(OnStopUsingWizard(answers, c.checked), c.buttons);
        EXPECT_EQ(answers.useWizard, c.useWizard);
    }
}

TEST(DirectoryPage, ValidationStoresWithATrailingSeparatorAndEntersTheDirectory)
{
    struct Case {
        const char* text;
        unsigned buttons;
        const char* stored;   // m_strSourceDir afterwards
        const char* current;  // the current directory afterwards
    };
    const Case cases[] = {
        {"", B, "", ""},                                  // nothing stored
        {"/src/product", B | N, "/src/product/", "/src/product/"},
        {"/src/product/", B | N, "/src/product/", "/src/product/"},
        {"/src/missing", B, "/src/missing/", "/src/product/"},  // stored, Next off, no message
        {"", B, "/src/missing/", "/src/product/"},
    };
    FakeFiles files;
    files.directories = {"/src/product/"};
    WizardAnswers answers;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ValidateSourceDirectory(answers, c.text, files), c.buttons);
        EXPECT_EQ(answers.data.m_strSourceDir, c.stored);
        EXPECT_EQ(files.current, c.current);
    }
}

TEST(DirectoryPage, ARealDirectoryBecomesTheCurrentDirectoryAtOnce)
{
    TempDir dir;
    WizardAnswers answers;
    std::string typed = dir.Path().substr(0, dir.Path().size() - 1);
    EXPECT_EQ(ValidateSourceDirectory(answers, typed, HostWizardFiles()), B | N);
    EXPECT_EQ(answers.data.m_strSourceDir, dir.Path());
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(cwd) + "/", dir.Path());
    EXPECT_EQ(ValidateSourceDirectory(answers, dir / "none", HostWizardFiles()), B);
}

TEST(DirectoryPage, TheFolderChooserStartsWithoutTrailingSeparators)
{
    EXPECT_EQ(FolderChooserStart("/src/product//"), "/src/product");
    EXPECT_EQ(FolderChooserStart(""), "");
}

TEST(TitlePage, LanguagesAreTheTextFilesAndEnglishOnceSorted)
{
    struct Case {
        std::vector<DirEntry> entries;
        std::vector<std::string> languages;
    };
    const Case cases[] = {
        {{}, {"English"}},
        {{{"French.txt", false}, {"German.TXT", false}, {"notes.md", false}, {"Dutch.txt", true}, {".txt", false}},
         {"English", "French", "German"}},
        {{{"english.txt", false}, {"Spanish.txt", false}, {"ENGLISH.txt", false}}, {"English", "Spanish"}},
        {{{"zulu.txt", false}, {"Afrikaans.txt", false}}, {"Afrikaans", "English", "zulu"}},
    };
    for (const Case& c : cases) EXPECT_EQ(LanguageList(c.entries), c.languages);
}

TEST(TitlePage, ListLanguagesReadsTheTemplatesFolder)
{
    TempDir templ;
    templ.Write("French.txt", "");
    templ.Write("English.txt", "");
    templ.Write("sub/Italian.txt", "");
    EXPECT_EQ(ListLanguages(templ.Path()), (std::vector<std::string>{"English", "French"}));
}

TEST(TitlePage, ChoosingALanguageResetsTheTextsAndImportsItsFile)
{
    TempDir templ;
    CData french;
    french.m_texts[0][1] = "Bienvenue dans #title.";
    french.ExportTexts(templ / "French.txt");
    CData english;
    english.m_texts[0][1] = "Welcome from the template file.";
    english.ExportTexts(templ / "English.txt");

    WizardAnswers answers;
    const std::string defaultText = answers.data.m_texts[0][1];
    struct Case {
        const char* language;
        std::string text;
    };
    const Case cases[] = {
        {"French", "Bienvenue dans #title."},
        {"", defaultText},            // nothing selected: defaults only
        {"German", defaultText},      // no file: defaults
        {"English", "Welcome from the template file."},  // English.txt imported after the reset
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        answers.data.m_texts[2][0] = "edited";
        ChooseLanguage(answers, c.language, templ.Path(), HostWizardFiles());
        EXPECT_EQ(answers.data.m_texts[0][1], c.text);
        EXPECT_NE(answers.data.m_texts[2][0], "edited");
    }
}

TEST(TitlePage, TheBackgroundTitleFollowsTheTitleUntilEditedByHand)
{
    WizardAnswers answers;
    EXPECT_EQ(answers.data.m_strTitle, "MyProduct");
    EXPECT_TRUE(CommitTitle(answers, "Gadget"));
    EXPECT_EQ(answers.data.m_strBackgroundTitle, "Gadget");
    EXPECT_FALSE(CommitBackgroundTitle(answers, "Gadget"));  // unchanged: not edited
    EXPECT_EQ(answers.titleEdited, 0);
    EXPECT_TRUE(CommitBackgroundTitle(answers, "Gadget 2000"));
    EXPECT_EQ(answers.titleEdited, 1);
    EXPECT_FALSE(CommitTitle(answers, "Gizmo"));
    EXPECT_EQ(answers.data.m_strTitle, "Gizmo");
    EXPECT_EQ(answers.data.m_strBackgroundTitle, "Gadget 2000");
}

TEST(ShellPage, AFileNeedsAnIconNameAndMustOpen)
{
    struct Case {
        const char* file;
        const char* icon;
        unsigned buttons;
    };
    const Case cases[] = {
        {"", "", B | N},
        {"", "Gadget", B | N},
        {"app.exe", "", B},
        {"app.exe", "Gadget", B | N},
        {"missing.exe", "Gadget", B},
        {"/src/product/app.exe", "Gadget", B | N},
    };
    FakeFiles files;
    files.readable = {"app.exe", "/src/product/app.exe"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + "|" + c.icon);
        EXPECT_EQ(ShellButtons(c.file, c.icon, files), c.buttons);
    }
}

TEST(ShellPage, RealFilesOpenRelativeToTheCurrentDirectoryAndFoldersDoNot)
{
    TempDir dir;
    dir.Write("app.exe", "MZ");
    dir.Write("sub/x", "");
    WizardAnswers answers;
    ASSERT_EQ(ValidateSourceDirectory(answers, dir.Path(), HostWizardFiles()), B | N);
    EXPECT_EQ(ShellButtons("app.exe", "App", HostWizardFiles()), B | N);
    EXPECT_EQ(ShellButtons("sub", "App", HostWizardFiles()), B);
}

TEST(InformationPage, PreviewNeedsTextOtherThanBlanksAndTheTextIsStoredAsTyped)
{
    struct Case {
        const char* text;
        bool preview;
    };
    const Case cases[] = {{"", false}, {"   ", false}, {"\n\t \r\n", false}, {" Licence ", true}, {"x", true}};
    for (const Case& c : cases) EXPECT_EQ(InformationPreviewEnabled(c.text), c.preview) << c.text;

    WizardAnswers answers;
    CommitInformation(answers, "  Read me first.\n");
    EXPECT_EQ(answers.data.m_texts[1][1], "  Read me first.\n");
    EXPECT_EQ(InformationText(answers.data), "  Read me first.\n");
}

TEST(WindowPage, TheModeDecidesTheTitleEditAndThePatternControls)
{
    struct Case {
        int mode;
        bool titleEnabled;
        bool patternShown;
    };
    const Case cases[] = {{1, true, true}, {0, false, false}, {1, true, true}};
    WizardAnswers answers;
    EXPECT_EQ(answers.data.m_nWindowMode, 1);
    for (const Case& c : cases) {
        SetWindowMode(answers, c.mode);
        EXPECT_EQ(answers.data.m_nWindowMode, c.mode);
        EXPECT_EQ(BackgroundTitleEnabled(answers.data), c.titleEnabled);
        EXPECT_EQ(PatternControlsShown(answers.data), c.patternShown);
    }
}

TEST(InstallDirPage, TheRegistryDialogValuesGoBackAsTheyAre)
{
    CData data;
    EXPECT_EQ(RegistryRootNames(),
              (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}));
    SetRegistryKey(data, {2, "Software\\Quorvix\\Gadget", "InstallDir"});
    EXPECT_EQ(data.m_nRegRoot, 2);
    EXPECT_EQ(data.m_strRegKey, "Software\\Quorvix\\Gadget");
    EXPECT_EQ(data.m_strRegValue, "InstallDir");
    RegistryKeyValues back = GetRegistryKey(data);
    EXPECT_EQ(back.root, 2);
    EXPECT_EQ(back.key, "Software\\Quorvix\\Gadget");
    EXPECT_EQ(back.subkey, "InstallDir");
}

TEST(InstallDirPage, AnIniFileNameWithoutADotGetsDotIni)
{
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {{"gadget", "gadget.ini"}, {"gadget.cfg", "gadget.cfg"}, {"", ""}, {"my.dir\\setup", "my.dir\\setup"}};
    for (const Case& c : cases) {
        CData data;
        SetIniFile(data, {c.typed, "Paths", "Dir"});
        EXPECT_EQ(data.m_strIniFile, c.stored);
        EXPECT_EQ(data.m_strIniSection, "Paths");
        EXPECT_EQ(data.m_strIniEntry, "Dir");
        EXPECT_EQ(GetIniFile(data).file, c.stored);
    }
}

TEST(EndOptionsPage, UnreadableFilesTakeNextAway)
{
    struct Case {
        const char* view;
        const char* launch;
        unsigned buttons;
    };
    const Case cases[] = {
        {"", "", B | N},
        {"readme.txt", "", B | N},
        {"missing.txt", "", B},
        {"", "app.exe", B | N},
        {"", "missing.exe", B},
        {"readme.txt", "missing.exe", B},
        {"missing.txt", "app.exe", B},
        {"readme.txt", "app.exe", B | N},
    };
    FakeFiles files;
    files.readable = {"readme.txt", "app.exe"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.view) + "|" + c.launch);
        EXPECT_EQ(EndOptionsButtons(c.view, c.launch, files), c.buttons);
    }
}

TEST(EndPage, TheDoNotBuildBoxDecidesThePendingBuild)
{
    WizardAnswers answers;
    OnFinishEndPage(answers, false);
    EXPECT_EQ(answers.data.m_bBuildPending, 1);
    OnFinishEndPage(answers, true);
    EXPECT_EQ(answers.data.m_bBuildPending, 0);
}

TEST(BrowseButtons, StartInTheSourceDirectoryWithThePattern)
{
    BrowseStart start = BrowseStartName("/src/product/", "*.exe");
    EXPECT_EQ(start.directory, "/src/product/");
    EXPECT_EQ(start.name, "*.exe");
}

TEST(NewDocument, TheWizardRunsWhileThePreferenceIsOnAndTheWindowIsUp)
{
    struct Case {
        std::optional<int> preference;  // none: the profile has no value (default "1")
        bool window;
        bool runs;
    };
    const Case cases[] = {{std::nullopt, true, true}, {std::nullopt, false, false}, {1, true, true},
                          {0, true, false},           {5, true, true}};
    for (const Case& c : cases) {
        FakeProfile profile;
        if (c.preference) profile.WriteInt("General", "wizard", *c.preference);
        EXPECT_EQ(ShouldRunWizard(profile, c.window), c.runs);
    }
}

WizardAnswers FilledAnswers()
{
    WizardAnswers answers;
    CData& data = answers.data;
    data.m_strSourceDir = "/src/product/";
    data.m_bIncludeSubdirs = 0;
    data.m_strTitle = "Gadget";
    data.m_strBackgroundTitle = "Gadget 2000";
    data.m_nWindowMode = 0;
    data.m_strWizardBitmap = "/pics/side.bmp";
    data.m_strDefaultDir = "#Program Files#\\Gadget";
    data.m_nRegRoot = 2;
    data.m_strRegKey = "Software\\Gadget";
    data.m_texts[1][1] = "Licence";
    data.m_bBuildPending = 1;
    answers.iconFile = "/src/product/gadget.exe";
    answers.iconName = "Gadget";
    answers.desktopShortcut = 1;
    answers.viewFile = "readme.txt";
    answers.runFile = "/src/product/gadget.exe";
    return answers;
}

TEST(Finish, CopiesTheProjectAndSetsTheHandOverFields)
{
    FakeProfile profile;
    WizardAnswers answers = FilledAnswers();
    CData project;
    project.m_strOutputFile = "/old/Setup.exe";  // the private record's value wins
    ASSERT_TRUE(ApplyWizardResult(project, answers, WizardEnd::Finish, profile));
    EXPECT_EQ(project.m_strSourceDir, "/src/product/");
    EXPECT_EQ(project.m_bIncludeSubdirs, 0);
    EXPECT_EQ(project.m_strTitle, "Gadget");
    EXPECT_EQ(project.m_strBackgroundTitle, "Gadget 2000");
    EXPECT_EQ(project.m_nWindowMode, 0);
    EXPECT_EQ(project.m_strWizardBitmap, "/pics/side.bmp");
    EXPECT_EQ(project.m_strDefaultDir, "#Program Files#\\Gadget");
    EXPECT_EQ(project.m_nRegRoot, 2);
    EXPECT_EQ(project.m_strRegKey, "Software\\Gadget");
    EXPECT_EQ(project.m_texts[1][1], "Licence");
    EXPECT_EQ(project.m_strOutputFile, "");
    EXPECT_EQ(project.m_bBuildPending, 1);
    EXPECT_EQ(project.m_bApplyWizardResults, 1);
    EXPECT_EQ(project.m_strWizIconFile, "/src/product/gadget.exe");
    EXPECT_EQ(project.m_strWizIconName, "Gadget");
    EXPECT_EQ(project.m_bWizDesktopShortcut, 1);
    EXPECT_EQ(project.m_strWizViewFile, "/src/product/readme.txt");  // relative: in the source directory
    EXPECT_EQ(project.m_strWizRunFile, "/src/product/gadget.exe");
    EXPECT_EQ(project.m_strUninstallerName, "Uninstal.exe");
    EXPECT_EQ(project.m_strUninstallIconFolder, "Gadget");
    EXPECT_EQ(project.m_strUninstallIconName, "Uninstall Gadget");
    EXPECT_TRUE(profile.values.empty());
}

TEST(Finish, HowTheWizardEndedDecidesWhatHappens)
{
    struct Case {
        const char* name;
        WizardEnd end;
        int useWizard;
        int createUninstaller;
        int buildPending;
        bool filled;
        std::optional<int> preference;
    };
    const Case cases[] = {
        {"finish", WizardEnd::Finish, 1, 1, 1, true, std::nullopt},
        {"finish without uninstaller", WizardEnd::Finish, 1, 0, 1, true, std::nullopt},
        {"finish, do not build", WizardEnd::Finish, 1, 1, 0, true, std::nullopt},
        {"finish from the Welcome box", WizardEnd::Finish, 0, 1, 1, false, 0},
        {"cancel", WizardEnd::Cancel, 1, 1, 1, false, std::nullopt},
        {"cancel after checking the Welcome box", WizardEnd::Cancel, 0, 1, 1, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeProfile profile;
        WizardAnswers answers = FilledAnswers();
        answers.useWizard = c.useWizard;
        answers.createUninstaller = c.createUninstaller;
        answers.data.m_bBuildPending = c.buildPending;
        CData project;
        const CData fresh;
        EXPECT_EQ(ApplyWizardResult(project, answers, c.end, profile), c.filled);
        if (c.filled) {
            EXPECT_EQ(project.m_bApplyWizardResults, 1);
            EXPECT_EQ(project.m_bBuildPending, c.buildPending);
            EXPECT_EQ(project.m_strUninstallerName, c.createUninstaller ? "Uninstal.exe" : "");
            EXPECT_EQ(project.m_strUninstallIconName, c.createUninstaller ? "Uninstall Gadget" : "");
        } else {
            EXPECT_TRUE(project == fresh);  // the default project, untouched
        }
        if (c.preference) {
            EXPECT_EQ(profile.values["General/wizard"], *c.preference);
        } else {
            EXPECT_TRUE(profile.values.empty());
        }
    }
}

}  // namespace
}  // namespace sw::test
