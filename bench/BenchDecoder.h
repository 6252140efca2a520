#pragma once
// Our decoder, as the benchmark calls it.
#include <stdexcept>
#include <string>

#include "core/StreamDecoder.h"

namespace sw::bench {

inline void DecodeOurs(const std::string& compressed, std::string& out)
{
    DecodeResult result = DecodeStream(reinterpret_cast<const std::uint8_t*>(compressed.data()), compressed.size(),
                                       reinterpret_cast<std::uint8_t*>(out.data()), out.size());
    if (result.status != DecodeStatus::ok) throw std::runtime_error(DecodeStatusName(result.status));
}

}  // namespace sw::bench
