#pragma once
// The uninstaller's texts (from its REC_UNINST_TEXTS record, UTF-8 or the ANSI code page)
// and the message boxes that show them. Unattended (/S) no box is shown: the log gets the
// text and the caller's unattended answer is taken.
#include <windows.h>

#include "core/UninstallerRecords.h"

namespace sw {

class CMessages {
public:
    ~CMessages();
    // Takes the texts of the package; false when one cannot be converted (out of memory).
    bool Load(const TextView (&texts)[kUninstTextCount]);
    void SetSilent(bool silent) { m_silent = silent; }
    bool Silent() const { return m_silent; }

    // Text `index`; a built-in English text for the few that are needed before the
    // package is read (title, out of memory, invalid uninstall information), else "".
    const wchar_t* Text(unsigned index) const;
    // The text with its first "%s" replaced by `argument` and "%%" made "%"; release with
    // win::Release. nullptr when out of memory.
    wchar_t* Format(unsigned index, const wchar_t* argument) const;

    // A message box with text `index` (its %s filled with `argument`) under the title
    // text and `style` (MB_...). Unattended: logs the text and returns `unattended`.
    int Show(unsigned index, const wchar_t* argument, UINT style, int unattended) const;

private:
    wchar_t* m_texts[kUninstTextCount] = {};
    bool m_silent = false;
};

}  // namespace sw
