#pragma once
// Stand-ins for what surrounds a build in tests: a host that answers its questions from a
// script, a report that keeps its lines, and disks in memory, removable and small on demand.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "build/BuildHost.h"
#include "build/Volumes.h"

namespace sw::test {

class CFakeHost : public IBuildHost {
public:
    // Answers every message; the default says Yes, OK and Cancel to retries.
    std::function<int(const std::string& text, unsigned type)> answer;
    std::vector<std::string> messages;
    std::vector<int> positions;
    bool escapeDown = false;
    bool quitRequested = false;
    bool progressShown = false;

    int MessageBox(const std::string& text, unsigned type) override;
    void ShowProgress(const std::string&) override { progressShown = true; }
    void SetProgress(int position, const std::string&) override { positions.push_back(position); }
    void HideProgress() override { progressShown = false; }
    bool HandlePendingMessages() override { return !quitRequested; }
    bool IsEscapeDown() override { return escapeDown; }
};

class CFakeReport : public IBuildReport {
public:
    struct Line {
        std::string text;
        int action = 0;
        std::uint64_t size = 0, packed = 0;
    };
    std::vector<Line> lines;
    void AddLine(const std::string& text) override { lines.push_back({text}); }
    void SetResult(int actionId, std::uint64_t size, std::uint64_t packed) override
    {
        lines.back().action = actionId;
        lines.back().size = size;
        lines.back().packed = packed;
    }
    std::vector<std::string> Texts() const;
};

// Files in memory on one disk at a time; `capacity` bytes fit on a disk.
class CMemVolumeSystem : public IVolumeSystem {
public:
    std::map<std::string, std::string> files;
    bool removable = false;
    std::uint64_t capacity = UINT64_MAX;
    int failCreates = 0;  // the next creates that fail with EACCES

    // Takes the disk out (its files go to `removedDisks`) and puts in an empty one.
    void SwapDisk();
    std::vector<std::map<std::string, std::string>> removedDisks;

    std::uint64_t Used() const;
    bool IsRemovable(const std::string&) override { return removable; }
    std::uint64_t FreeBytes(const std::string&) override { return capacity - Used(); }
    std::unique_ptr<CVolumeFile> Create(const std::string& path) override;
    void Remove(const std::string& path) override { files.erase(path); }
    std::vector<std::string> List(const std::string& directory) override;
    bool IsDirectory(const std::string&) override { return false; }
    std::string ErrorText(int error) override;
};

}  // namespace sw::test
