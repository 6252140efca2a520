#pragma once
// `setwright-cli list` and `verify`: what an installation program holds, and whether every
// file in it decodes to its size and check value.
#include <cstdint>
#include <string>

namespace sw {

int ListProgram(const std::string& path);
int VerifyProgram(const std::string& path);
// Rewrites the program (and its follow-on volumes) so that the program and each volume hold
// at most `bytes` bytes of the data section, in the layout a build onto small disks writes.
int SplitProgram(const std::string& path, std::uint64_t bytes);

}  // namespace sw
