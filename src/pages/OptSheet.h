#pragma once
// The file options sheet inside the Files page: four tabs (Start menu, Shortcut,
// View / Run, Advanced) that show the options of the selected rows and write every
// change at once into the file items.
#include <array>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

#include "model/Data.h"
#include "pages/FileOptionRules.h"

namespace sw {

// What the sheet needs from the Files page.
class IFileSelection {
public:
    virtual ~IFileSelection() = default;
    virtual CData* GetData() = 0;
    // Indexes into the project's file list of the selected rows.
    virtual std::vector<int> GetSelectedItems() = 0;
    virtual void RefreshRow(int item) = 0;
    virtual void SetModifiedFlag() = 0;
};

class COptPage;

class COptSheet : public wxNotebook {
public:
    COptSheet(wxWindow* parent, IFileSelection& selection);
    // Fills the active page from the current selection.
    void RefreshActivePage();

private:
    std::array<COptPage*, 4> m_pages{};
};

// One tab of the sheet; fills itself from the selection when it becomes active.
class COptPage : public wxPanel {
public:
    COptPage(wxWindow* parent, IFileSelection& selection) : wxPanel(parent), m_selection(selection) {}
    virtual void Fill() = 0;

protected:
    // Rows changed by an edit: refresh them and mark the project modified.
    void Changed(const std::vector<int>& items);

    IFileSelection& m_selection;
    bool m_bUpdating = false;  // set while the page fills its own controls
};

class CFileOptIcon : public COptPage {
public:
    CFileOptIcon(wxWindow* parent, IFileSelection& selection);
    void Fill() override;
    wxTextCtrl* FolderEdit() { return m_pFolder; }

private:
    void OnText(FileText field, wxTextCtrl* edit);
    void OnFolderText();
    void OnMacroButton();
    wxTextCtrl *m_pFolder, *m_pName, *m_pArgs, *m_pIconNumber;
    wxButton* m_pMacro;
};

class CFileOptShortCut : public COptPage {
public:
    CFileOptShortCut(wxWindow* parent, IFileSelection& selection);
    void Fill() override;

private:
    wxTextCtrl *m_pName, *m_pArgs;
};

class CFileOptEndPage : public COptPage {
public:
    CFileOptEndPage(wxWindow* parent, IFileSelection& selection);
    void Fill() override;
    wxCheckBox* Box(int action) { return action == 1 ? m_pView : m_pRun; }
    // What a click on the box of the action (1 View, 2 Run) does, after the box changed.
    void OnClick(int action);

private:
    wxCheckBox *m_pView, *m_pRun;
};

class CFileOptAdv : public COptPage {
public:
    CFileOptAdv(wxWindow* parent, IFileSelection& selection);
    void Fill() override;
    wxCheckBox* Box(AdvancedBox box) { return m_boxes[static_cast<std::size_t>(box)]; }
    // What a click on the box does, after the box changed.
    void OnClick(AdvancedBox box);

private:
    std::array<wxCheckBox*, BOX_COUNT> m_boxes{};
};

}  // namespace sw
