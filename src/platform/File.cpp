#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
int OpenFlags(CDiskFile::Mode mode)
{
    switch (mode) {
    case CDiskFile::Mode::read: return O_RDONLY;
    case CDiskFile::Mode::create: return O_RDWR | O_CREAT | O_TRUNC;
    case CDiskFile::Mode::readWrite: return O_RDWR;
    }
    return O_RDONLY;
}
}  // namespace

CDiskFile::CDiskFile(std::string path, Mode mode) : m_strPath(std::move(path))
{
    m_fd = mode == Mode::read ? OpenForReading(m_strPath) : ::open(m_strPath.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
    if (m_fd < 0) throw CFileError(m_strPath, mode == Mode::create ? IDS_FILE_CANNOT_CREATE : IDS_FILE_CANNOT_OPEN, errno);
    struct stat info {};
    if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(m_fd);
        throw CFileError(m_strPath, IDS_FILE_CANNOT_OPEN, EISDIR);
    }
}

CDiskFile::~CDiskFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

void CDiskFile::Close()
{
    int fd = m_fd;
    m_fd = -1;
    if (fd >= 0 && ::close(fd) != 0) throw CFileError(m_strPath, IDS_FILE_CANNOT_WRITE, errno);
}

std::size_t CDiskFile::Read(void* buffer, std::size_t count)
{
    for (;;) {
        ssize_t got = ::read(m_fd, buffer, count);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) throw CFileError(m_strPath, IDS_FILE_CANNOT_READ, errno);
    }
}

void CDiskFile::Write(const void* data, std::size_t count)
{
    const char* bytes = static_cast<const char*>(data);
    while (count > 0) {
        ssize_t written = ::write(m_fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw CFileError(m_strPath, IDS_FILE_CANNOT_WRITE, errno);
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}

std::size_t CDiskFile::WriteSome(const void* data, std::size_t count)
{
    for (;;) {
        ssize_t written = ::write(m_fd, data, count);
        if (written >= 0) return static_cast<std::size_t>(written);
        if (errno != EINTR) throw CFileError(m_strPath, IDS_FILE_CANNOT_WRITE, errno);
    }
}

std::uint64_t CDiskFile::GetPosition() const
{
    off_t position = ::lseek(m_fd, 0, SEEK_CUR);
    if (position < 0) throw CFileError(m_strPath, IDS_FILE_CANNOT_READ, errno);
    return static_cast<std::uint64_t>(position);
}

void CDiskFile::Seek(std::uint64_t position)
{
    if (::lseek(m_fd, static_cast<off_t>(position), SEEK_SET) < 0) throw CFileError(m_strPath, IDS_FILE_CANNOT_READ, errno);
}

std::uint64_t CDiskFile::GetLength() const
{
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) throw CFileError(m_strPath, IDS_FILE_CANNOT_READ, errno);
    return static_cast<std::uint64_t>(info.st_size);
}

void CDiskFile::SetLength(std::uint64_t length)
{
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) throw CFileError(m_strPath, IDS_FILE_CANNOT_WRITE, errno);
}

std::size_t CMemFile::Read(void* buffer, std::size_t count)
{
    if (m_nPos >= m_data.size()) return 0;
    std::size_t available = m_data.size() - static_cast<std::size_t>(m_nPos);
    std::size_t n = count < available ? count : available;
    std::memcpy(buffer, m_data.data() + m_nPos, n);
    m_nPos += n;
    return n;
}

void CMemFile::Write(const void* data, std::size_t count)
{
    std::size_t pos = static_cast<std::size_t>(m_nPos);
    if (pos > m_data.size()) m_data.resize(pos, '\0');
    std::size_t overlap = std::min(count, m_data.size() - pos);
    m_data.replace(pos, overlap, static_cast<const char*>(data), count);
    m_nPos += count;
}

}  // namespace sw
