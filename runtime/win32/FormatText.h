#pragma once
// The runtimes' texts take one argument the way the author wrote them: the first "%s" (or
// "%d") stands for it and "%%" for a single '%'.
#include <cstddef>

namespace sw::win {

// A heap copy of `text` with its argument put in (release with win::Release); nullptr when
// out of memory. Further "%s" stay as they are.
wchar_t* FormatText(const wchar_t* text, const wchar_t* argument);

}  // namespace sw::win
