// libFuzzer target over the text and URL routines. Besides crashes and sanitizer reports it
// checks properties that any correct result has, so a wrong position or a lost byte is found
// too. Input: one byte of switches, one byte giving the search text's length, the search text,
// then the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/text.h"
#include "web/url.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool ignoreCase = data[0] & 1;
  const int start = static_cast<int8_t>(data[0]) >> 1;
  size_t searchLength = std::min<size_t>(data[1] % 8, size - 2);
  const std::string search(reinterpret_cast<const char*>(data) + 2, searchLength);
  const std::string text(reinterpret_cast<const char*>(data) + 2 + searchLength,
                         size - 2 - searchLength);
  const int length = static_cast<int>(text.size());
  auto matchesAt = [&](int p) {
    std::string_view at = std::string_view(text).substr(static_cast<size_t>(p) - 1, search.size());
    return ignoreCase ? SameIgnoringCase(at, search) : at == search;
  };

  int p = jc::FindText(text, search, start, ignoreCase);
  Check(p == -1 || (p >= 1 && p <= length));
  if (p > 0 && !search.empty()) Check(p >= start && matchesAt(p));

  int r = jc::FindTextReverse(text, search, start, ignoreCase);
  Check(r == -1 || (r >= 1 && r <= length));
  if (r > 0 && !search.empty()) Check(r - 1 + static_cast<int>(search.size()) < start && matchesAt(r));
  if (jc::FindTextReverse(text, search) > 0 && !search.empty()) {
    Check(jc::FindText(text, search) != -1);  // a last match implies a first one
  }

  Check(jc::ReplaceText(text, search, search, start, -1, true) == text);
  Check(jc::ReplaceText(text, search, "x", start, 0) == text);

  jc::TextList pieces = jc::SplitText(text, search.empty() ? "," : search);
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? (search.empty() ? "," : search) : "") + pieces[i];
  Check(joined == text || joined + (search.empty() ? "," : search) == text);

  std::string trimmed = jc::TrimSpaces(text);
  Check(jc::TrimSpaces(trimmed) == trimmed);
  Check(jc::RemoveSpaces(trimmed) == jc::RemoveSpaces(text));
  Check(jc::LowerCase(text).size() == text.size());
  jc::TextToInteger(text);

  std::string between = jc::TextBetween(text, search, "\"", start, ignoreCase);
  Check(between.empty() || text.find(between) != std::string::npos);

  jc::HeaderValue(text);
  Check(jc::UrlPath(text).rfind('/', 0) == 0);
  jc::UrlPort(text);
  jc::UrlHost(text, ignoreCase, data[0] & 2, (data[0] & 4) ? std::optional<int>(start) : std::nullopt);
  return 0;
}
