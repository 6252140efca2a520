#include "build/Builder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "build/Compressor.h"
#include "build/FileTable.h"
#include "build/ProjectRecords.h"
#include "build/RecordWriter.h"
#include "build/RuntimeResources.h"
#include "build/UninstallerPackage.h"
#include "platform/FileError.h"
#include "platform/FileTimes.h"
#include "platform/FileVersion.h"
#include "platform/HostPath.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "model/NameProblemText.h"

namespace sw {

namespace {

// Ends a build that the user cancelled, or that already told the user why it stopped.
struct CBuildCancelled {};

constexpr std::size_t kCopyPiece = 32768;
constexpr int kProgressRange = 10000;

struct PlatformResources {
    int installer, dialogs, dialogsWithBitmap, uninstaller;
};

// Platform 0 (Windows 3.1) has no runtime in this system.
const PlatformResources* ResourcesFor(int platform)
{
    static const PlatformResources win32{RES_INSTALLER, RES_DIALOGS, RES_DIALOGS_BITMAP, RES_UNINSTALLER};
    static const PlatformResources win64{RES_INSTALLER_64, RES_DIALOGS_64, RES_DIALOGS_BITMAP_64, RES_UNINSTALLER_64};
    if (platform == 1) return &win32;
    if (platform == 2) return &win64;
    return nullptr;
}

// Fills the "%d" of a report text with a count that may pass 2^31.
std::string WithNumber(int textId, std::uint64_t number)
{
    std::string text = LoadString(textId);
    std::size_t at = text.find("%d");
    return at == std::string::npos ? text : text.replace(at, 2, std::to_string(number));
}

std::string ProgressText(int position)
{
    return FormatText(LoadString(IDS_PROGRESS_FORMAT), position / 100, position % 100);
}

std::string TempDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    return WithTrailingSeparator(dir && *dir ? dir : "/tmp");
}

// A file read through this wrapper also gets its check value: the sum needs whole 32-bit
// words, so a piece that ends inside a word keeps its last bytes for the next one.
class CChecksumReader : public CFile {
public:
    explicit CChecksumReader(CFile& file) : m_file(file) {}
    std::size_t Read(void* buffer, std::size_t count) override
    {
        std::size_t got = m_file.Read(buffer, count);
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        std::size_t i = 0;
        while (m_nPending > 0 && m_nPending < 4 && i < got) m_pending[m_nPending++] = bytes[i++];
        if (m_nPending == 4) {
            m_nSum = AddToChecksum(m_nSum, m_pending, 4);
            m_nPending = 0;
        }
        std::size_t whole = (got - i) / 4 * 4;
        m_nSum = AddToChecksum(m_nSum, bytes + i, whole);
        for (i += whole; i < got; ++i) m_pending[m_nPending++] = bytes[i];
        m_nLength += got;
        return got;
    }
    std::uint32_t Checksum() const { return AddToChecksum(m_nSum, m_pending, m_nPending); }
    std::uint64_t Length() const { return m_nLength; }

    void Write(const void*, std::size_t) override {}
    std::uint64_t GetPosition() const override { return m_file.GetPosition(); }
    void Seek(std::uint64_t) override {}
    std::uint64_t GetLength() const override { return m_file.GetLength(); }
    const std::string& GetFilePath() const override { return m_file.GetFilePath(); }

private:
    CFile& m_file;
    std::uint32_t m_nSum = 0;
    std::uint8_t m_pending[4] = {};
    std::size_t m_nPending = 0;
    std::uint64_t m_nLength = 0;
};

std::uint64_t FileSizeOrZero(const std::string& path)
{
    try {
        return CDiskFile(path, CDiskFile::Mode::read).GetLength();
    } catch (const CFileError&) {
        return 0;
    }
}

bool SamePath(const std::string& a, const std::string& b) { return SameFileName(a, b); }

}  // namespace

