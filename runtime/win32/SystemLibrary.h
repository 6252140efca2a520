#pragma once
// Functions of system DLLs that are not among the system's known DLLs (version.dll,
// comctl32.dll). Importing them statically would let the loader take a DLL of that name
// from the folder of a downloaded installer before the program's first instruction, so
// they are loaded from the system folder on first use instead.
#include <windows.h>

namespace sw::win {

// The function `name` of the DLL `library` from the system folder; nullptr when either is
// missing. The DLL stays loaded for the rest of the run.
FARPROC SystemProc(const wchar_t* library, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemProc(library, name)));
}

}  // namespace sw::win
