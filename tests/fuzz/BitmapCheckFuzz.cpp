// Feeds arbitrary bytes to the wizard's bitmap check: whatever it accepts, every byte of the
// header, masks, colour table and pixels it points at must lie inside the input (the input
// is copied into a buffer of its exact size, so the address sanitizer sees a read past it).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/WizardChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto copy = std::make_unique<std::uint8_t[]>(size);
    if (size) std::memcpy(copy.get(), data, size);
    sw::BitmapLayout layout;
    if (!sw::CheckBitmapFile(copy.get(), size, layout)) return 0;
    volatile std::uint8_t sum = 0;
    for (std::size_t i = 0; i < sw::kBitmapFileHeader + sw::kBitmapInfoHeader; ++i) sum = static_cast<std::uint8_t>(sum + copy[i]);
    if (layout.bitFields)
        for (std::size_t i = 0; i < 12; ++i) sum = static_cast<std::uint8_t>(sum + copy[layout.masksOffset + i]);
    for (std::size_t i = 0; i < layout.colors * 4u; ++i) sum = static_cast<std::uint8_t>(sum + copy[layout.colorsOffset + i]);
    const std::uint64_t pixels = layout.stride * static_cast<std::uint64_t>(layout.height);
    if (pixels > 0) {
        sum = static_cast<std::uint8_t>(sum + copy[layout.bitsOffset]);
        sum = static_cast<std::uint8_t>(sum + copy[layout.bitsOffset + pixels - 1]);
    }
    return 0;
}
