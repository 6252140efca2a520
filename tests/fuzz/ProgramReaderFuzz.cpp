// Feeds arbitrary bytes to the reader of installation programs, as `setwright-cli list`
// and `verify` meet them: it may refuse them, only with its own error, and never crash,
// hang or allocate beyond what the input can justify. Inputs of an even length have their
// records sealed with their check first (where they have a size marker and a REC_END):
// otherwise nearly every mutation would stop at the check, and the reading behind it,
// which a crafted program with a correct check reaches, would go untried. Odd ones meet
// the check as they are.
#include <cstddef>
#include <cstdint>
#include <string>

#include "build/ProgramReader.h"
#include "core/ProgramLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size % 2 == 0) sw::SealProgramRecords(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    try {
        sw::InstallProgram program = sw::ReadInstallProgram(bytes);
        for (const sw::ProgramFile& file : program.files)
            if (file.packedSize > 0) program.FileData(file);
        program.ProjectCheckValue();
    } catch (const sw::CProgramError&) {
    }
    return 0;
}
