#include "BenchCorpus.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "support/CorpusGenerator.h"

namespace sw::bench {

namespace {

// Concatenates regular files from a folder (sorted by name, so the part is stable on one
// machine) up to the limit; files above 4 MB are skipped so one file cannot fill a part.
std::string Collect(const std::string& dir, std::size_t limit)
{
    std::vector<std::string> names;
    if (DIR* handle = ::opendir(dir.c_str())) {
        while (dirent* entry = ::readdir(handle)) names.emplace_back(entry->d_name);
        ::closedir(handle);
    }
    std::sort(names.begin(), names.end());
    std::string data;
    for (const std::string& name : names) {
        std::string path = dir + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > (4 << 20)) continue;
        std::ifstream in(path, std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(in)), {});
        data += content;
        if (data.size() >= limit) break;
    }
    if (data.size() > limit) data.resize(limit);
    return data;
}

std::string CollectDocs(std::size_t limit)
{
    // Documentation lives in one folder per package.
    std::vector<std::string> packages;
    if (DIR* handle = ::opendir("/usr/share/doc")) {
        while (dirent* entry = ::readdir(handle)) packages.emplace_back(entry->d_name);
        ::closedir(handle);
    }
    std::sort(packages.begin(), packages.end());
    std::string data;
    for (const std::string& package : packages) {
        if (package[0] == '.') continue;
        data += Collect("/usr/share/doc/" + package, limit - data.size());
        if (data.size() >= limit) break;
    }
    return data;
}

}  // namespace

const std::vector<CorpusPart>& Corpus(std::size_t maxRealBytes)
{
    static const std::vector<CorpusPart> corpus = [maxRealBytes] {
        using test::DataKind;
        std::vector<CorpusPart> parts = {
            {"text", test::GenerateData(DataKind::text, 16u << 20)},
            {"source", test::GenerateData(DataKind::source, 12u << 20)},
            {"binary", test::GenerateData(DataKind::binary, 14u << 20)},
            {"random", test::GenerateData(DataKind::random, 8u << 20)},
        };
        for (auto [name, dir] : {std::pair{"executables", "/usr/bin"}, std::pair{"libraries", "/usr/lib/x86_64-linux-gnu"}}) {
            std::string data = Collect(dir, maxRealBytes);
            if (!data.empty()) parts.push_back({name, std::move(data)});
        }
        std::string docs = CollectDocs(maxRealBytes);
        if (!docs.empty()) parts.push_back({"documentation", std::move(docs)});
        return parts;
    }();
    return corpus;
}

}  // namespace sw::bench
