// What the fuzz targets share: a property check that stops the run with its name, and GBK
// scanning of their own (independent of the code under test) for the properties.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace jc::fuzz {

inline void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

// Length of the GBK character at byte i: 1 below 0x80, 2 for a lead byte with its second
// byte, 0 for a lead byte at the very end (the scan ends there).
inline size_t CharLength(std::string_view text, size_t i) {
  if (static_cast<unsigned char>(text[i]) < 0x80) return 1;
  return i + 1 < text.size() ? 2 : 0;
}

// Byte index of the first occurrence of `search` that starts on a character boundary at or
// after `from` (itself a boundary), or npos.
inline size_t FindOnBoundary(std::string_view text, std::string_view search, size_t from = 0) {
  for (size_t i = from; i < text.size();) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (text.compare(i, search.size(), search) == 0) return i;
    i += length;
  }
  return std::string_view::npos;
}

}  // namespace jc::fuzz
