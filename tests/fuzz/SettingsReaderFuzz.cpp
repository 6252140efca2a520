// Feeds arbitrary bytes to the settings-file reader. It may refuse them, but only with
// its own errors, and never crash, hang or allocate beyond what the input can justify.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/Archive.h"
#include "model/SettingsFile.h"
#include "model/SettingsVersion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sw::CData project;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        sw::LoadSettings(project, bytes);
        // Whatever was accepted must store and load back to the same project.
        std::string stored = sw::StoreSettings(project);
        sw::CData again;
        sw::LoadSettings(again, stored);
        if (sw::StoreSettings(again) != stored) __builtin_trap();
    } catch (const sw::CArchiveException&) {
    } catch (const sw::CIncorrectVersion&) {
    }
    return 0;
}
