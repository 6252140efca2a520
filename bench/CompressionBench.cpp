// Compression and decoding on the benchmark corpus, ours against zlib in the same run:
// CCompressor against deflate at level 9 with a raw 32 KiB window, and our decoder against
// inflate on the same data. After the per-part figures it prints three ratios over the
// whole corpus: compression speed, compressed size and decoding speed.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

#include "BenchCorpus.h"
#include "BenchDecoder.h"
#include "build/Compressor.h"

namespace {

using sw::bench::CorpusPart;

std::string OurCompress(const std::string& data)
{
    sw::CMemFile out;
    sw::CCompressor().CompressBuffer(out, data.data(), data.size());
    return out.Data();
}

std::string ZlibCompress(const std::string& data)
{
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

void ZlibInflate(const std::string& compressed, std::string& out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) throw std::runtime_error("inflateInit2");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (inflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("inflate");
    inflateEnd(&stream);
}

// Totals per method over every part, for the ratios.
// Each method's time is its CPU time for one pass over a part, summed over the parts, so
// that every part weighs by its size whatever the number of iterations the library chose,
// and the load of a shared machine does not count.
struct Totals {
    double seconds = 0;          // one pass over the corpus
    double inputBytes = 0;       // the corpus once
    double compressedBytes = 0;  // its compressed size once
};
std::map<std::string, Totals> g_totals;

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            std::string name = run.benchmark_name();
            std::string method = name.substr(0, name.find('/'));
            Totals& totals = g_totals[method];
            double iterations = static_cast<double>(run.iterations);
            totals.seconds += run.cpu_accumulated_time / iterations;
            totals.inputBytes += run.counters.at("input_bytes");
            totals.compressedBytes += run.counters.at("compressed_bytes");
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// One method on one part: `prepare` turns the part into the method's input once, `run`
// does the work on it each iteration and returns the compressed size it saw.
template <typename Prepare, typename Run>
void RegisterMethod(const char* method, const CorpusPart& part, Prepare prepare, Run run)
{
    std::string name = std::string(method) + "/" + part.name;
    benchmark::RegisterBenchmark(name.c_str(), [&part, prepare, run](benchmark::State& state) {
        std::string input = prepare(part.data);
        std::size_t compressed = 0;
        for (auto _ : state) compressed = run(input);
        state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(part.data.size()));
        state.counters["input_bytes"] = static_cast<double>(part.data.size());
        state.counters["compressed_bytes"] = static_cast<double>(compressed);
    })->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

// Decoders are checked against the part once, outside the timing.
template <typename Compress, typename Decode>
void RegisterDecoder(const char* method, const CorpusPart& part, Compress compress, Decode decode)
{
    std::string compressed = compress(part.data);
    std::string out(part.data.size(), '\0');
    decode(compressed, out);
    if (out != part.data) throw std::runtime_error(std::string(method) + " does not give back " + part.name);
    RegisterMethod(method, part, [compress](const std::string& data) { return compress(data); },
                   [decode, buffer = std::make_shared<std::string>(part.data.size(), '\0')](const std::string& input) {
                       decode(input, *buffer);
                       return input.size();
                   });
}

void Register(const CorpusPart& part)
{
    auto same = [](const std::string& data) { return data; };
    RegisterMethod("compress", part, same, [](const std::string& data) { return OurCompress(data).size(); });
    RegisterMethod("zlib_deflate9", part, same, [](const std::string& data) { return ZlibCompress(data).size(); });
    RegisterDecoder("decode", part, OurCompress, sw::bench::DecodeOurs);
    RegisterDecoder("zlib_inflate", part, ZlibCompress, ZlibInflate);
}

double Speed(const Totals& totals) { return totals.seconds > 0 ? totals.inputBytes / totals.seconds / 1e6 : 0; }

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (const CorpusPart& part : sw::bench::Corpus()) Register(part);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const Totals& ours = g_totals["compress"];
    const Totals& zlib = g_totals["zlib_deflate9"];
    const Totals& decode = g_totals["decode"];
    const Totals& inflate = g_totals["zlib_inflate"];
    std::printf("\nOver the whole corpus (%.1f MB):\n", ours.inputBytes / 1e6);
    if (ours.seconds > 0 && zlib.seconds > 0)
        std::printf("  compression speed, ours / zlib level 9:  %.3f  (%.1f MB/s against %.1f MB/s)\n",
                    Speed(ours) / Speed(zlib), Speed(ours), Speed(zlib));
    if (ours.compressedBytes > 0 && zlib.compressedBytes > 0)
        std::printf("  compressed size,   ours / zlib level 9:  %.4f  (%.0f bytes against %.0f bytes)\n",
                    ours.compressedBytes / zlib.compressedBytes, ours.compressedBytes, zlib.compressedBytes);
    if (decode.seconds > 0 && inflate.seconds > 0)
        std::printf("  decoding speed,    ours / zlib inflate:  %.3f  (%.1f MB/s against %.1f MB/s)\n",
                    Speed(decode) / Speed(inflate), Speed(decode), Speed(inflate));
    benchmark::Shutdown();
    return 0;
}
