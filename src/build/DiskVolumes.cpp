// The volume layer on Linux. A path is on a removable drive when the block device of the
// file system that holds it (or, for a partition, its parent device) says so in sysfs.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>

#include "build/Volumes.h"
#include "platform/FileError.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

// The nearest existing folder of a path that may not exist yet.
std::string ExistingFolderOf(std::string path)
{
    struct stat info {};
    while (!path.empty() && ::stat(path.c_str(), &info) != 0) {
        std::size_t slash = path.find_last_of('/');
        if (slash == std::string::npos) return ".";
        path = slash == 0 ? "/" : path.substr(0, slash);
    }
    return path.empty() ? "." : path;
}

bool ReadFlag(const std::string& path)
{
    std::ifstream in(path);
    int value = 0;
    return (in >> value) && value == 1;
}

class CDiskVolumeFile : public CVolumeFile {
public:
    explicit CDiskVolumeFile(std::string path) : m_file(std::move(path), CDiskFile::Mode::create) {}

    std::size_t Read(void* buffer, std::size_t count) override { return m_file.Read(buffer, count); }
    void Write(const void* data, std::size_t count) override { m_file.Write(data, count); }
    std::uint64_t GetPosition() const override { return m_file.GetPosition(); }
    void Seek(std::uint64_t position) override { m_file.Seek(position); }
    std::uint64_t GetLength() const override { return m_file.GetLength(); }
    const std::string& GetFilePath() const override { return m_file.GetFilePath(); }

    WriteOutcome WriteSome(const void* data, std::size_t count) override
    {
        try {
            return {m_file.WriteSome(data, count), 0};
        } catch (const CFileError& error) {
            return {0, error.ErrnoValue()};
        }
    }
    void Close() override { m_file.Close(); }

private:
    CDiskFile m_file;
};

class CDiskVolumeSystem : public IVolumeSystem {
public:
    bool IsRemovable(const std::string& path) override
    {
        struct stat info {};
        if (::stat(ExistingFolderOf(path).c_str(), &info) != 0) return false;
        std::string device = "/sys/dev/block/" + std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
        char resolved[PATH_MAX];
        if (!::realpath(device.c_str(), resolved)) return false;
        std::string node = resolved;
        if (ReadFlag(node + "/removable")) return true;
        // A partition has no flag of its own: its disk is the folder above.
        if (::access((node + "/partition").c_str(), F_OK) == 0)
            return ReadFlag(node.substr(0, node.find_last_of('/')) + "/removable");
        return false;
    }

    std::uint64_t FreeBytes(const std::string& path) override
    {
        struct statvfs info {};
        if (::statvfs(ExistingFolderOf(path).c_str(), &info) != 0) return UINT64_MAX;
        return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    }

    std::unique_ptr<CVolumeFile> Create(const std::string& path) override { return std::make_unique<CDiskVolumeFile>(path); }

    void Remove(const std::string& path) override { ::unlink(path.c_str()); }

    std::vector<std::string> List(const std::string& directory) override
    {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str())) {
            while (dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
            ::closedir(dir);
        }
        return names;
    }

    bool IsDirectory(const std::string& path) override
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::string ErrorText(int error) override { return std::strerror(error); }
};

}  // namespace

std::unique_ptr<IVolumeSystem> MakeDiskVolumeSystem() { return std::make_unique<CDiskVolumeSystem>(); }

bool IsDiskFullError(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

}  // namespace sw
