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

// Writes a dialog template field by field, each item on a DWORD boundary as Windows wants.
class CTemplateWriter {
public:
    explicit CTemplateWriter(WORD* memory) : m_at(memory), m_start(memory) {}
    void Word(WORD value) { *m_at++ = value; }
    void Text(const wchar_t* text)
    {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void Align()
    {
        if ((m_at - m_start) % 2) Word(0);
    }
    template <typename T>
    void Struct(const T& value)
    {
        const auto* words = reinterpret_cast<const WORD*>(&value);
        for (std::size_t i = 0; i < sizeof(T) / sizeof(WORD); ++i) Word(words[i]);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD windowClass, const wchar_t* text)
    {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Struct(item);
        Word(0xFFFF);
        Word(windowClass);
        Text(text);
        Word(0);  // no creation data
    }

private:
    WORD* m_at;
    WORD* m_start;
};

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
            ++line;
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
    auto* memory = static_cast<WORD*>(win::Allocate(characters * sizeof(WORD) + 256));
    if (!memory) return Answer::no;

    short textHeight = TextHeight(question);
    short buttonY = static_cast<short>(kMargin + textHeight + kMargin);
    CTemplateWriter writer(memory);
    DLGTEMPLATE dialog{};
    dialog.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.cdit = 5;
    dialog.cx = kWidth;
    dialog.cy = static_cast<short>(buttonY + kButtonHeight + kMargin);
    writer.Struct(dialog);
    writer.Word(0);  // no menu
    writer.Word(0);  // the standard dialog class
    writer.Text(title);
    writer.Word(8);
    writer.Text(L"MS Shell Dlg");
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
