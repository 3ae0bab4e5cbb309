#include "web/cookies.h"

#include <algorithm>

namespace jc {

Text CookieName(std::string_view entry) {
  int equals = FindText(entry, "=");
  return TrimSpaces(equals == -1 ? entry : entry.substr(0, static_cast<size_t>(equals) - 1));
}

bool HasCookieName(const TextList& entries, std::string_view name) {
  for (const Text& entry : entries) {
    if (CookieName(entry) == name) return true;
  }
  return false;
}

int IndexOfText(const TextList& entries, std::string_view text) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == text) return static_cast<int>(i + 1);
  }
  return -1;
}

Text JoinDistinct(std::string_view text, std::string_view separator) {
  TextList kept;
  Text result;
  for (Text& piece : SplitText(text, separator)) {
    if (IndexOfText(kept, piece) != -1) continue;
    result += piece;
    result += separator;
    kept.push_back(std::move(piece));
  }
  result.resize(result.size() - std::min(result.size(), separator.size()));
  return result;
}

Text MergeCookies(Text& submitted, Text& collected) {
  submitted = RemoveSpaces(submitted);
  collected = RemoveSpaces(collected);
  TextList merged = SplitText(collected, ";");
  // The list grows while the old entries are visited, so of several old entries with one name
  // only the first can join.
  for (const Text& old : SplitText(submitted, ";")) {
    if (!HasCookieName(merged, CookieName(old))) merged.push_back(old);
  }
  Text joined;
  for (const Text& entry : merged) {
    if (RightText(entry, 8) == "=deleted") continue;
    joined += entry;
    joined += "; ";
  }
  joined.resize(joined.size() - std::min<size_t>(joined.size(), 2));
  submitted = JoinDistinct(joined, "; ");
  return submitted;
}

}  // namespace jc
