// Feeds arbitrary bytes to the reader of installation programs, as `setwright-cli list`
// and `verify` meet them: it may refuse them, only with its own error, and never crash,
// hang or allocate beyond what the input can justify.
#include <cstddef>
#include <cstdint>
#include <string>

#include "build/ProgramReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        sw::InstallProgram program = sw::ReadInstallProgram(bytes);
        for (const sw::ProgramFile& file : program.files)
            if (file.packedSize > 0) program.FileData(file);
        program.ProjectCheckValue();
    } catch (const sw::CProgramError&) {
    }
    return 0;
}
