#include "build/BuildFakes.h"

#include <cerrno>
#include <cstring>

#include "platform/FileError.h"
#include "platform/StringTable.h"

namespace sw::test {

int CFakeHost::MessageBox(const std::string& text, unsigned type)
{
    messages.push_back(text);
    if (answer) return answer(text, type);
    switch (type & 0xF) {
    case MB_YESNO: return IDYES;
    case MB_OKCANCEL: return IDOK;
    case MB_RETRYCANCEL: return IDCANCEL;
    default: return IDOK;
    }
}

std::vector<std::string> CFakeReport::Texts() const
{
    std::vector<std::string> texts;
    for (const Line& line : lines) texts.push_back(line.text);
    return texts;
}

namespace {

class CMemVolumeFile : public CVolumeFile {
public:
    CMemVolumeFile(CMemVolumeSystem& system, std::string path) : m_system(system), m_strPath(std::move(path))
    {
        m_system.files[m_strPath].clear();
    }
    std::string& Data() { return m_system.files[m_strPath]; }

    std::size_t Read(void* buffer, std::size_t count) override
    {
        std::string& data = Data();
        std::size_t n = m_nPos < data.size() ? std::min(count, data.size() - m_nPos) : 0;
        std::memcpy(buffer, data.data() + m_nPos, n);
        m_nPos += n;
        return n;
    }
    WriteOutcome WriteSome(const void* bytes, std::size_t count) override
    {
        std::string& data = Data();
        std::size_t growth = m_nPos + count > data.size() ? m_nPos + count - data.size() : 0;
        std::uint64_t room = m_system.capacity - m_system.Used();
        if (growth > room) {
            count -= static_cast<std::size_t>(growth - room);
            growth = static_cast<std::size_t>(room);
        }
        if (m_nPos + count > data.size()) data.resize(m_nPos + count);
        std::memcpy(data.data() + m_nPos, bytes, count);
        m_nPos += count;
        return {count, count == 0 ? ENOSPC : 0};
    }
    void Write(const void* bytes, std::size_t count) override
    {
        if (WriteSome(bytes, count).written != count) throw CFileError(m_strPath, IDS_FILE_CANNOT_WRITE, ENOSPC);
    }
    std::uint64_t GetPosition() const override { return m_nPos; }
    void Seek(std::uint64_t position) override { m_nPos = static_cast<std::size_t>(position); }
    std::uint64_t GetLength() const override { return m_system.files[m_strPath].size(); }
    const std::string& GetFilePath() const override { return m_strPath; }
    void Close() override {}

private:
    CMemVolumeSystem& m_system;
    std::string m_strPath;
    std::size_t m_nPos = 0;
};

}  // namespace

void CMemVolumeSystem::SwapDisk()
{
    removedDisks.push_back(files);
    files.clear();
}

std::uint64_t CMemVolumeSystem::Used() const
{
    std::uint64_t used = 0;
    for (const auto& [path, data] : files) used += data.size();
    return used;
}

std::unique_ptr<CVolumeFile> CMemVolumeSystem::Create(const std::string& path)
{
    if (failCreates > 0) {
        --failCreates;
        throw CFileError(path, IDS_FILE_CANNOT_CREATE, EACCES);
    }
    return std::make_unique<CMemVolumeFile>(*this, path);
}

std::vector<std::string> CMemVolumeSystem::List(const std::string& directory)
{
    std::vector<std::string> names = {".", ".."};
    for (const auto& [path, data] : files)
        if (path.compare(0, directory.size(), directory) == 0 && path.find('/', directory.size()) == std::string::npos)
            names.push_back(path.substr(directory.size()));
    return names;
}

std::string CMemVolumeSystem::ErrorText(int error) { return std::strerror(error); }

}  // namespace sw::test
