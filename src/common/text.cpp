#include "common/text.h"

#include <algorithm>
#include <climits>

#include "common/gbk.h"

namespace jc {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the character at byte index i (0-based), or 0 for a lead byte without its second
// byte: the scan ends there.
size_t CharLength(std::string_view text, size_t i) {
  if (!IsLeadByte(static_cast<unsigned char>(text[i]))) return 1;
  return i + 1 < text.size() ? 2 : 0;
}

// Compares `search` with the text at byte i. Ignoring case folds ASCII letters only: both
// bytes of a double-byte character are compared exactly, since its second byte may look like a
// letter.
bool MatchesAt(std::string_view text, size_t i, std::string_view search, bool ignoreCase) {
  if (search.size() > text.size() - i) return false;
  for (size_t k = 0; k < search.size(); ++k) {
    char a = text[i + k], b = search[k];
    if (a == b) {
      if (IsLeadByte(static_cast<unsigned char>(a)) && k + 1 < search.size()) {
        ++k;
        if (text[i + k] != search[k]) return false;
      }
      continue;
    }
    if (!ignoreCase || IsLeadByte(static_cast<unsigned char>(a)) || AsciiLower(a) != AsciiLower(b)) {
      return false;
    }
  }
  return true;
}

// A search text with its first byte in both letter cases, so most positions are ruled out by
// one comparison.
struct Matcher {
  Matcher(std::string_view search, bool ignoreCase)
      : search(search),
        ignoreCase(ignoreCase),
        first(search.empty() ? 0 : search[0]),
        firstOther(ignoreCase && !search.empty() ? OtherCase(search[0]) : first) {}

  bool At(std::string_view text, size_t i) const {
    return (text[i] == first || text[i] == firstOther) && MatchesAt(text, i, search, ignoreCase);
  }

  static char OtherCase(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return c;
  }

  std::string_view search;
  bool ignoreCase;
  char first, firstOther;
};

bool IsSpaceAt(std::string_view text, size_t i, size_t length) {
  if (length == 1) return text[i] == ' ';
  return text.substr(i, 2) == gbk::kFullWidthSpace;
}

size_t ClampStart(int start) { return start < 1 ? 0 : static_cast<size_t>(start) - 1; }

}  // namespace

Text TextFromBytes(const Bytes& bytes) { return Text(bytes.begin(), bytes.end()); }

Bytes BytesFromText(std::string_view text) { return Bytes(text.begin(), text.end()); }

int FindText(std::string_view text, std::string_view search, int start, bool ignoreCase) {
  size_t i = ClampStart(start);
  if (i >= text.size()) return -1;
  if (search.empty()) return 1;
  const Matcher matcher(search, ignoreCase);
  while (i < text.size()) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (matcher.At(text, i)) return static_cast<int>(i + 1);
    i += length;
  }
  return -1;
}

int FindTextReverse(std::string_view text, std::string_view search, std::optional<int> start,
                    bool ignoreCase) {
  size_t region = text.size();
  if (start) {
    if (*start <= 1) return -1;
    region = std::min(region, static_cast<size_t>(*start) - 1);
  }
  if (region == 0) return -1;
  if (search.empty()) return 1;
  if (search.size() > region) return -1;
  int last = -1;
  const Matcher matcher(search, ignoreCase);
  // Matches may start only on character boundaries of the whole text, and must end inside the
  // region.
  for (size_t i = 0; i + search.size() <= region;) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (matcher.At(text, i)) last = static_cast<int>(i + 1);
    i += length;
  }
  return last;
}

Text LeftText(std::string_view text, int count) {
  if (count <= 0) return {};
  return Text(text.substr(0, static_cast<size_t>(count)));
}

Text RightText(std::string_view text, int count) {
  if (count <= 0) return {};
  size_t n = std::min(text.size(), static_cast<size_t>(count));
  return Text(text.substr(text.size() - n));
}

Text MidText(std::string_view text, int start, int count) {
  if (start < 1 || static_cast<size_t>(start) > text.size() || count <= 0) return {};
  return Text(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count)));
}

Text ReplaceText(std::string_view text, std::string_view search, std::string_view replacement,
                 int start, int count, bool caseSensitive) {
  size_t i = ClampStart(start);
  if (text.empty() || search.empty() || i >= text.size() || count == 0) return Text(text);
  const Matcher matcher(search, !caseSensitive);
  Text result;
  result.reserve(text.size());
  size_t copied = 0;  // bytes before this are in `result`; unmatched runs are copied in bulk
  while (i < text.size() && count != 0) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (matcher.At(text, i)) {
      result.append(text, copied, i - copied);
      result += replacement;
      i += search.size();
      copied = i;
      if (count > 0) --count;
    } else {
      i += length;
    }
  }
  result.append(text.substr(copied));  // the rest, a dangling lead byte included
  return result;
}

TextList SplitText(std::string_view text, std::string_view separator, std::optional<int> maxCount) {
  TextList pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t limit = SIZE_MAX;
  if (maxCount) limit = *maxCount < 0 ? 0 : static_cast<size_t>(*maxCount);
  if (limit == 0) return pieces;
  const Matcher matcher(separator, false);
  size_t pieceStart = 0;
  for (size_t i = 0; i < text.size();) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (matcher.At(text, i)) {
      pieces.emplace_back(text.substr(pieceStart, i - pieceStart));
      if (pieces.size() == limit) return pieces;
      i += separator.size();
      pieceStart = i;
    } else {
      i += length;
    }
  }
  if (pieceStart < text.size()) pieces.emplace_back(text.substr(pieceStart));
  return pieces;
}

Text TrimSpaces(std::string_view text) {
  size_t first = text.size(), end = 0;  // the kept bytes: [first, end)
  for (size_t i = 0; i < text.size();) {
    size_t length = CharLength(text, i);
    if (length == 0) break;  // a dangling lead byte is left out
    if (!IsSpaceAt(text, i, length)) {
      if (first == text.size()) first = i;
      end = i + length;
    }
    i += length;
  }
  return first < end ? Text(text.substr(first, end - first)) : Text();
}

Text RemoveSpaces(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (!IsSpaceAt(text, i, length)) result.append(text, i, length);
    i += length;
  }
  return result;
}

Text LowerCase(std::string_view text) {
  Text result(text);
  for (size_t i = 0; i < result.size();) {
    size_t length = CharLength(result, i);
    if (length == 0) break;
    if (length == 1) result[i] = AsciiLower(result[i]);
    i += length;
  }
  return result;
}

int TextToInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

Text TextBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                 int start, bool ignoreCase) {
  Text left = ReplaceText(leftMarker, gbk::kQuoteWord, "\"", 1, -1, true);
  Text right = ReplaceText(rightMarker, gbk::kQuoteWord, "\"", 1, -1, true);
  int p = FindText(text, left, start, ignoreCase);
  if (p != -1) p += static_cast<int>(left.size());
  int q = FindText(text, right, p, ignoreCase);
  if (p == -1 || q == -1) return {};
  return MidText(text, p, q - p);
}

}  // namespace jc
