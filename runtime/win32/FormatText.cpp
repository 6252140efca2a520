#include "win32/FormatText.h"

#include "win32/Heap.h"

namespace sw::win {

wchar_t* FormatText(const wchar_t* text, const wchar_t* argument)
{
    std::size_t length = WideLength(text), argumentLength = WideLength(argument);
    wchar_t* out = AllocateArray<wchar_t>(length + argumentLength + 1);
    if (!out) return nullptr;
    std::size_t n = 0;
    bool filled = false;
    for (std::size_t i = 0; i < length; ++i) {
        bool escape = text[i] == L'%' && i + 1 < length;
        if (escape && text[i + 1] == L'%') {
            out[n++] = L'%';
            ++i;
        } else if (escape && !filled && (text[i + 1] == L's' || text[i + 1] == L'd')) {
            for (std::size_t j = 0; j < argumentLength; ++j) out[n++] = argument[j];
            filled = true;
            ++i;
        } else {
            out[n++] = text[i];
        }
    }
    out[n] = 0;
    return out;
}

}  // namespace sw::win
