#pragma once
// Whole-file access and directory listing for the core. Every failure throws CFileError.
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// Reads a whole file; refuses files larger than maxBytes (CFileError with EFBIG).
std::string ReadWholeFile(const std::string& path, std::size_t maxBytes = std::size_t(1) << 30);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames
// it over the target. On any failure the temporary file is removed and the previous
// target, if any, is left exactly as it was.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

struct DirEntry {
    std::string name;   // entry name, no directory part
    bool isDirectory;   // a real directory; symbolic links to directories are not followed
};

// The entries of a directory in the order the file system returns them, without "." and
// "..". Regular files and links to regular files count as files; sockets, devices, pipes,
// dangling links and links to directories are left out. An unreadable directory gives
// an empty list.
std::vector<DirEntry> ListDirectory(const std::string& dir);

// The folder of the running program, ending with '/'.
std::string ExecutableDir();

bool IsDirectory(const std::string& path);

// Opens a file for reading without moving its last-access time where the system allows
// (the owner's files): a build records the files' times, and reading them must not change
// what the next build records. Only a regular file (links followed) is opened: the open
// itself never waits (a pipe without a writer would block it for ever), and a directory
// gives EISDIR, a pipe, device or socket kNotARegularFile (FileError.h). Returns the
// descriptor, or -1 with errno set.
int OpenForReading(const std::string& path, int extraFlags = 0);
bool IsRegularFile(const std::string& path);  // links followed

}  // namespace sw
