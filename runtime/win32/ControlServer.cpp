#include "win32/ControlServer.h"

namespace sw::win {

bool CallControlServer(const wchar_t* path, const char* entryName)
{
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return false;
    using ServerEntry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<ServerEntry>(reinterpret_cast<void*>(GetProcAddress(module, entryName)));
    bool ok = entry && SUCCEEDED(entry());
    FreeLibrary(module);
    return ok;
}

}  // namespace sw::win
