#pragma once
// The main window: menu, accelerators, toolbar, status bar with its indicators, the main
// sheet, the document's commands, the saved placement and the title.
#include <functional>
#include <memory>

#include <wx/docview.h>
#include <wx/frame.h>

#include "app/Document.h"
#include "app/GuiBuildHost.h"
#include "app/WxProfile.h"
#include "pages/InstallSheet.h"

namespace sw {

class CHelpLauncher;
class CToolBarEx;

class CMainFrame : public wxFrame, public IPageHost {
public:
    CMainFrame(wxConfigBase& config, CHelpLauncher& help, std::string tempFile);
    ~CMainFrame() override;

    // New without asking (the first New at start-up), and the commands.
    void NewDocument();
    void OnFileNew();
    // Opens a settings file as File Open does. Returns false when it could not be read.
    bool OpenDocumentFile(const std::string& path);
    bool SaveDocument(bool askForName);
    // Asks to save a modified project: false when the user cancelled or the save failed.
    bool SaveModified();
    void TestWizard();
    // What Export and Import Wizard Texts do once the file is chosen.
    bool ExportTextsTo(const std::string& path);
    bool ImportTextsFrom(const std::string& path);
    void BuildInstallProgram();

    CKitforgeDoc& GetDocument() { return m_doc; }
    CInstallSheet* GetSheet() { return m_pSheet; }
    CGuiBuildHost& GetGuiBuildHost() { return m_buildHost; }
    wxFileHistory& GetFileHistory() { return m_fileHistory; }
    bool IsBuilding() const;
    // Set when the command line asked for a build: the exit status reports its outcome.
    int m_nExitCode = 0;

    // IPageHost
    CData* GetData() override { return m_doc.GetData(); }
    void SetModifiedFlag() override { m_doc.SetModifiedFlag(true); }
    IScanHost& GetScanHost() override { return m_buildHost; }
    IBuildHost& GetBuildHost() override { return m_buildHost; }
    IProfile& GetProfile() override { return m_profile; }
    void LockForBuild(bool lock) override;
    void PostExit(bool built) override;
    // Called with the command-line build's exit status before the window closes.
    std::function<void(int)> m_onExitStatus;
    void ShowHelp(int helpId) override;
    void PreviewWizard(int startPage) override;

    void UpdateTitle();

private:
    void CreateMenus();
    void CreateToolBarButtons();
    void CreateStatusBarPanes();
    void RestorePlacement();
    void SavePlacement();
    void AddRecentFile(const std::string& path);
    void AfterProjectChanged();

    void OnOpen();
    void OnExportTexts();
    void OnImportTexts();
    void OnPreferences();
    void OnAbout();
    void OnClose(wxCloseEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxConfigBase& m_config;
    CHelpLauncher& m_help;
    std::string m_strTempFile;
    CWxProfile m_profile;
    CKitforgeDoc m_doc;
    CGuiBuildHost m_buildHost;
    wxFileHistory m_fileHistory;
    CInstallSheet* m_pSheet = nullptr;
    CToolBarEx* m_pToolBar = nullptr;
};

}  // namespace sw
