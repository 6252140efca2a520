#pragma once
// The benchmark corpus: about 50 MB of generated data of four kinds (the same bytes on
// every machine), and, where the machine has them, real files: executables, shared
// libraries and documentation.
#include <string>
#include <vector>

namespace sw::bench {

struct CorpusPart {
    std::string name;
    std::string data;
};

// Generated parts first, then the real files found (each real part at most maxRealBytes).
const std::vector<CorpusPart>& Corpus(std::size_t maxRealBytes = std::size_t(8) << 20);

}  // namespace sw::bench
