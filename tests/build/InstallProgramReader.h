#pragma once
// The builder's tests read programs back with the product's reader, and also decode every
// file, failing the running test on anything the reader refuses.
#include <string>
#include <vector>

#include "build/ProgramReader.h"

namespace sw::test {

using ReadRecord = ProgramRecord;

struct ReadFileRecord : ProgramFile {
    std::string data;  // the decoded content
};

struct ReadProgram {
    std::size_t imageSize = 0;
    std::vector<ProgramRecord> records;
    std::uint32_t dataSize = 0;
    std::string data;
    std::vector<std::vector<std::string>> wizardTexts;
    std::vector<ReadFileRecord> files;
    const ProgramRecord* Find(std::uint16_t id) const;
};

ReadProgram ReadInstallProgram(const std::string& program, const std::vector<std::string>& volumes = {});

}  // namespace sw::test
