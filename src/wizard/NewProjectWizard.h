#pragma once
// The new-project wizard: a wxWizard of eleven pages that edits a private project and,
// on Finish, hands the answers to the document's project (WizardRules.h decides what each
// control does; these classes bind the widgets to it).
#include <functional>
#include <vector>

#include <wx/bitmap.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/wizard.h>

#include "wizard/WizardRules.h"

namespace sw {

// What the wizard needs from the window that runs it.
struct NewProjectWizardHost {
    // Writes the wizard test program for the project and starts it at the page given.
    std::function<void(const CData& data, int startPage)> preview;
    // Context help for a page or dialog number.
    std::function<void(int helpId)> help;
};

class CWizSheet;

// Base of every page: its dialog number, the sheet's private answers, the page picture at
// the left and the column of controls beside it.
class CWizPage : public wxWizardPage {
public:
    CWizPage(CWizSheet* sheet, int dialogId);

    int GetDialogId() const { return m_nDialogId; }
    wxWizardPage* GetPrev() const override { return m_pPrev; }
    wxWizardPage* GetNext() const override { return m_pNext; }
    void SetNeighbours(wxWizardPage* prev, wxWizardPage* next);

    // On activation: load the controls and set the buttons.
    virtual void OnActivate();
    // Stores what the page's edits hold (when the user leaves the page from an edit).
    virtual void Commit() {}

    wxButton* GetPreviewButton() { return m_pPreview; }
    // Where the page picture is drawn, in page coordinates.
    wxRect GetPictureRect() const;

protected:
    WizardAnswers& Answers();
    CData& Data() { return Answers().data; }
    IWizardFiles& Files();
    void SetButtons(unsigned buttons);
    // For the pages that validate: sends the state only when it changed.
    void SendButtons(unsigned buttons);
    void ForgetButtons() { m_buttonMemory.Forget(); }

    wxStaticText* AddPrompt(int textId);
    wxTextCtrl* AddEdit(long style = 0);
    // An edit with a browse button beside it.
    wxTextCtrl* AddEditWithButton(int buttonTextId, wxButton** button);
    wxCheckBox* AddCheckBox(int textId);
    void AddPreviewButton();
    virtual void PaintPage(wxDC&) {}

    CWizSheet* m_pSheet;
    wxBoxSizer* m_pColumn;

private:
    void OnPaint(wxPaintEvent& event);
    void OnPreview();

