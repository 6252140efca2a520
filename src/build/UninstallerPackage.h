#pragma once
// The uninstaller package: the uninstaller runtime image (its size marker set) followed
// by its texts, the registry keys to remove and the end record.
#include <cstdint>
#include <span>
#include <string>

#include "model/Data.h"

namespace sw {

std::string BuildUninstallerPackage(std::span<const std::uint8_t> runtimeImage, const CData& data);

// The root code of a registry key and the rest of the key after its root; a key whose
// first part names no known root keeps all of its text with root code 0.
std::pair<std::uint32_t, std::string> SplitRegistryKey(const std::string& key);

}  // namespace sw
