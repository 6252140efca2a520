#pragma once
// The file abstraction of the core: what the compressor reads from and writes to, and
// what the builder writes installation programs with. Real files (CDiskFile) and memory
// (CMemFile) behave the same way; every failure throws CFileError.
#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

class CFile {
public:
    virtual ~CFile() = default;
    // Reads up to count bytes at the current position; returns how many, 0 at the end.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes all count bytes at the current position.
    virtual void Write(const void* data, std::size_t count) = 0;
    virtual std::uint64_t GetPosition() const = 0;
    virtual void Seek(std::uint64_t position) = 0;
    virtual std::uint64_t GetLength() const = 0;
    virtual const std::string& GetFilePath() const = 0;
};

class CDiskFile : public CFile {
public:
    enum class Mode {
        read,       // an existing file, reading only
        create,     // a new or emptied file, reading and writing
        readWrite,  // an existing file, reading and writing, kept as it is
    };
    CDiskFile(std::string path, Mode mode);
    ~CDiskFile() override;
    CDiskFile(const CDiskFile&) = delete;
    CDiskFile& operator=(const CDiskFile&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* data, std::size_t count) override;
    // One write: returns how many bytes the system took (fewer when the disk is full);
    // throws CFileError when it took none and reported an error.
    std::size_t WriteSome(const void* data, std::size_t count);
    std::uint64_t GetPosition() const override;
    void Seek(std::uint64_t position) override;
    std::uint64_t GetLength() const override;
    const std::string& GetFilePath() const override { return m_strPath; }
    // Cuts or extends the file to this length.
    void SetLength(std::uint64_t length);
    // Closes the file, reporting a failure of the last writes (a plain destruction ignores it).
    void Close();

private:
    std::string m_strPath;
    int m_fd;
};

class CMemFile : public CFile {
public:
    CMemFile() = default;
    explicit CMemFile(std::string content) : m_data(std::move(content)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* data, std::size_t count) override;
    std::uint64_t GetPosition() const override { return m_nPos; }
    void Seek(std::uint64_t position) override { m_nPos = position; }
    std::uint64_t GetLength() const override { return m_data.size(); }
    const std::string& GetFilePath() const override { return m_strPath; }

    const std::string& Data() const { return m_data; }

private:
    std::string m_data;
    std::uint64_t m_nPos = 0;
    std::string m_strPath;  // memory files have no path
};

}  // namespace sw
