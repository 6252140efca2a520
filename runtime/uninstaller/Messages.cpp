#include "Messages.h"

#include "win32/Log.h"
#include "win32/FittedMessageBox.h"
#include "win32/FormatText.h"
#include "win32/Heap.h"

namespace sw {

CMessages::~CMessages()
{
    for (wchar_t* text : m_texts) win::Release(text);
}

bool CMessages::Load(const TextView (&texts)[kUninstTextCount])
{
    for (unsigned i = 0; i < kUninstTextCount; ++i) {
        win::Release(m_texts[i]);
        m_texts[i] = win::WidenText(texts[i].text, texts[i].length);
        if (!m_texts[i]) return false;
    }
    return true;
}

const wchar_t* CMessages::Text(unsigned index) const
{
    if (index < kUninstTextCount && m_texts[index]) return m_texts[index];
    switch (index) {
    case kUninstTitle: return L"Uninstall";
    case kUninstOutOfMemory: return L"Out of memory!";
    case kUninstInvalidInfo: return L"Invalid uninstall info. This program cannot uninstall this product.";
    default: return L"";
    }
}

wchar_t* CMessages::Format(unsigned index, const wchar_t* argument) const
{
    return win::FormatText(Text(index), argument);
}

int CMessages::Show(unsigned index, const wchar_t* argument, UINT style, int unattended) const
{
    wchar_t* text = Format(index, argument);
    const wchar_t* shown = text ? text : Text(kUninstOutOfMemory);
    int answer = unattended;
    LogLine("", shown);
    if (!m_silent)
        answer = win::FittedMessageBox(nullptr, shown, Text(kUninstTitle), style | MB_SETFOREGROUND);
    win::Release(text);
    return answer;
}

}  // namespace sw
