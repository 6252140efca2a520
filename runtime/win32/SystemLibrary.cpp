#include "win32/SystemLibrary.h"

namespace sw::win {

FARPROC SystemProc(const wchar_t* library, const char* name)
{
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace sw::win
