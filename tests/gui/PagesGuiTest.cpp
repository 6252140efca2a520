// The Wizard Texts, Uninstaller and Wizard Options pages with the example project: texts
// edited in place and in their dialog, Default, Preview, registry keys added and removed,
// the window mode and the controls it enables, and every field back after save and open.
#include <gtest/gtest.h>

#include <wx/choice.h>
#include <wx/radiobut.h>

#include "GuiTestSupport.h"
#include "GuiWindowHelpers.h"
#include "build/ProgramReader.h"
#include "core/InstallFormat.h"
#include "model/WizardTexts.h"
#include "pages/EditTextDialog.h"
#include "pages/OptionsPage.h"
#include "pages/TextsPageRules.h"
#include "pages/UninstPage.h"
#include "pages/WizardPagesPage.h"
#include "platform/StringTable.h"
#include "support/TempDir.h"

namespace sw::test {
namespace {

constexpr int kTextsTab = 1;
constexpr int kOptionsTab = 2;
constexpr int kUninstallerTab = 3;

CData& Data() { return *Frame().GetData(); }
CWizardPagesPage& TextsPage() { return *Sheet().GetWizardPagesPage(); }
CWizardTextList& Texts() { return *TextsPage().GetTextList(); }
CUninstPage& UninstPage() { return *Sheet().GetUninstPage(); }
COptionsPage& OptionsPage() { return *Sheet().GetOptionsPage(); }
bool IsModified() { return Frame().GetDocument().IsModified(); }

void Send(wxWindow* window, wxEvent& event)
{
    event.SetEventObject(window);
    event.SetId(window->GetId());
    window->GetEventHandler()->ProcessEvent(event);
    Pump();
}

// The focus leaves an edit, as when the user clicks elsewhere.
void Leave(wxWindow* edit)
{
    wxFocusEvent lost(wxEVT_KILL_FOCUS);
    Send(edit, lost);
}

void Type(wxTextCtrl* edit, const std::string& text)
{
    edit->ChangeValue(Wx(text));
    Leave(edit);
}

void Click(wxWindow* control, wxEventType type, bool checked = true)
{
    wxCommandEvent click(type);
    click.SetInt(checked ? 1 : 0);
    Send(control, click);
}

// Ends the in-place edit running in the list with a key, as typed into its editor.
void EndEdit(wxTextCtrl* editor, const std::string& text, int key = WXK_RETURN)
{
    ASSERT_NE(editor, nullptr);
    editor->ChangeValue(Wx(text));
    wxKeyEvent press(wxEVT_CHAR);
    press.m_keyCode = key;
    press.SetEventObject(editor);
    editor->GetEventHandler()->ProcessEvent(press);
    Pump();
}

void SelectRows(wxListCtrl& list, std::initializer_list<long> rows)
{
    for (long row = 0; row < list.GetItemCount(); ++row) list.SetItemState(row, 0, wxLIST_STATE_SELECTED);
    for (long row : rows) list.SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    Pump();
}

std::vector<std::string> Labels(wxListCtrl& list)
{
    std::vector<std::string> labels;
    for (int row = 0; row < list.GetItemCount(); ++row) labels.push_back(Cell(list, row));
    return labels;
}

// Runs the wizard test without wine, so that it stops once the test program is written,
// and returns the page it starts on.
std::string PreviewStartPage(wxButton* preview)
{
    std::string path = Env("PATH");
    wxSetEnv("PATH", "/nonexistent");
    g_messages.clear();
    Click(preview, wxEVT_BUTTON);
    wxSetEnv("PATH", Wx(path));
    if (g_messages.size() != 1 || g_messages[0].first.find(LoadString(IDS_TEST_NO_WINE)) == std::string::npos)
        return "no wine message";
    const ProgramRecord* page = ReadInstallProgram(ReadFile(App().GetTempFile())).Find(REC_TEST_PAGE);
    return page ? page->raw : "no start page";
}

TEST(GuiPages, WizardTextsListTheTextsOfTheChosenGroup)
{
    ASSERT_TRUE(Frame().OpenDocumentFile(ExampleProject()));
    Sheet().SetSelection(kTextsTab);
    Pump();
    EXPECT_EQ(TextsPage().GetGroupCombo()->GetCount(), 8u);
    EXPECT_EQ(Std(TextsPage().GetTitleEdit()->GetValue()), Data().m_strTitle);
    EXPECT_EQ(Texts().GetItemCount(), 5);
    SelectRows(Texts(), {2});
    EXPECT_EQ(Std(Texts().GetUsageText()->GetLabel()).rfind("Second static text", 0), 0u);

    struct Case {
        int group;
        int rows;
        bool preview;
    };
    for (Case c : {Case{7, 7, false}, Case{6, 32, false}, Case{5, 8, true}, Case{0, 5, true}}) {
        TextsPage().GetGroupCombo()->SetSelection(c.group);
        Click(TextsPage().GetGroupCombo(), wxEVT_CHOICE);
        EXPECT_EQ(Texts().GetItemCount(), c.rows) << c.group;
        EXPECT_EQ(TextsPage().GetPreviewButton()->IsEnabled(), c.preview) << c.group;
        EXPECT_EQ(Std(Texts().GetUsageText()->GetLabel()), "") << c.group;
        EXPECT_EQ(Cell(Texts(), 0), TextRowLabel(Data().m_texts[static_cast<std::size_t>(c.group)][0]));
    }
    EXPECT_FALSE(IsModified());
}

TEST(GuiPages, TextsEditedInPlaceAreStoredWithTheirLineBreaks)
{
    struct Case {
        long row;
        const char* typed;
        int key;
        const char* label;
        const char* stored;
    };
    const std::string before = Data().m_texts[0][3];
    const Case cases[] = {
        {1, "Hello #title\\nand welcome", WXK_RETURN, "Hello #title\\nand welcome", "Hello #title\nand welcome"},
        {2, "   ", WXK_RETURN, "<None>", ""},
        {4, "<none>", WXK_RETURN, "<none>", ""},
        {3, "never stored", WXK_ESCAPE, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EndEdit(Texts().EditLabel(c.row), c.typed, c.key);
        EXPECT_EQ(Cell(Texts(), static_cast<int>(c.row)), c.label ? c.label : TextRowLabel(before)) << c.typed;
        EXPECT_EQ(Data().m_texts[0][static_cast<std::size_t>(c.row)], c.stored ? c.stored : before) << c.typed;
    }
    EXPECT_TRUE(IsModified());

    Type(TextsPage().GetTitleEdit(), "Acme Writer");
    EXPECT_EQ(Data().m_strTitle, "Acme Writer");
    SelectRows(Texts(), {1});
    Screenshot("page-wizard-texts");
}

TEST(GuiPages, TheInformationTextOpensItsDialogAndNeverAnInPlaceEdit)
{
    TextsPage().SelectGroup(1);
    SelectRows(Texts(), {1});
    EXPECT_EQ(Texts().EditLabel(1), nullptr);  // a slow second click is refused too
    g_dialogs.clear();
    g_modalAnswer = wxID_CANCEL;
    wxListEvent doubleClick(wxEVT_LIST_ITEM_ACTIVATED);
    doubleClick.m_itemIndex = 1;
    Send(&Texts(), doubleClick);
    ASSERT_EQ(g_dialogs.size(), 1u);
    EXPECT_EQ(g_dialogs[0].title, "Edit Text");
    EXPECT_EQ(Texts().GetEditControl(), nullptr);

    CEditTextDialog dialog(&Frame(), Frame(), "Terms:\n\n1. Use it.");
    EXPECT_EQ(Std(dialog.GetEdit()->GetValue()), "Terms:\n\n1. Use it.");
    dialog.Show();
    Screenshot("page-wizard-texts-edit-text", &dialog);
    dialog.Hide();

    // Any other row of the group is edited in place.
    SelectRows(Texts(), {0});
    Texts().EditSelected();
    EndEdit(Texts().GetEditControl(), "Licence");
    EXPECT_EQ(Data().m_texts[1][0], "Licence");
}

TEST(GuiPages, DefaultGivesTheSelectedTextsTheirDefaults)
{
    TextsPage().SelectGroup(0);
    SelectRows(Texts(), {1, 2});
    Texts().ResetSelected();
    EXPECT_EQ(Data().m_texts[0][1], GetDefaultText(0, 1));
    EXPECT_EQ(Data().m_texts[0][2], GetDefaultText(0, 2));
    EXPECT_EQ(Data().m_texts[0][4], "");  // not selected
    EXPECT_EQ(Cell(Texts(), 1), "Welcome to the #title Install program.");
}

TEST(GuiPages, PreviewStartsTheTestProgramOnThePageOfTheGroup)
{
    TextsPage().SelectGroup(3);
    EXPECT_EQ(PreviewStartPage(TextsPage().GetPreviewButton()), std::string("\x03\x00", 2));
    Sheet().SetSelection(kOptionsTab);
    Pump();
    EXPECT_EQ(PreviewStartPage(OptionsPage().GetPreviewButton()), std::string("\x02\x00", 2));
}

TEST(GuiPages, RegistryKeysAreAddedEditedAndRemovedInStep)
{
    Sheet().SetSelection(kUninstallerTab);
    Pump();
    wxListCtrl& keys = *UninstPage().GetKeyList();
    const std::vector<std::string> original = Data().m_regKeysToRemove;
    ASSERT_EQ(Labels(keys), original);

    UninstPage().AddKey();
    EndEdit(keys.GetEditControl(), "  HKEY_LOCAL_MACHINE\\Software\\Acme  ");
    UninstPage().AddKey();
    EndEdit(keys.GetEditControl(), "  ");  // blank: the added key goes again
    UninstPage().AddKey();
    EndEdit(keys.GetEditControl(), "ignored", WXK_ESCAPE);  // cancelled: no empty key is left
    for (const char* key : {"Software\\Third", "Software\\Fourth"}) {
        UninstPage().AddKey();
        EndEdit(keys.GetEditControl(), key);
    }
    std::vector<std::string> expected = original;
    for (const char* key : {"HKEY_LOCAL_MACHINE\\Software\\Acme", "Software\\Third", "Software\\Fourth"}) expected.push_back(key);
    EXPECT_EQ(Data().m_regKeysToRemove, expected);
    EXPECT_EQ(Labels(keys), expected);

    const long last = keys.GetItemCount() - 1;
    SelectRows(keys, {last - 2, last - 1});
    EXPECT_TRUE(UninstPage().GetRemoveButton()->IsEnabled());
    wxListEvent del(wxEVT_LIST_KEY_DOWN);
    del.m_code = WXK_DELETE;
    Send(&keys, del);
    expected.erase(expected.end() - 3, expected.end() - 1);
    EXPECT_EQ(Data().m_regKeysToRemove, expected);
    EXPECT_EQ(Labels(keys), expected);
    for (long row = 0; row < keys.GetItemCount(); ++row) EXPECT_EQ(keys.GetItemData(row), static_cast<wxUIntPtr>(row));
    EXPECT_FALSE(UninstPage().GetRemoveButton()->IsEnabled());

    // Editing a key keeps its place; editing it to nothing removes it.
    SelectRows(keys, {last - 2});
    UninstPage().EditKey();
    EndEdit(keys.GetEditControl(), " Software\\Fourth\\Sub ");
    EXPECT_EQ(Data().m_regKeysToRemove.back(), "Software\\Fourth\\Sub");
    Screenshot("page-uninstaller-keys");
}

TEST(GuiPages, UninstallerFieldsAndTextsAreStored)
{
    Type(UninstPage().GetNameEdit(), "");
    EXPECT_EQ(Data().m_strUninstallerName, "");
    Type(UninstPage().GetIconFolderEdit(), "Acme");
    EXPECT_EQ(Data().m_strUninstallIconFolder, "Acme");
    CWizardTextList& texts = *UninstPage().GetTextList();
    EndEdit(texts.EditLabel(9), "Remove %s\\nanyway?");
    EXPECT_EQ(Data().m_texts[8][9], "Remove %s\nanyway?");
    SelectRows(texts, {10});
    EXPECT_EQ(Std(texts.GetUsageText()->GetLabel()).rfind("This question is asked by the Uninstall program", 0), 0u);
    // Typed, and saved before the edit lost the focus.
    UninstPage().GetIconNameEdit()->ChangeValue("Remove Acme");
    Screenshot("page-uninstaller");
}

TEST(GuiPages, TheWindowModeEnablesTheBackgroundControls)
{
    Sheet().SetSelection(kOptionsTab);
    Pump();
    COptionsPage& page = OptionsPage();
    Click(page.GetModeButton(0), wxEVT_RADIOBUTTON);
    EXPECT_EQ(Data().m_nWindowMode, 0);
    struct Control {
        wxWindow* window;
        bool enabledWhenSmall;
    };
    const Control controls[] = {{page.GetBackgroundBitmapEdit(), false}, {page.GetBackgroundTitleEdit(), false},
                                {page.GetFontEdit(), false},             {page.GetFontButton(), false},
                                {page.GetBackgroundBitmapButton(), true}, {page.GetWizardBitmapEdit(), true},
                                {page.GetWizardBitmapButton(), true}};
    for (const Control& control : controls) EXPECT_EQ(control.window->IsEnabled(), control.enabledWhenSmall);
    Screenshot("page-wizard-options-small");
    Click(page.GetModeButton(1), wxEVT_RADIOBUTTON);
    EXPECT_EQ(Data().m_nWindowMode, 1);
    for (const Control& control : controls) EXPECT_TRUE(control.window->IsEnabled());
    Click(page.GetModeButton(0), wxEVT_RADIOBUTTON);
}

TEST(GuiPages, OptionsAreStoredWhenTheEditsLoseTheFocus)
{
    COptionsPage& page = OptionsPage();
    Data().m_strDefaultDir = "C:\\Program";
    page.UpdateFromProject();
    Type(page.GetDefaultDirEdit(), "C:\\PROGRAM");
    EXPECT_EQ(Data().m_strDefaultDir, "C:\\Program");
    Type(page.GetDefaultDirEdit(), "D:\\");
    page.AppendMacro(DirMacro::programFiles);
    EXPECT_EQ(Data().m_strDefaultDir, "D:\\#Program Files#");
    EXPECT_EQ(Std(page.GetDefaultDirEdit()->GetValue()), "D:\\#Program Files#");

    Type(page.GetIniFileEdit(), "setup");
    EXPECT_EQ(Data().m_strIniFile, "setup.ini");
    EXPECT_EQ(Std(page.GetIniFileEdit()->GetValue()), "setup.ini");
    Type(page.GetIniSectionEdit(), "Paths");
    Type(page.GetRegValueEdit(), "Folder");

    const std::int32_t otherBits = Data().m_nDirFlags & ~(DIR_USER_CAN_CHANGE | DIR_WRITE_REGISTRY | DIR_WRITE_INI);
    Click(page.GetDirFlagBox(DirFlagBox::readOnly), wxEVT_CHECKBOX, true);
    Click(page.GetDirFlagBox(DirFlagBox::updateEntry), wxEVT_CHECKBOX, true);
    Click(page.GetDirFlagBox(DirFlagBox::updateKey), wxEVT_CHECKBOX, false);
    EXPECT_EQ(Data().m_nDirFlags, otherBits | DIR_WRITE_INI);
    page.GetRootCombo()->SetSelection(2);
    Click(page.GetRootCombo(), wxEVT_CHOICE);
    EXPECT_EQ(Data().m_nRegRoot, 2);
    Screenshot("page-wizard-options");
}

TEST(GuiPages, SavingAndOpeningAgainShowsEveryField)
{
    Sheet().SetSelection(kUninstallerTab);  // the icon name typed there is still in its edit
    Pump();
    ASSERT_TRUE(Frame().SaveDocument(false));
    Frame().NewDocument();
    ASSERT_TRUE(Frame().OpenDocumentFile(ExampleProject()));

    EXPECT_EQ(Std(TextsPage().GetTitleEdit()->GetValue()), "Acme Writer");
    TextsPage().SelectGroup(0);
    EXPECT_EQ(Cell(Texts(), 2), GetDefaultText(0, 2));
    EXPECT_EQ(Cell(Texts(), 4), "<None>");
    EXPECT_EQ(Std(UninstPage().GetNameEdit()->GetValue()), "");
    EXPECT_EQ(Std(UninstPage().GetIconFolderEdit()->GetValue()), "Acme");
    EXPECT_EQ(Std(UninstPage().GetIconNameEdit()->GetValue()), "Remove Acme");
    EXPECT_EQ(Cell(*UninstPage().GetKeyList(), UninstPage().GetKeyList()->GetItemCount() - 1), "Software\\Fourth\\Sub");
    EXPECT_EQ(Cell(*UninstPage().GetTextList(), 9), "Remove %s\\nanyway?");

    COptionsPage& options = OptionsPage();
    EXPECT_TRUE(options.GetModeButton(0)->GetValue());
    EXPECT_FALSE(options.GetBackgroundTitleEdit()->IsEnabled());
    EXPECT_EQ(Std(options.GetDefaultDirEdit()->GetValue()), "D:\\#Program Files#");
    EXPECT_EQ(Std(options.GetIniFileEdit()->GetValue()), "setup.ini");
    EXPECT_EQ(Std(options.GetIniSectionEdit()->GetValue()), "Paths");
    EXPECT_EQ(Std(options.GetRegValueEdit()->GetValue()), "Folder");
    EXPECT_TRUE(options.GetDirFlagBox(DirFlagBox::readOnly)->GetValue());
    EXPECT_TRUE(options.GetDirFlagBox(DirFlagBox::updateEntry)->GetValue());
    EXPECT_FALSE(options.GetDirFlagBox(DirFlagBox::updateKey)->GetValue());
    EXPECT_EQ(options.GetRootCombo()->GetSelection(), 2);
    EXPECT_FALSE(IsModified());
}

}  // namespace
}  // namespace sw::test
