#include "ShellLinks.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "SystemFolders.h"
#include "core/ProgramLayout.h"
#include "win32/Heap.h"

namespace sw {
namespace {

// Removes every occurrence of `macro` from `text` (in place); true when there was one.
bool TakeMacro(char* text, const char* macro)
{
    bool found = false;
    std::size_t m = win::TextLength(macro);
    char* out = text;
    for (const char* in = text; *in;) {
        std::size_t k = 0;
        while (k < m && in[k] == macro[k]) ++k;
        if (k == m) {
            found = true;
            in += m;
        } else {
            *out++ = *in++;
        }
    }
    *out = 0;
    return found;
}

}  // namespace

wchar_t* ResolveIconFolder(const char* field, const SystemFolders& folders)
{
    std::size_t length = win::TextLength(field);
    auto* rest = win::AllocateArray<char>(length + 1);
    if (!rest) return nullptr;
    for (std::size_t i = 0; i <= length; ++i) rest[i] = field[i];
    const wchar_t* base = folders.programs;
    if (TakeMacro(rest, "#Startup#")) base = folders.startup;
    if (TakeMacro(rest, "#Start Menu#") && base != folders.startup) base = folders.startMenu;
    // Separators at either end mean nothing here.
    char* begin = rest;
    while (*begin == '\\' || *begin == '/' || *begin == ' ') ++begin;
    std::size_t restLength = win::TextLength(begin);
    while (restLength > 0 && (begin[restLength - 1] == '\\' || begin[restLength - 1] == '/' || begin[restLength - 1] == ' '))
        begin[--restLength] = 0;
    wchar_t* result = nullptr;
    if (!base[0]) {
        result = nullptr;
    } else if (restLength == 0) {
        result = win::CopyWide(base);
    } else if (IsSafeInstallName(begin, restLength)) {
        wchar_t* sub = win::WidenText(begin, restLength);
        for (wchar_t* p = sub; p && *p; ++p)
            if (*p == L'/') *p = L'\\';
        result = sub ? win::JoinPath(base, sub) : nullptr;
        win::Release(sub);
    }
    win::Release(rest);
    return result;
}

wchar_t* LinkPath(const wchar_t* folder, const char* name)
{
    std::size_t length = win::TextLength(name);
    for (std::size_t i = 0; i < length; ++i)
        if (name[i] == '\\' || name[i] == '/') return nullptr;
    if (!IsSafeInstallName(name, length)) return nullptr;
    wchar_t* wide = win::WidenText(name, length);
    if (!wide) return nullptr;
    std::size_t n = win::WideLength(wide);
    auto* withExtension = win::AllocateArray<wchar_t>(n + 5);
    if (withExtension) {
        for (std::size_t i = 0; i < n; ++i) withExtension[i] = wide[i];
        const wchar_t ext[] = L".lnk";
        for (std::size_t i = 0; i < 5; ++i) withExtension[n + i] = ext[i];
    }
    wchar_t* path = withExtension ? win::JoinPath(folder, withExtension) : nullptr;
    win::Release(withExtension);
    win::Release(wide);
    return path;
}

bool CreateShellLink(const wchar_t* linkPath, const wchar_t* target, const wchar_t* arguments, int iconIndex)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link))))
        return false;
    // The working folder is the target's own, as programs started from the menu expect.
    wchar_t* folder = win::CopyWide(target);
    for (std::size_t i = win::WideLength(folder); folder && i > 0; --i)
        if (folder[i - 1] == L'\\') {
            folder[i - 1] = 0;
            break;
        }
    bool ok = SUCCEEDED(link->SetPath(target)) && SUCCEEDED(link->SetArguments(arguments ? arguments : L"")) &&
              SUCCEEDED(link->SetIconLocation(target, iconIndex)) && (!folder || SUCCEEDED(link->SetWorkingDirectory(folder)));
    IPersistFile* file = nullptr;
    if (ok && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        ok = SUCCEEDED(file->Save(linkPath, TRUE));
        file->Release();
    } else {
        ok = false;
    }
    link->Release();
    win::Release(folder);
    return ok;
}

}  // namespace sw
