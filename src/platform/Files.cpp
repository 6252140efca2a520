#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>

#include "platform/FileError.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0) ::close(fd);
    }
};

void WriteAll(int fd, std::string_view bytes, const std::string& path)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throw CFileError(path, IDS_FILE_CANNOT_WRITE, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string DirectoryOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes)
{
    FdCloser file{OpenForReading(path)};
    if (file.fd < 0) throw CFileError(path, IDS_FILE_CANNOT_OPEN, errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) throw CFileError(path, IDS_FILE_CANNOT_READ, errno);
    if (S_ISDIR(info.st_mode)) throw CFileError(path, IDS_FILE_CANNOT_READ, EISDIR);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw CFileError(path, IDS_FILE_CANNOT_READ, errno);
        }
        if (got == 0) break;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) throw CFileError(path, IDS_FILE_CANNOT_READ, EFBIG);
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void WriteFileReplacing(const std::string& path, std::string_view bytes)
{
    std::string tempPath = path + ".XXXXXX";
    int fd = ::mkstemp(tempPath.data());
    if (fd < 0) throw CFileError(path, IDS_FILE_CANNOT_CREATE, errno);
    try {
        FdCloser file{fd};
        // mkstemp creates the file with mode 0600; give the new file the usual mode a
        // plain create would, or keep the mode of the file it replaces.
        struct stat old {};
        mode_t mode = 0666;
        if (::stat(path.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        ::fchmod(fd, mode);
        WriteAll(fd, bytes, path);
        if (::fsync(fd) != 0) throw CFileError(path, IDS_FILE_CANNOT_WRITE, errno);
        file.fd = -1;
        if (::close(fd) != 0) throw CFileError(path, IDS_FILE_CANNOT_WRITE, errno);
        if (::rename(tempPath.c_str(), path.c_str()) != 0) throw CFileError(path, IDS_FILE_CANNOT_REPLACE, errno);
    } catch (...) {
        ::unlink(tempPath.c_str());
        throw;
    }
    // Make the rename itself durable; failing here loses nothing, so it is not reported.
    FdCloser dir{::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

std::vector<DirEntry> ListDirectory(const std::string& dir)
{
    std::vector<DirEntry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(dir.c_str()), ::closedir);
    if (!handle) return entries;
    std::string prefix = dir;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    while (dirent* entry = ::readdir(handle.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        if (::lstat((prefix + name).c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            entries.push_back({name, true});
        } else if (S_ISREG(info.st_mode)) {
            entries.push_back({name, false});
        } else if (S_ISLNK(info.st_mode)) {
            struct stat target {};
            if (::stat((prefix + name).c_str(), &target) == 0 && S_ISREG(target.st_mode))
                entries.push_back({name, false});
        }
    }
    return entries;
}

std::string ExecutableDir()
{
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "./";
    std::string path(buffer, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace sw

namespace sw {

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace sw

namespace sw {

int OpenForReading(const std::string& path, int extraFlags)
{
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | extraFlags;
    int fd = ::open(path.c_str(), flags | O_NOATIME);
    if (fd < 0 && errno == EPERM) fd = ::open(path.c_str(), flags);
    if (fd < 0) return fd;
    struct stat info {};
    int problem = 0;
    if (::fstat(fd, &info) != 0)
        problem = errno;
    else if (S_ISDIR(info.st_mode))
        problem = EISDIR;
    else if (!S_ISREG(info.st_mode))
        problem = kNotARegularFile;
    // Reads of a regular file block as usual, unless the caller asked otherwise.
    if (problem == 0 && !(extraFlags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) problem = errno;
    if (problem == 0) return fd;
    ::close(fd);
    errno = problem;
    return -1;
}

}  // namespace sw
