// GBK byte texts shared by every subsystem. The system holds all its texts as code page 936
// bytes, so they are written here byte for byte with the Chinese in a comment; a native test
// converts the Chinese back from UTF-8 and pins each constant.
#pragma once

#include <string_view>

namespace jc::gbk {

inline constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // "　"
inline constexpr std::string_view kQuoteWord = "#\xD2\xFD\xBA\xC5";  // "#引号", a double quote in markers
inline constexpr std::string_view kProgramName = "\xF6\xAB\xB4\xB0";  // "霁窗"

}  // namespace jc::gbk
