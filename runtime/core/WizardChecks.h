#pragma once
// The checks of the installer's wizard that need no window, so that they are tested
// natively: the layout of a .bmp file the program carries (the wizard and background
// bitmaps), checked against its buffer before Windows sees a byte of it, and the directory
// the user types on the directory page.
#include <cstddef>
#include <cstdint>

namespace sw {

// Where the parts of a checked bitmap file lie. Every offset and size lies inside the file.
struct BitmapLayout {
    std::int32_t width = 0;         // > 0
    std::int32_t height = 0;        // rows; > 0 (topDown says the order)
    bool topDown = false;           // the header's height was negative
    std::uint16_t bitCount = 0;     // 1, 4, 8, 16, 24 or 32
    bool bitFields = false;         // 16 or 32 bits with three colour masks
    std::uint32_t colors = 0;       // entries of the colour table (bit counts up to 8)
    std::uint64_t masksOffset = 0;  // the three masks, when bitFields (file offset 54)
    std::uint64_t colorsOffset = 0; // the colour table
    std::uint64_t bitsOffset = 0;   // the pixels
    std::uint64_t stride = 0;       // bytes per row
};

inline constexpr std::size_t kBitmapFileHeader = 14;
inline constexpr std::size_t kBitmapInfoHeader = 40;  // BITMAPINFOHEADER; the first 40 bytes of its later forms

// A whole .bmp file: "BM", an info header of 40 to 124 bytes, width 1 to 16384, height 1 to
// 16384 rows either way, one plane, an uncompressed format Windows knows (or bit fields
// for 16 and 32 bits), a colour table and pixels that fit in `size`. False for anything
// else.
bool CheckBitmapFile(const std::uint8_t* file, std::uint64_t size, BitmapLayout& layout);

// ---- directories ------------------------------------------------------------------------

// Length of the root of an absolute path: 3 for "C:\", the length of "\\server\share\" (or
// of "\\server\share" when nothing follows); 0 when the path has neither.
template <typename Char>
std::size_t DirectoryRootLength(const Char* path)
{
    auto letter = [](Char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (letter(path[0]) && path[1] == ':' && path[2] == '\\') return 3;
    if (path[0] != '\\' || path[1] != '\\') return 0;
    std::size_t i = 2;
    for (int part = 0; part < 2; ++part) {
        std::size_t start = i;
        while (path[i] && path[i] != '\\') ++i;
        if (i == start) return 0;
        if (!path[i]) return part == 1 ? i : 0;
        ++i;
    }
    return i;
}

template <typename Char>
std::size_t DirectoryLength(const Char* path)
{
    std::size_t n = 0;
    while (path[n]) ++n;
    return n;
}

// Removes blanks around the path, makes forward slashes backslashes, and removes trailing
// backslashes (not the root's).
template <typename Char>
void TrimDirectoryPath(Char* path)
{
    std::size_t start = 0, length = DirectoryLength(path);
    while (path[start] == ' ' || path[start] == '\t') ++start;
    while (length > start && (path[length - 1] == ' ' || path[length - 1] == '\t')) --length;
    for (std::size_t i = start; i < length; ++i) path[i - start] = path[i] == '/' ? Char('\\') : path[i];
    length -= start;
    path[length] = 0;
    const std::size_t root = DirectoryRootLength(path);
    while (length > 3 && length > root && path[length - 1] == '\\') path[--length] = 0;
}

// The one form of a directory that the wizard and the unattended installer both judge and
// install into: TrimDirectoryPath's, with doubled backslashes after the root made single
// and "." and ".." parts resolved, so that "C:\\Dir", "C:\T\x\" and "C:\T\x\..\y" name the
// folders they mean and never leave a stray folder or a path the uninstaller cannot
// read. Relative paths are not made absolute: what a relative directory means depends on
// the folder the installer happened to start in, so they stay relative and are refused.
// False (and the path only trimmed) when it is relative or a ".." climbs above the root.
template <typename Char>
bool CanonicalDirectoryPath(Char* path)
{
    TrimDirectoryPath(path);
    const std::size_t root = DirectoryRootLength(path);
    const std::size_t length = DirectoryLength(path);
    if (root == 0) return false;
    auto isDots = [&](std::size_t start, std::size_t end, std::size_t dots) {
        if (end - start != dots) return false;
        for (std::size_t i = start; i < end; ++i)
            if (path[i] != '.') return false;
        return true;
    };
    // First pass: does any ".." climb above the root?
    std::size_t depth = 0;
    for (std::size_t i = root; i < length;) {
        std::size_t start = i;
        while (i < length && path[i] != '\\') ++i;
        if (isDots(start, i, 2)) {
            if (depth == 0) return false;
            --depth;
        } else if (i > start && !isDots(start, i, 1)) {
            ++depth;
        }
        if (i < length) ++i;
    }
    // Second pass, in place: the written part never overtakes the part being read.
    std::size_t out = root;
    for (std::size_t i = root; i < length;) {
        std::size_t start = i;
        while (i < length && path[i] != '\\') ++i;
        std::size_t end = i;
        if (i < length) ++i;
        if (end == start || isDots(start, end, 1)) continue;
        if (isDots(start, end, 2)) {
            while (out > root && path[out - 1] != '\\') --out;
            if (out > root) --out;
            continue;
        }
        if (out > root && path[out - 1] != '\\') path[out++] = '\\';
        for (std::size_t k = start; k < end; ++k) path[out++] = path[k];
    }
    path[out] = 0;
    return true;
}

// An absolute path (X:\... or \\server\share\...) shorter than `maxLength`, without the
// characters Windows forbids in names, with no empty part and no part that ends in a dot
// or a blank (which also refuses "." and "..").
template <typename Char>
bool IsValidDirectoryPath(const Char* path, std::size_t maxLength)
{
    const std::size_t root = DirectoryRootLength(path);
    const std::size_t length = DirectoryLength(path);
    if (root == 0 || length >= maxLength) return false;
    for (std::size_t i = 0; i < length; ++i) {
        Char c = path[i];
        if (c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' || c == '/') return false;
        if (c == ':' && i != 1) return false;
    }
    for (std::size_t i = root; i < length; ++i) {
        std::size_t start = i;
        while (i < length && path[i] != '\\') ++i;
        if (i == start || path[i - 1] == '.' || path[i - 1] == ' ') return false;
    }
    return true;
}

// The length of the parent of the first `length` characters of an absolute path (the
// root keeps its backslash); 0 when the path is its root or has none.
template <typename Char>
std::size_t ParentDirectoryLength(const Char* path, std::size_t length)
{
    const std::size_t root = DirectoryRootLength(path);
    if (root == 0 || length <= root) return 0;
    while (length > root && path[length - 1] != '\\') --length;
    if (length > root) --length;
    return length;
}

}  // namespace sw
