// Widening GBK texts to UTF-16, for the platform calls that take wide strings only.
#pragma once

#include <string>
#include <string_view>

namespace jc {

// The UTF-16 units of a code page 936 text, without a terminator; whatever the system's own
// ANSI code page is. Bytes that are no GBK come out as the converter's replacement.
std::u16string WidenCodePage936(std::string_view text);

}  // namespace jc
