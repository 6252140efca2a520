// Saving and loading large projects: the settings file of a project with many files, and
// copying such a project (which rebuilds its file list without duplicates).
#include <benchmark/benchmark.h>

#include "model/Data.h"
#include "model/SettingsFile.h"

namespace {

sw::CData ProjectWithFiles(std::size_t count)
{
    sw::CData data;
    for (std::size_t i = 0; i < count; ++i)
        data.m_files.push_back(sw::CFileItem("folder" + std::to_string(i % 97) + "\\file" + std::to_string(i) + ".dat"));
    return data;
}

void BM_StoreSettings(benchmark::State& state)
{
    sw::CData data = ProjectWithFiles(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string file = sw::StoreSettings(data);
        bytes = file.size();
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_StoreSettings)->Arg(100)->Arg(10000)->Arg(100000);

void BM_LoadSettings(benchmark::State& state)
{
    std::string file = sw::StoreSettings(ProjectWithFiles(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        sw::CData data;
        sw::LoadSettings(data, file);
        benchmark::DoNotOptimize(data);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_LoadSettings)->Arg(100)->Arg(10000)->Arg(100000);

void BM_CopyProject(benchmark::State& state)
{
    sw::CData data = ProjectWithFiles(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        sw::CData copy = data;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyProject)->Arg(10000)->Arg(100000);

}  // namespace
