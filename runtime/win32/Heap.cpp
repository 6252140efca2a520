#include "win32/Heap.h"

namespace sw::win {

wchar_t* CopyWide(const wchar_t* text, std::size_t length)
{
    auto* copy = AllocateArray<wchar_t>(length + 1);
    if (!copy) return nullptr;
    for (std::size_t i = 0; i < length; ++i) copy[i] = text[i];
    copy[length] = 0;
    return copy;
}

wchar_t* WidenText(const char* text, std::size_t length)
{
    if (length == 0) return CopyWide(L"", 0);
    UINT page = CP_UTF8;
    int count = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), nullptr, 0);
    if (count <= 0) {
        page = CP_ACP;
        count = MultiByteToWideChar(page, 0, text, static_cast<int>(length), nullptr, 0);
    }
    if (count <= 0) return nullptr;
    auto* wide = AllocateArray<wchar_t>(static_cast<std::size_t>(count) + 1);
    if (!wide) return nullptr;
    MultiByteToWideChar(page, 0, text, static_cast<int>(length), wide, count);
    wide[count] = 0;
    return wide;
}

char* NarrowToUtf8(const wchar_t* text, std::size_t& length)
{
    length = 0;
    int wideLength = static_cast<int>(WideLength(text));
    int bytes = wideLength ? WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr) : 0;
    auto* utf8 = AllocateArray<char>(static_cast<std::size_t>(bytes > 0 ? bytes : 0) + 1);
    if (!utf8) return nullptr;
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, wideLength, utf8, bytes, nullptr, nullptr);
    length = static_cast<std::size_t>(bytes > 0 ? bytes : 0);
    return utf8;
}

wchar_t* JoinPath(const wchar_t* folder, const wchar_t* name)
{
    std::size_t folderLength = WideLength(folder);
    while (folderLength > 0 && (folder[folderLength - 1] == L'\\' || folder[folderLength - 1] == L'/')) --folderLength;
    std::size_t nameLength = WideLength(name);
    auto* path = AllocateArray<wchar_t>(folderLength + nameLength + 2);
    if (!path) return nullptr;
    for (std::size_t i = 0; i < folderLength; ++i) path[i] = folder[i];
    path[folderLength] = L'\\';
    for (std::size_t i = 0; i < nameLength; ++i) path[folderLength + 1 + i] = name[i];
    path[folderLength + 1 + nameLength] = 0;
    return path;
}

}  // namespace sw::win
