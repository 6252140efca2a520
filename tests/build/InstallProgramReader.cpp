#include "build/InstallProgramReader.h"

#include <gtest/gtest.h>

namespace sw::test {

const ProgramRecord* ReadProgram::Find(std::uint16_t id) const
{
    for (const ProgramRecord& record : records)
        if (record.id == id) return &record;
    return nullptr;
}

ReadProgram ReadInstallProgram(const std::string& bytes, const std::vector<std::string>& volumes)
{
    ReadProgram result;
    try {
        InstallProgram program = sw::ReadInstallProgram(bytes, volumes);
        result.imageSize = program.imageSize;
        result.records = program.records;
        result.dataSize = program.dataSize;
        result.data = program.data;
        result.wizardTexts = program.wizardTexts;
        for (const ProgramFile& file : program.files) {
            ReadFileRecord read;
            static_cast<ProgramFile&>(read) = file;
            if (file.packedSize > 0) read.data = program.FileData(file);
            result.files.push_back(read);
        }
    } catch (const CProgramError& error) {
        ADD_FAILURE() << error.what();
    }
    return result;
}

}  // namespace sw::test
