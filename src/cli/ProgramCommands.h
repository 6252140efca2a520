#pragma once
// `setwright-cli list` and `verify`: what an installation program holds, and whether every
// file in it decodes to its size and check value.
#include <string>

namespace sw {

int ListProgram(const std::string& path);
int VerifyProgram(const std::string& path);

}  // namespace sw