    int m_nDialogId;
    wxWizardPage* m_pPrev = nullptr;
    wxWizardPage* m_pNext = nullptr;
    wxSizerItem* m_pPicture = nullptr;
    wxButton* m_pPreview = nullptr;
    CButtonMemory m_buttonMemory;
};

class CWizWelcomePage : public CWizPage {
public:
    explicit CWizWelcomePage(CWizSheet* sheet);
    void OnActivate() override;
    // Finish alone while the box is checked.
    wxWizardPage* GetNext() const override;
    void OnStopClicked();
    wxCheckBox* GetStopBox() { return m_pStop; }

private:
    wxCheckBox* m_pStop;
};

class CWizDirectoryPage : public CWizPage {
public:
    explicit CWizDirectoryPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override { CheckButtons(); }
    void CheckButtons();
    wxTextCtrl* GetEdit() { return m_pEdit; }
    wxCheckBox* GetSubdirsBox() { return m_pSubdirs; }

private:
    void OnBrowse();
    wxTextCtrl* m_pEdit;
    wxCheckBox* m_pSubdirs;
};

class CWizTitlePage : public CWizPage {
public:
    explicit CWizTitlePage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    void OnLanguage();
    wxListBox* GetLanguageList() { return m_pLanguages; }
    wxTextCtrl* GetTitleEdit() { return m_pTitle; }

private:
    wxListBox* m_pLanguages;
    wxTextCtrl* m_pTitle;
};

class CWizShellPage : public CWizPage {
public:
    explicit CWizShellPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    void CheckButtons();
    wxTextCtrl* GetFileEdit() { return m_pFile; }
    wxTextCtrl* GetIconNameEdit() { return m_pIconName; }
    wxCheckBox* GetShortcutBox() { return m_pShortcut; }

private:
    void OnBrowse();
    wxTextCtrl* m_pFile;
    wxTextCtrl* m_pIconName;
    wxCheckBox* m_pShortcut;
};

class CWizInformationPage : public CWizPage {
public:
    explicit CWizInformationPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    wxTextCtrl* GetEdit() { return m_pEdit; }

private:
    void UpdatePreview();
    wxTextCtrl* m_pEdit;
};

class CWizWindowPage : public CWizPage {
public:
    explicit CWizWindowPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    void OnMode(int mode);
    // The Title page stored a title that the background title follows.
    void RefreshTitle();
    wxRadioButton* GetModeButton(int mode) { return mode == 0 ? m_pSmall : m_pFull; }
    wxTextCtrl* GetTitleEdit() { return m_pTitle; }
    wxRect GetSketchRect(int mode) const;

protected:
    void PaintPage(wxDC& dc) override;

private:
    wxRadioButton* m_pSmall;
    wxRadioButton* m_pFull;
    wxSizerItem* m_pSketches[2];
    wxTextCtrl* m_pTitle;
};

class CWizBitmapsPage : public CWizPage {
public:
    explicit CWizBitmapsPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    wxTextCtrl* GetWizardBitmapEdit() { return m_pWizardBitmap; }
    wxTextCtrl* GetPatternEdit() { return m_pPattern; }
    wxStaticText* GetPatternText() { return m_pPatternText; }
    wxButton* GetPatternButton() { return m_pPatternBrowse; }

private:
    void Browse(wxTextCtrl* edit);
    wxTextCtrl* m_pWizardBitmap;
    wxStaticText* m_pPatternText;
    wxTextCtrl* m_pPattern;
    wxButton* m_pPatternBrowse;
};

class CWizInstallDirPage : public CWizPage {
public:
    explicit CWizInstallDirPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    wxTextCtrl* GetEdit() { return m_pEdit; }
    void OnRegistry();
    void OnIniFile();

private:
    wxTextCtrl* m_pEdit;
};

class CWizEndOptionsPage : public CWizPage {
public:
    explicit CWizEndOptionsPage(CWizSheet* sheet);
    void OnActivate() override;
    void Commit() override;
    void CheckButtons();
    wxTextCtrl* GetViewEdit() { return m_pView; }
    wxTextCtrl* GetLaunchEdit() { return m_pLaunch; }

private:
    void Browse(wxTextCtrl* edit, const std::string& pattern, int filterId);
    wxTextCtrl* m_pView;
    wxTextCtrl* m_pLaunch;
};

class CWizUninstallPage : public CWizPage {
public:
    explicit CWizUninstallPage(CWizSheet* sheet);
    wxCheckBox* GetBox() { return m_pBox; }

private:
    wxCheckBox* m_pBox;
};

class CWizEndPage : public CWizPage {
public:
    explicit CWizEndPage(CWizSheet* sheet);
    wxCheckBox* GetDoNotBuildBox() { return m_pBox; }

private:
    wxCheckBox* m_pBox;
};

// The sheet: the private answers and the eleven pages, for one modal run.
class CWizSheet : public wxWizard {
public:
    CWizSheet(wxWindow* owner, const NewProjectWizardHost& host, IWizardFiles& files = HostWizardFiles());

    // Runs modally from the first page; returns how it ended.
    WizardEnd Run();

    WizardAnswers& GetAnswers() { return m_answers; }
    IWizardFiles& GetFiles() { return m_files; }
    const NewProjectWizardHost& GetHost() const { return m_host; }
    // Back, Next and Finish as a page sets them.
    void SetWizardButtons(unsigned buttons);
    unsigned GetWizardButtons() const { return m_nButtons; }
    // Presses Back, Next or Finish as a click does (GUI tests).
    void PressBack();
    void PressNext();

    std::size_t GetPageCount() const { return m_pages.size(); }
    CWizPage* GetPage(std::size_t index) { return m_pages[index]; }
    CWizPage* GetActivePage() { return static_cast<CWizPage*>(GetCurrentPage()); }
    template <typename Page>
    Page* Find()
    {
        for (CWizPage* page : m_pages)
            if (auto* found = dynamic_cast<Page*>(page)) return found;
        return nullptr;
    }

private:
    const NewProjectWizardHost& m_host;
    IWizardFiles& m_files;
    WizardAnswers m_answers;
    std::vector<CWizPage*> m_pages;
    unsigned m_nButtons = 0;
};

// The document's New: while the "wizard" preference is on and the owner is up,
// runs the wizard on a fresh private project and applies how it ended. True when the
// answers went into `project`, which is then to be marked modified.
bool RunNewProjectWizard(wxWindow* owner, CData& project, IProfile& profile, const NewProjectWizardHost& host);

}  // namespace sw