std::string VolumeName(const std::string& outputPath, int number)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".D%2.2d", number);
    std::size_t dot = outputPath.rfind('.');
    std::size_t slash = outputPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return outputPath + suffix;
    return outputPath.substr(0, dot) + suffix;
}

// One build: everything it holds lives here, and the destructor cleans up whatever the
// build left behind.
class CBuilder::CRun {
public:
    CRun(const CData& data, IBuildReport& report, IBuildHost& host, IVolumeSystem& volumes)
        : m_data(data), m_report(report), m_host(host), m_volumes(volumes)
    {
    }
    ~CRun();
    bool Build();

private:
    bool CheckIconFolders();
    void CreateFiles();
    void WriteInstaller();
    void AddUninstaller();
    void AddProjectFile(const CFileItem& item);
    void WriteDataSection(std::uint32_t dataSize);
    void CopyDataSpanning(CDiskFile& temp);
    void StartNextVolume(const std::uint8_t* rest, std::size_t restSize);
    void Report();
    void ShowProgress(int position);
    void OnCompressProgress(std::uint64_t consumed);
    template <typename... Args>
    [[noreturn]] void Fail(int messageId, const Args&... arguments);

    const CData& m_data;
    IBuildReport& m_report;
    IBuildHost& m_host;
    IVolumeSystem& m_volumes;
    const PlatformResources* m_resources = nullptr;

    std::string m_strOutput;
    std::unique_ptr<CVolumeFile> m_output;
    std::string m_strTemp;
    std::unique_ptr<CDiskFile> m_temp;
    bool m_bProgressShown = false;
    bool m_bKeepOutput = false;
    bool m_bOutputCreated = false;  // the output file is ours to remove when the build fails
    std::size_t m_nMarkerOffset = 0;  // of the installer image's size marker
    std::uint64_t m_nImageSize = 0;
    bool m_bUninstallerAdded = false;

    CByteBuffer m_fileTable;
    std::uint32_t m_nRecords = 0;
    std::uint32_t m_nProjectCheck = 0;
    std::uint64_t m_nTotalSize = 0;
    std::uint64_t m_nTotalPacked = 0;
    std::uint64_t m_nProgramSize = 0;

    // Progress of the running file.
    std::uint64_t m_nProgressTotal = 0;
    std::uint64_t m_nProgressDone = 0;
    int m_nStart = 0;
    int m_nEnd = 0;
    std::uint64_t m_nFileSize = 0;
    int m_nShown = -1;

    // Spanning.
    int m_nVolume = 0;
    std::uint32_t m_nHeld = 0;  // data bytes in the current file
    std::uint64_t m_nCountOffset = 0;
};

CBuilder::CRun::~CRun()
{
    m_output.reset();
    if (m_bOutputCreated && !m_bKeepOutput) m_volumes.Remove(m_strOutput);
    m_temp.reset();
    if (!m_strTemp.empty()) ::unlink(m_strTemp.c_str());
    if (m_bProgressShown) m_host.HideProgress();
}

template <typename... Args>
void CBuilder::CRun::Fail(int messageId, const Args&... arguments)
{
    std::string text = LoadString(messageId);
    if constexpr (sizeof...(Args) > 0) text = FormatText(text, arguments...);
    m_host.MessageBox(text, MB_OK | MB_ICONSTOP);
    throw CBuildCancelled();
}

