#include "AnswerBox.h"

#include "win32/Heap.h"

namespace sw {

namespace {

constexpr WORD kButtonIds[4] = {IDYES, 100, IDNO, 101};
constexpr short kWidth = 280;        // dialog units
constexpr short kMargin = 10;
constexpr short kButtonWidth = 56;
constexpr short kButtonHeight = 14;
constexpr short kButtonGap = 6;
constexpr short kLineHeight = 9;
constexpr std::size_t kCharsPerLine = 60;  // of the dialog font in the text's width, with room to spare

// Writes an extended dialog template (DLGTEMPLATEEX) field by field, each item on a DWORD
// boundary as Windows wants. The extended form is the one in which DS_SHELLFONT gives the
// dialog the system's dialog font, which links the fonts of other scripts.
class CTemplateWriter {
public:
    explicit CTemplateWriter(WORD* memory) : m_at(memory), m_start(memory) {}
    void Word(WORD value) { *m_at++ = value; }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text)
    {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void Align()
    {
        if ((m_at - m_start) % 2) Word(0);
    }
    void Dialog(DWORD style, WORD items, short cx, short cy, const wchar_t* title)
    {
        Word(1);       // version
        Word(0xFFFF);  // the extended template's signature
        Dword(0);      // help id
        Dword(0);      // extended style
        Dword(style);
        Word(items);
        Word(0);  // x and y: DS_CENTER places it
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Text(title);
        Word(8);                                  // points
        Word(FW_NORMAL);
        Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // not italic; the character set
        Text(L"MS Shell Dlg");
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD windowClass, const wchar_t* text)
    {
        Align();
        Dword(0);  // help id
        Dword(0);  // extended style
        Dword(style | WS_CHILD | WS_VISIBLE);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Dword(id);
        Word(0xFFFF);
        Word(windowClass);
        Text(text);
        Word(0);  // no creation data
    }

private:
    WORD* m_at;
    WORD* m_start;
};

// East Asian characters take about two average character widths of the dialog font.
bool IsWide(wchar_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

short TextHeight(const wchar_t* text)
{
    std::size_t lines = 0;
    std::size_t line = 0;
    for (const wchar_t* p = text;; ++p) {
        if (*p == L'\n' || *p == 0) {
            lines += line / kCharsPerLine + 1;
            line = 0;
            if (*p == 0) break;
        } else {
            line += IsWide(*p) ? 2u : 1u;
        }
    }
    if (lines > 40) lines = 40;
    return static_cast<short>(lines * kLineHeight);
}

INT_PTR CALLBACK AnswerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        // The focus starts on No as well, so that Enter keeps the file.
        SetFocus(GetDlgItem(dialog, IDNO));
        return FALSE;
    }
    if (message != WM_COMMAND) return FALSE;
    WORD id = LOWORD(wParam);
    if (id == IDCANCEL) id = IDNO;
    for (WORD known : kButtonIds) {
        if (id == known) {
            EndDialog(dialog, id);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

Answer AskFourWays(const wchar_t* title, const wchar_t* question, const wchar_t* const (&captions)[4])
{
    std::size_t characters = win::WideLength(title) + win::WideLength(question) + 64;
    for (const wchar_t* caption : captions) characters += win::WideLength(caption) + 16;
    // The texts, and the fixed fields: the dialog's 64 bytes with its face, 32 per item.
    auto* memory = static_cast<WORD*>(win::Allocate(characters * sizeof(WORD) + 512));
    if (!memory) return Answer::no;

    short textHeight = TextHeight(question);
    short buttonY = static_cast<short>(kMargin + textHeight + kMargin);
    CTemplateWriter writer(memory);
    writer.Dialog(DS_MODALFRAME | DS_CENTER | DS_SHELLFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU, 5, kWidth,
                  static_cast<short>(buttonY + kButtonHeight + kMargin), title);
    writer.Item(SS_LEFT | SS_NOPREFIX, kMargin, kMargin, kWidth - 2 * kMargin, textHeight, 0xFFFF, 0x0082, question);
    short x = (kWidth - 4 * kButtonWidth - 3 * kButtonGap) / 2;
    for (int i = 0; i < 4; ++i) {
        // No is the default, the answer of the unattended uninstaller.
        DWORD style = WS_TABSTOP | (kButtonIds[i] == IDNO ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        writer.Item(style, x, buttonY, kButtonWidth, kButtonHeight, kButtonIds[i], 0x0080, captions[i]);
        x = static_cast<short>(x + kButtonWidth + kButtonGap);
    }
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(memory), nullptr,
                                             AnswerProc, 0);
    win::Release(memory);
    switch (result) {
    case IDYES: return Answer::yes;
    case 100: return Answer::yesToAll;
    case 101: return Answer::noToAll;
    default: return Answer::no;
    }
}

}  // namespace sw
