// A whole build, side by side with a peer: a generated folder of about 100 MB of mixed
// files is built into an installation program by CBuilder, and into an installer by
// Debian's makensis (zlib, not solid) when it is on the machine. Prints the time and the
// output size of each, and their ratios.
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "build/Builder.h"
#include "support/CorpusGenerator.h"

namespace {

namespace fs = std::filesystem;
using sw::test::DataKind;

class CQuietHost : public sw::IBuildHost {
public:
    int MessageBox(const std::string& text, unsigned) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        return sw::IDYES;
    }
    void ShowProgress(const std::string&) override {}
    void SetProgress(int, const std::string&) override {}
    void HideProgress() override {}
    bool HandlePendingMessages() override { return true; }
    bool IsEscapeDown() override { return false; }
};

class CQuietReport : public sw::IBuildReport {
public:
    void AddLine(const std::string&) override {}
    void SetResult(int, std::uint64_t, std::uint64_t) override {}
};

// The folder: files of every kind and of sizes from 1 KB to 4 MB, in a few sub-folders.
// Made once and kept, since it is the same every time.
std::string MakeFolder(const fs::path& root)
{
    if (fs::exists(root / ".complete")) return root.string();
    fs::remove_all(root);
    const DataKind kinds[] = {DataKind::text, DataKind::source, DataKind::binary, DataKind::binary, DataKind::random, DataKind::runs};
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; total < (100u << 20); ++i) {
        DataKind kind = kinds[i % 6];
        std::size_t size = std::size_t(1024) << (i * 7 % 13);  // 1 KB .. 4 MB
        fs::path dir = root / ("folder" + std::to_string(i % 5));
        fs::create_directories(dir);
        std::ofstream(dir / ("file" + std::to_string(i) + ".dat"), std::ios::binary) << sw::test::GenerateData(kind, size, i);
        total += size;
    }
    std::ofstream(root / ".complete") << "";
    return root.string();
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main()
{
    fs::path base = fs::temp_directory_path() / "setwright-build-bench";
    std::string folder = MakeFolder(base / "input");
    std::uint64_t inputBytes = 0;
    sw::CData data;
    data.m_strSourceDir = folder + "/";
    data.m_files.AddDirectory(data.m_strSourceDir, data.m_strSourceDir, true, nullptr);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename() != ".complete") inputBytes += entry.file_size();
    data.m_files.RemoveAt(static_cast<std::size_t>(data.m_files.FindFile(".complete")));
    data.m_strOutputFile = (base / "Setwright.exe").string();

    CQuietHost host;
    CQuietReport report;
    auto start = std::chrono::steady_clock::now();
    bool built = sw::CBuilder(host).Build(data, report);
    double ours = Seconds(std::chrono::steady_clock::now() - start);
    if (!built) {
        std::fprintf(stderr, "the build failed\n");
        return 1;
    }
    auto oursSize = fs::file_size(data.m_strOutputFile);
    std::printf("input: %zu files, %.1f MB\n", data.m_files.size(), static_cast<double>(inputBytes) / 1e6);
    std::printf("Setwright: %.2f s, %llu bytes (%.1f MB/s)\n", ours, static_cast<unsigned long long>(oursSize),
                static_cast<double>(inputBytes) / ours / 1e6);

    if (std::system("command -v makensis >/dev/null 2>&1") != 0) {
        std::printf("makensis: not installed (Debian package nsis); no comparison\n");
        return 0;
    }
    fs::path script = base / "bench.nsi";
    fs::path nsisOut = base / "Nsis.exe";
    std::ofstream(script) << "OutFile \"" << nsisOut.string() << "\"\n"
                          << "SetCompressor zlib\nRequestExecutionLevel user\nInstallDir \"$PROGRAMFILES\\Bench\"\n"
                          << "Section\nSetOutPath \"$INSTDIR\"\nFile /r /x .complete \"" << folder << "/*\"\nSectionEnd\n";
    start = std::chrono::steady_clock::now();
    int status = std::system(("makensis -V1 \"" + script.string() + "\"").c_str());
    double nsis = Seconds(std::chrono::steady_clock::now() - start);
    if (status != 0 || !fs::exists(nsisOut)) {
        std::printf("makensis failed (status %d)\n", status);
        return 1;
    }
    auto nsisSize = fs::file_size(nsisOut);
    std::printf("makensis (zlib, not solid): %.2f s, %llu bytes (%.1f MB/s)\n", nsis, static_cast<unsigned long long>(nsisSize),
                static_cast<double>(inputBytes) / nsis / 1e6);
    std::printf("ratios, Setwright / makensis: time %.3f, size %.4f\n", ours / nsis,
                static_cast<double>(oursSize) / static_cast<double>(nsisSize));
    return 0;
}