bool CBuilder::CRun::CheckIconFolders()
{
    bool uninstallerFolder = false;
    bool anyWarning = false;
    if (!m_data.m_strUninstallerName.empty() && !m_data.m_strUninstallIconName.empty()) {
        if (m_data.m_strUninstallIconFolder.empty()) {
            m_report.AddLine(LoadString(IDS_WARN_UNINST_ICON_FOLDER_EMPTY));
            anyWarning = true;
        } else {
            uninstallerFolder = true;
        }
    }
    bool emptyFolder = false;
    bool differentFolders = false;
    bool differentFromUninstaller = false;
    const std::string* firstFolder = nullptr;
    for (const CFileItem& item : m_data.m_files) {
        if (item.m_strIconName.empty()) continue;
        const std::string& folder = item.m_strIconFolder;
        if (folder.empty()) {
            emptyFolder = true;
            continue;
        }
        if (SameFileName(folder, "#Start Menu#") || SameFileName(folder, "#Startup#")) continue;
        if (!firstFolder)
            firstFolder = &folder;
        else if (!SameFileName(folder, *firstFolder))
            differentFolders = true;
        if (uninstallerFolder && !SameFileName(folder, m_data.m_strUninstallIconFolder)) differentFromUninstaller = true;
    }
    for (auto [marked, id] : {std::pair{emptyFolder, IDS_WARN_FILE_ICON_FOLDER_EMPTY},
                              std::pair{differentFolders, IDS_WARN_ICON_FOLDERS_DIFFER},
                              std::pair{differentFromUninstaller, IDS_WARN_UNINST_ICON_FOLDER_DIFFERS}}) {
        if (!marked) continue;
        m_report.AddLine(LoadString(id));
        anyWarning = true;
    }
    return !anyWarning || m_host.MessageBox(LoadString(IDS_ASK_CONTINUE_AFTER_WARNINGS), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CBuilder::CRun::CreateFiles()
{
    std::string pattern = TempDirectory() + "tmpXXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) Fail(IDS_NO_UNIQUE_TEMP_FILE, std::strerror(errno));
    ::close(fd);
    m_strTemp = pattern;
    m_strOutput = m_data.m_strOutputFile;
    m_output = m_volumes.Create(m_strOutput);
    m_bOutputCreated = true;
    m_temp = std::make_unique<CDiskFile>(m_strTemp, CDiskFile::Mode::create);
    m_fileTable.Add32(0);  // the record count, set at the end
}

void CBuilder::CRun::WriteInstaller()
{
    std::span<const std::uint8_t> runtime = FindRuntimeResource(m_resources->installer);
    std::string image(reinterpret_cast<const char*>(runtime.data()), runtime.size());
    SetImageSize(reinterpret_cast<std::uint8_t*>(image.data()), image.size());
    std::uint32_t seed = ReadSeed(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    m_nMarkerOffset = FindMarker(reinterpret_cast<const std::uint8_t*>(image.data()), image.size(), kSizeMarkerId);
    m_nImageSize = image.size();
    m_output->Write(image.data(), image.size());

    CRecordWriter writer(*m_output);
    bool withBitmap = !m_data.m_strWizardBitmap.empty();
    WriteProjectRecords(writer, m_data, FindRuntimeResource(withBitmap ? m_resources->dialogsWithBitmap : m_resources->dialogs),
                        &m_host);

    m_nProjectCheck = seed;
    if (!m_data.m_strDefaultDir.empty())
        m_nProjectCheck = AddToChecksum(m_nProjectCheck, reinterpret_cast<const std::uint8_t*>(m_data.m_strDefaultDir.data()),
                                        m_data.m_strDefaultDir.size());
}

void CBuilder::CRun::ShowProgress(int position)
{
    m_nShown = position;
    m_host.SetProgress(position, ProgressText(position));
}

void CBuilder::CRun::OnCompressProgress(std::uint64_t consumed)
{
    auto position = static_cast<std::uint64_t>(m_nStart);
    if (m_nFileSize > 0) position += static_cast<std::uint64_t>(m_nEnd - m_nStart) * consumed / m_nFileSize;
    int shown = static_cast<int>(std::min<std::uint64_t>(position, kProgressRange));
    if (shown == m_nShown) return;
    ShowProgress(shown);
    if (!m_host.HandlePendingMessages()) throw CBuildCancelled();
    if (m_host.IsEscapeDown() && m_host.MessageBox(LoadString(IDS_ASK_STOP_BUILD), MB_YESNO | MB_ICONQUESTION) == IDYES)
        throw CBuildCancelled();
}

void CBuilder::CRun::AddUninstaller()
{
    std::span<const std::uint8_t> runtime = FindRuntimeResource(m_resources->uninstaller);
    if (FindMarker(runtime.data(), runtime.size(), kSizeMarkerId) == kMarkerNotFound) return;
    const std::string& name = m_data.m_strUninstallerName;
    if (NameProblem problem = CheckInstallName(name.data(), name.size()); problem != NameProblem::none) {
        m_report.AddLine(name);
        m_report.SetResult(IDS_ACTION_INVALID_NAME, 0, 0);
        Fail(IDS_UNSAFE_FILE_NAME, name, DescribeNameProblem(problem));
    }
    std::string package = BuildUninstallerPackage(runtime, m_data);
    std::uint64_t before = m_temp->GetPosition();
    CMemFile input(package);
    CCompressor().CompressFile(*m_temp, input);
    FileRecord record;
    record.flags = kFileIsUninstaller;
    record.checkValue = AddToChecksum(0, reinterpret_cast<const std::uint8_t*>(package.data()), package.size()) ^ m_nProjectCheck;
    record.size = static_cast<std::uint32_t>(package.size());
    record.packedSize = static_cast<std::uint32_t>(m_temp->GetPosition() - before);
    record.name = m_data.m_strUninstallerName;
    record.iconFolder = m_data.m_strUninstallIconFolder;
    record.iconName = m_data.m_strUninstallIconName;
    AppendFileRecord(m_fileTable, record);
    ++m_nRecords;
    m_bUninstallerAdded = true;
    m_report.AddLine(record.name);
    m_report.SetResult(IDS_ACTION_ADD, record.size, record.packedSize);
    m_nTotalSize += record.size;
    m_nTotalPacked += record.packedSize;
}

void CBuilder::CRun::AddProjectFile(const CFileItem& item)
{
    std::string path = m_data.m_strSourceDir + ToHostRelative(item.m_strName);
    std::uint64_t size = FileSizeOrZero(path);
    m_nStart = m_nProgressTotal ? static_cast<int>(static_cast<double>(m_nProgressDone) * kProgressRange / static_cast<double>(m_nProgressTotal)) : 0;
    m_nEnd = m_nProgressTotal ? static_cast<int>(static_cast<double>(m_nProgressDone + size) * kProgressRange / static_cast<double>(m_nProgressTotal)) : 0;
    m_nProgressDone += size;
    ShowProgress(m_nStart);

    int installMode = item.GetOption(OPT_INSTALL_MODE);
    if (installMode == 2 && item.m_strIconName.empty() && item.m_strShortcutName.empty() && item.GetOption(OPT_END_PAGE) == 0)
        return;
    if (SamePath(path, m_strOutput)) return;
    m_report.AddLine(item.m_strName);
    if (NameProblem problem = item.GetNameProblem(); problem != NameProblem::none) {
        m_report.SetResult(IDS_ACTION_INVALID_NAME, 0, 0);
        Fail(IDS_UNSAFE_FILE_NAME, item.m_strName, DescribeNameProblem(problem));
    }
    // Installed beside the uninstaller under its name (or its information's), the file
    // would replace it, and the uninstaller would then remove what the file's own
    // uninstall information lists: the installer refuses such a program as damaged.
    const std::string& uninstaller = m_data.m_strUninstallerName;
    if (m_bUninstallerAdded && installMode != 2 && item.GetOption(OPT_TARGET_DIR) == 0 &&
        CollidesWithUninstaller(item.m_strName.data(), item.m_strName.size(), uninstaller.data(), uninstaller.size())) {
        m_report.SetResult(IDS_ACTION_INVALID_NAME, 0, 0);
        Fail(IDS_NAME_TAKES_UNINSTALLER_PLACE, item.m_strName, uninstaller);
    }
    ++m_nRecords;

    FileRecord record = MakeFileRecord(item);
    if (installMode == 2) {
        AppendFileRecord(m_fileTable, record);
        m_report.SetResult(IDS_ACTION_ADD, 0, 0);
        return;
    }

    // The times first, before anything of this build has read the file.
    if (std::optional<FileTimes> times = ReadFileTimes(path)) {
        record.flags |= kFileHasTimes;
        record.times[0] = times->creation;
        record.times[1] = times->lastAccess;
        record.times[2] = times->lastWrite;
    }
    int target = item.GetOption(OPT_TARGET_DIR);
    if (target == 1 || target == 2) {
        FileVersionInfo version = ReadFileVersion(path);
        if (version.hasVersion) {
            record.flags |= kFileHasVersion;
            record.version[0] = version.fileVersionMS;
            record.version[1] = version.fileVersionLS;
            record.version[2] = version.productVersionMS;
            record.version[3] = version.productVersionLS;
        }
        if (version.hasLanguage) {
            record.flags |= kFileHasLanguage;
            record.language = version.language;
        }
    }

    CDiskFile input(path, CDiskFile::Mode::read);
    if (input.GetLength() > 0xFFFFFFFFu) Fail(IDS_FILE_TOO_LARGE, item.m_strName);
    m_nFileSize = input.GetLength();
    CChecksumReader reader(input);
    std::uint64_t before = m_temp->GetPosition();
    CCompressor compressor;
    compressor.SetProgress([this](std::uint64_t consumed, std::uint32_t) { OnCompressProgress(consumed); }, 0);
    compressor.CompressFile(*m_temp, reader);
    if (reader.Length() > 0xFFFFFFFFu) Fail(IDS_FILE_TOO_LARGE, item.m_strName);

    record.size = static_cast<std::uint32_t>(reader.Length());
    record.packedSize = static_cast<std::uint32_t>(m_temp->GetPosition() - before);
    record.checkValue = reader.Checksum() ^ m_nProjectCheck;
    AppendFileRecord(m_fileTable, record);
    m_report.SetResult(IDS_ACTION_ADD, record.size, record.packedSize);
    m_nTotalSize += record.size;
    m_nTotalPacked += record.packedSize;
}

void CBuilder::CRun::StartNextVolume(const std::uint8_t* rest, std::size_t restSize)
{
    // Close the full file with the count of the data it holds.
    CByteBuffer count;
    count.Add32(m_nHeld);
    m_output->Seek(m_nCountOffset);
    m_output->Write(count.Bytes().data(), 4);
    m_output->Close();

    ++m_nVolume;
    if (m_host.MessageBox(FormatText(LoadString(IDS_INSERT_DISK), m_nVolume + 1), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        throw CBuildCancelled();
    std::string volume = VolumeName(m_strOutput, m_nVolume);
    for (;;) {
        std::string dir = volume.substr(0, volume.rfind('/') + 1);
        for (const std::string& name : m_volumes.List(dir)) {
            if (name == "." || name == "..") continue;
            if (dir + name == volume && !m_volumes.IsDirectory(dir + name)) continue;
            m_host.MessageBox(LoadString(IDS_DISK_NOT_EMPTY), MB_OK | MB_ICONINFORMATION);
        }
        int error = 0;
        try {
            m_output = m_volumes.Create(volume);
            CVolumeFile::WriteOutcome head = m_output->WriteSome("\0\0\0\0", 4);
            CVolumeFile::WriteOutcome body = head.written == 4 ? m_output->WriteSome(rest, restSize) : head;
            // From the first follow-on volume on, every file written stays: a build cancelled
            // before it leaves no output at all.
            if (head.written == 4 && body.written == restSize) {
                m_bKeepOutput = true;
                break;
            }
            error = body.error ? body.error : ENOSPC;  // a short write means the disk is full
        } catch (const CFileError& failure) {
            error = failure.ErrnoValue();
        }
        m_output.reset();
        m_volumes.Remove(volume);
        if (m_host.MessageBox(FormatText(LoadString(IDS_VOLUME_ERROR_INSERT_DISK), m_volumes.ErrorText(error), m_nVolume + 1),
                              MB_RETRYCANCEL | MB_ICONINFORMATION) != IDRETRY)
            throw CBuildCancelled();
    }
    m_nCountOffset = 0;
    m_nHeld = static_cast<std::uint32_t>(restSize);
    m_nProgramSize += 4;
}

void CBuilder::CRun::CopyDataSpanning(CDiskFile& temp)
{
    std::uint8_t piece[kCopyPiece];
    while (std::size_t got = temp.Read(piece, sizeof piece)) {
        CVolumeFile::WriteOutcome outcome = m_output->WriteSome(piece, got);
        if (outcome.written == got) {
            m_nHeld += static_cast<std::uint32_t>(got);
            continue;
        }
        if (outcome.error != 0 && !IsDiskFullError(outcome.error)) throw CFileError(m_strOutput, IDS_FILE_CANNOT_WRITE, outcome.error);
        m_nHeld += static_cast<std::uint32_t>(outcome.written);
        StartNextVolume(piece + outcome.written, got - outcome.written);
    }
}

void CBuilder::CRun::WriteDataSection(std::uint32_t dataSize)
{
    bool spanning = false;
    if (m_volumes.IsRemovable(m_strOutput)) {
        std::uint64_t freeKiB = std::min<std::uint64_t>(m_volumes.FreeBytes(m_strOutput) / 1024, 0xFFFFFFFFu);
        spanning = freeKiB < (static_cast<std::uint64_t>(dataSize) + 1031) / 1024;
    }
    CRecordWriter writer(*m_output);
    writer.WriteHeader(REC_END, 0, dataSize);
    // Now, while the output is still the program: with spanning, the data goes on elsewhere.
    WriteRecordsCheck(*m_output, m_nMarkerOffset, m_nImageSize);
    m_nProgramSize = dataSize + m_output->GetPosition();
    if (dataSize == 0) return;

    m_nCountOffset = m_output->GetPosition();
    m_output->Write("\0\0\0\0", 4);
    m_nProgramSize += 4;
    m_temp->Seek(0);
    if (spanning) {
        CopyDataSpanning(*m_temp);
    } else {
        std::uint8_t piece[kCopyPiece];
        while (std::size_t got = m_temp->Read(piece, sizeof piece)) {
            m_output->Write(piece, got);
            m_nHeld += static_cast<std::uint32_t>(got);
        }
    }
    std::uint64_t end = m_output->GetPosition();
    CByteBuffer count;
    count.Add32(m_nHeld);
    m_output->Seek(m_nCountOffset);
    m_output->Write(count.Bytes().data(), 4);
    m_output->Seek(end);
}

void CBuilder::CRun::Report()
{
    m_report.AddLine("");
    m_report.AddLine(LoadString(IDS_REPORT_RESULT));
    m_report.AddLine(WithNumber(IDS_REPORT_NUMBER_OF_FILES, m_data.m_files.size()));
    m_report.AddLine(WithNumber(IDS_REPORT_TOTAL_SIZE, m_nTotalSize));
    m_report.AddLine(WithNumber(IDS_REPORT_TOTAL_PACKED_SIZE, m_nTotalPacked));
    m_report.AddLine(WithNumber(IDS_REPORT_PROGRAM_SIZE, m_nProgramSize));
}

bool CBuilder::CRun::Build()
{
    if (!CheckIconFolders()) return false;
    m_resources = ResourcesFor(m_data.m_nPlatform);
    if (!m_resources) Fail(IDS_NO_WIN31_RUNTIME);

    m_host.ShowProgress(LoadString(IDS_PROGRESS_INITIAL));
    m_bProgressShown = true;
    CreateFiles();
    WriteInstaller();

    for (const CFileItem& item : m_data.m_files)
        m_nProgressTotal += FileSizeOrZero(m_data.m_strSourceDir + ToHostRelative(item.m_strName));
    if (m_data.m_nWindowMode != 0 && !m_data.m_strBackgroundTitle.empty())
        m_nProjectCheck = AddToChecksum(m_nProjectCheck, reinterpret_cast<const std::uint8_t*>(m_data.m_strBackgroundTitle.data()),
                                        m_data.m_strBackgroundTitle.size());

    if (!m_data.m_strUninstallerName.empty()) AddUninstaller();
    for (const CFileItem& item : m_data.m_files) AddProjectFile(item);

    m_fileTable.Put32At(0, m_nRecords);
    CRecordWriter(*m_output).WriteRecord(REC_FILE_TABLE, m_fileTable.Bytes());
    std::uint64_t dataSize = m_temp->GetLength();
    if (dataSize > 0xFFFFFFFFu) Fail(IDS_PROGRAM_TOO_LARGE);
    WriteDataSection(static_cast<std::uint32_t>(dataSize));
    m_output->Close();

    if (m_nRecords == 0) {
        m_output.reset();
        m_volumes.Remove(m_strOutput);
        m_host.MessageBox(LoadString(IDS_NOTHING_TO_INSTALL), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    m_bKeepOutput = true;
    Report();
    return true;
}

CBuilder::CBuilder(IBuildHost& host, IVolumeSystem* volumes)
    : m_host(host), m_ownVolumes(volumes ? nullptr : MakeDiskVolumeSystem()), m_volumes(volumes ? *volumes : *m_ownVolumes)
{
}

CBuilder::~CBuilder() = default;

bool CBuilder::Build(const CData& data, IBuildReport& report)
{
    CRun run(data, report, m_host, m_volumes);
    try {
        return run.Build();
    } catch (const CBuildCancelled&) {
    } catch (const CFileError& error) {
        m_host.MessageBox(error.what(), MB_OK | MB_ICONSTOP);
    }
    return false;
}

bool CBuilder::TestWizard(const CData& data, const std::string& path, int startPage, int runtimeId)
{
    if (path.empty()) return false;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return false;
    try {
        CDiskFile file(path, CDiskFile::Mode::create);
        std::span<const std::uint8_t> runtime = FindRuntimeResource(runtimeId);
        if (runtime.empty()) return false;
        std::string image(reinterpret_cast<const char*>(runtime.data()), runtime.size());
        SetImageSize(reinterpret_cast<std::uint8_t*>(image.data()), image.size());
        std::size_t marker = FindMarker(reinterpret_cast<const std::uint8_t*>(image.data()), image.size(), kSizeMarkerId);
        file.Write(image.data(), image.size());

        CRecordWriter writer(file);
        int dialogs = runtimeId == RES_INSTALLER_64 ? (data.m_strWizardBitmap.empty() ? RES_DIALOGS_64 : RES_DIALOGS_BITMAP_64)
                                                   : (data.m_strWizardBitmap.empty() ? RES_DIALOGS : RES_DIALOGS_BITMAP);
        WriteProjectRecords(writer, data, FindRuntimeResource(dialogs), &m_host);
        CByteBuffer page;
        page.Add16(static_cast<std::uint32_t>(startPage) & 0xFFFF);
        writer.WriteRecord(REC_TEST_PAGE, page.Bytes());
        writer.WriteHeader(REC_END, 0, 0);
        WriteRecordsCheck(file, marker, image.size());
        file.Close();
        return true;
    } catch (const CFileError& error) {
        m_host.MessageBox(error.what(), MB_OK | MB_ICONSTOP);
        return false;
    }
}

}  // namespace sw
