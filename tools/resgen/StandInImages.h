#pragma once
// Runtime images that stand in for the Win32 runtimes until they are built: a few hundred
// bytes with the "MZ" signature, a note saying what they are, the size marker and, for an
// installer, the seed marker. Windows refuses to start them; the builder treats them as
// the real thing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sw::resgen {

// seed: the installer's seed for its seed marker; none for an uninstaller, which has none.
std::vector<std::uint8_t> MakeStandInImage(const std::string& note, std::optional<std::uint32_t> seed);

// Why an image cannot serve as a runtime (it has no size marker, or its size slot is not
// zero or not inside the image), or empty when it can.
std::string CheckRuntimeImage(const std::vector<std::uint8_t>& image);

}  // namespace sw::resgen
