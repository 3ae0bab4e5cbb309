// MD5, to recognise one known file by its digest (not for security).
#pragma once

#include <array>
#include <cstdint>

#include "common/text.h"

namespace jc {

using Md5Digest = std::array<std::uint8_t, 16>;

Md5Digest Md5(const Bytes& bytes);

// Lower-case hexadecimal, 32 characters.
Text Md5Hex(const Bytes& bytes);

}  // namespace jc
