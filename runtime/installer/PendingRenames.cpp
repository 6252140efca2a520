#include "PendingRenames.h"

#include "win32/Heap.h"

namespace sw {
namespace {

const wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

// The list names a file by its NT path: "\??\C:\folder\file".
bool SameSource(const wchar_t* entry, std::size_t length, const wchar_t* source)
{
    const wchar_t prefix[] = L"\\??\\";
    std::size_t skip = 0;
    if (length >= 4 && entry[0] == prefix[0] && entry[1] == prefix[1] && entry[2] == prefix[2] && entry[3] == prefix[3]) skip = 4;
    std::size_t n = win::WideLength(source);
    if (length - skip != n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (Lower(entry[skip + i]) != Lower(source[i])) return false;
    return true;
}

}  // namespace

bool CancelPendingRename(const wchar_t* source)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    bool found = false, ok = false;
    wchar_t* list = nullptr;
    if (RegQueryValueExW(key, kPendingRenames, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_MULTI_SZ &&
        (list = win::AllocateArray<wchar_t>(size / sizeof(wchar_t) + 2)) != nullptr &&
        RegQueryValueExW(key, kPendingRenames, nullptr, &type, reinterpret_cast<BYTE*>(list), &size) == ERROR_SUCCESS) {
        // Pairs of texts: the source (never empty) and the target ("" to delete, "!"
        // first to replace). The pairs other than the one to take back are copied down.
        std::size_t count = size / sizeof(wchar_t), in = 0, out = 0;
        while (in < count && list[in]) {
            std::size_t sourceStart = in;
            while (in < count && list[in]) ++in;
            std::size_t sourceLength = in - sourceStart;
            ++in;
            while (in < count && list[in]) ++in;
            ++in;
            if (in > count) in = count;
            if (!found && SameSource(list + sourceStart, sourceLength, source)) {
                found = true;
                continue;
            }
            for (std::size_t i = sourceStart; i < in; ++i) list[out++] = list[i];
        }
        list[out++] = 0;
        if (!found)
            ok = false;
        else if (out == 1)
            ok = RegDeleteValueW(key, kPendingRenames) == ERROR_SUCCESS;
        else
            ok = RegSetValueExW(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list),
                                static_cast<DWORD>(out * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    win::Release(list);
    RegCloseKey(key);
    return ok;
}

}  // namespace sw
