#pragma once
// Where the data of an installation program goes when it may span several disks: the
// removable-drive and free-space test, unbuffered writes that report a full disk instead
// of failing, and the directory listing of a freshly inserted disk. The builder reaches
// them through IVolumeSystem, so tests can simulate a small removable disk.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/File.h"

namespace sw {

// A file on a volume. WriteSome never throws: it reports how much went to the disk and
// the system error (0 when all of it went, or when the disk simply took less).
class CVolumeFile : public CFile {
public:
    struct WriteOutcome {
        std::size_t written;
        int error;
    };
    virtual WriteOutcome WriteSome(const void* data, std::size_t count) = 0;
    virtual void Close() = 0;
};

class IVolumeSystem {
public:
    virtual ~IVolumeSystem() = default;
    // Whether the file system holding this path lives on a removable device.
    virtual bool IsRemovable(const std::string& path) = 0;
    // Bytes free for the user on the file system holding this path.
    virtual std::uint64_t FreeBytes(const std::string& path) = 0;
    // Creates (or empties) a file for writing; throws CFileError.
    virtual std::unique_ptr<CVolumeFile> Create(const std::string& path) = 0;
    virtual void Remove(const std::string& path) = 0;
    // The names in a directory, "." and ".." included as the system lists them.
    virtual std::vector<std::string> List(const std::string& directory) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual std::string ErrorText(int error) = 0;
};

// The real disks of this machine.
std::unique_ptr<IVolumeSystem> MakeDiskVolumeSystem();

// True for the errors that mean the disk is full.
bool IsDiskFullError(int error);

}  // namespace sw
