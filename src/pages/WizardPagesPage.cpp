#include "pages/WizardPagesPage.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include "pages/FieldStore.h"
#include "pages/TextsPageRules.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kWizardTextsHelpId = 132;
constexpr int kGap = 8;
}  // namespace

CWizardPagesPage::CWizardPagesPage(wxWindow* parent, IPageHost& host) : CPatchPage(parent, host, kWizardTextsHelpId)
{
    m_pGroup = new wxChoice(this, wxID_ANY);
    for (int group = 0; group < kWizardPageGroupCount; ++group) m_pGroup->Append(Wx(TextGroupName(group)));
    m_pGroup->SetSelection(0);
    m_pTitle = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    m_pPreview = new wxButton(this, wxID_ANY, Wx(LoadString(IDS_PREVIEW)));
    m_pTexts = new CWizardTextList(this, host);

    // Labels left of their fields; the combo and the title widen with the page, Preview
    // keeps to the right edge.
    auto* fields = new wxFlexGridSizer(2, wxSize(kGap, kGap / 2));
    fields->AddGrowableCol(1);
    fields->Add(new wxStaticText(this, wxID_ANY, Wx(LoadString(IDS_TEXTS_PAGE_LABEL))), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(m_pGroup, 1, wxEXPAND);
    fields->Add(new wxStaticText(this, wxID_ANY, Wx(LoadString(IDS_TEXTS_TITLE_LABEL))), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(m_pTitle, 1, wxEXPAND);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(fields, 1, wxEXPAND | wxRIGHT, kGap);
    top->Add(m_pPreview, 0, wxALIGN_TOP);

    auto* page = new wxBoxSizer(wxVERTICAL);
    page->Add(top, 0, wxEXPAND | wxALL, kGap);
    page->Add(m_pTexts, 1, wxEXPAND | wxLEFT | wxRIGHT, kGap);
    page->Add(m_pTexts->GetUsageGroup(), 0, wxEXPAND | wxALL, kGap);
    SetSizer(page);

    m_pGroup->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { SelectGroup(m_pGroup->GetSelection()); });
    m_pTitle->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        StoreTitle();
    });
    m_pTitle->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { StoreTitle(); });
    m_pPreview->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Preview(); });
}

void CWizardPagesPage::UpdateFromProject()
{
    CData* data = GetData();
    if (!data) return;
    m_pTitle->ChangeValue(Wx(data->m_strTitle));
    int group = m_pGroup->GetSelection();
    m_pPreview->Enable(HasPreview(group));
    m_pTexts->ShowGroup(group);
}

void CWizardPagesPage::SelectGroup(int group)
{
    if (group < 0 || group >= kWizardPageGroupCount) return;
    m_pGroup->SetSelection(group);
    UpdateFromProject();
}

void CWizardPagesPage::StoreTitle()
{
    CData* data = GetData();
    if (data && StoreIfDifferent(data->m_strTitle, Std(m_pTitle->GetValue()))) SetModifiedFlag();
}

void CWizardPagesPage::Preview()
{
    int group = m_pGroup->GetSelection();
    if (!GetData() || !HasPreview(group)) return;
    StoreTitle();
    m_host.PreviewWizard(group);
}

}  // namespace sw
