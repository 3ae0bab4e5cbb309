// libFuzzer target over the cookie texts: merging the submitted cookies with the collected
// ones, and reading the returned cookies out of a raw header block. Besides crashes and
// sanitizer reports it checks properties that any correct result has, using GBK scanning of
// its own (a byte of 0x80 or above starts a two-byte character; separators and spaces count
// only on character boundaries). Input: one byte giving the submitted text's length, the
// submitted text, then the collected text. The header block is everything after the length
// byte.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "web/cookies.h"
#include "web/web_request.h"
#include "fuzz_checks.h"

namespace {

using jc::fuzz::CharLength;
using jc::fuzz::Check;
using jc::fuzz::FindOnBoundary;

using Entries = std::vector<std::string>;

bool IsSpace(std::string_view text, size_t i, size_t length) {
  return length == 1 ? text[i] == ' ' : text.substr(i, 2) == "\xA1\xA1";
}

bool Contains(std::string_view text, std::string_view search) {
  return FindOnBoundary(text, search) != std::string_view::npos;
}

// Pieces between separators: a leading or doubled separator makes an empty piece, a trailing
// one makes none, an empty text has none.
Entries Split(std::string_view text, std::string_view separator) {
  Entries pieces;
  size_t pieceStart = 0;
  for (size_t i = 0; i < text.size();) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (text.compare(i, separator.size(), separator) == 0) {
      pieces.emplace_back(text.substr(pieceStart, i - pieceStart));
      i += separator.size();
      pieceStart = i;
    } else {
      i += length;
    }
  }
  if (pieceStart < text.size()) pieces.emplace_back(text.substr(pieceStart));
  return pieces;
}

std::string Join(const Entries& entries, std::string_view separator) {
  std::string joined;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i) joined += separator;
    joined += entries[i];
  }
  return joined;
}

Entries NonEmpty(Entries entries) {
  entries.erase(std::remove(entries.begin(), entries.end(), std::string()), entries.end());
  return entries;
}

std::string Trim(std::string_view text) {
  size_t first = text.size(), end = 0;
  for (size_t i = 0; i < text.size();) {
    size_t length = CharLength(text, i);
    if (length == 0) break;
    if (!IsSpace(text, i, length)) {
      if (first == text.size()) first = i;
      end = i + length;
    }
    i += length;
  }
  return first < end ? std::string(text.substr(first, end - first)) : std::string();
}

// Entries of a merge have their spaces removed already, so the name is the bytes before the
// first "=".
std::string Name(std::string_view entry) {
  return std::string(entry.substr(0, FindOnBoundary(entry, "=")));
}

bool IsDeleted(std::string_view entry) {
  return entry.size() >= 8 && entry.substr(entry.size() - 8) == "=deleted";
}

bool Has(const Entries& entries, std::string_view entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// The merge result lists, after the collected entries, submitted entries only: each taken
// from the submitted text in its order, none with a name the response set, no two with one
// name; and every submitted entry that is the first of its name, is not deleted and whose name
// the response did not set is among them.
void CheckMerge(const std::string& submittedIn, const std::string& collectedIn) {
  std::string submitted = submittedIn, collected = collectedIn;
  const jc::Text merged = jc::MergeCookies(submitted, collected);
  Check(submitted == merged, "the merge result is left in the submitted text");
  Check(collected == jc::RemoveSpaces(collectedIn), "the collected text loses its spaces only");

  const Entries fromCollected = Split(collected, ";");
  const Entries fromSubmitted = Split(jc::RemoveSpaces(submittedIn), ";");
  Entries collectedNames;
  for (const std::string& entry : fromCollected) collectedNames.push_back(Name(entry));
  const Entries result = NonEmpty(Split(merged, "; "));

  for (size_t i = 0; i < result.size(); ++i) {
    Check(!IsDeleted(result[i]), "no merged entry ends in =deleted");
    Check(!Has(Entries(result.begin(), result.begin() + i), result[i]),
          "no merged entry repeats an earlier one byte for byte");
  }

  Entries expectedHead;
  for (const std::string& entry : NonEmpty(fromCollected)) {
    if (!IsDeleted(entry) && !Has(expectedHead, entry)) expectedHead.push_back(entry);
  }
  Check(result.size() >= expectedHead.size() &&
            std::equal(expectedHead.begin(), expectedHead.end(), result.begin()),
        "the merge starts with the collected entries in order");

  const Entries tail(result.begin() + expectedHead.size(), result.end());
  Entries tailNames;
  size_t searchFrom = 0;
  for (const std::string& entry : tail) {
    auto at = std::find(fromSubmitted.begin() + searchFrom, fromSubmitted.end(), entry);
    Check(at != fromSubmitted.end(), "later entries come from the submitted text, in its order");
    searchFrom = static_cast<size_t>(at - fromSubmitted.begin()) + 1;
    Check(!Has(collectedNames, Name(entry)), "no submitted entry has a name the response set");
    Check(!Has(tailNames, Name(entry)), "no two submitted entries share a name");
    tailNames.push_back(Name(entry));
  }

  Entries seenNames;
  for (const std::string& entry : fromSubmitted) {
    bool firstOfName = !Has(seenNames, Name(entry));
    seenNames.push_back(Name(entry));
    if (entry.empty() || IsDeleted(entry) || !firstOfName || Has(collectedNames, Name(entry))) {
      continue;
    }
    Check(Has(tail, entry), "a first, live submitted entry of a name not set is kept");
  }

  // The result as the collected text of a request that submitted nothing lists the same
  // entries again.
  std::string none, again = merged;
  Check(NonEmpty(Split(jc::MergeCookies(none, again), "; ")) == result,
        "merging the result as collected cookies changes no entry");
}

// Same length; bytes differ only in letter case and only inside a "Set-Cookie" occurrence;
// every occurrence in any letter case on a character boundary is spelt "Set-Cookie".
void CheckNormalised(std::string_view raw, const std::string& normalised) {
  Check(normalised.size() == raw.size(), "normalising keeps the length");
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  std::vector<bool> inOccurrence(normalised.size(), false);
  const std::string_view word = "Set-Cookie";
  for (size_t i = 0; i < normalised.size();) {
    size_t length = CharLength(normalised, i);
    if (length == 0) break;
    if (normalised.size() - i >= word.size()) {
      bool same = true;
      for (size_t k = 0; k < word.size() && same; ++k) same = lower(normalised[i + k]) == lower(word[k]);
      if (same) {
        Check(normalised.compare(i, word.size(), word) == 0,
              "every set-cookie on a boundary is spelt Set-Cookie");
        std::fill(inOccurrence.begin() + i, inOccurrence.begin() + i + word.size(), true);
      }
    }
    i += length;
  }
  for (size_t i = 0; i < normalised.size(); ++i) {
    if (normalised[i] == raw[i]) continue;
    Check(lower(normalised[i]) == lower(raw[i]) && inOccurrence[i],
          "normalising changes only the letter case of Set-Cookie occurrences");
  }
  Check(jc::NormaliseSetCookie(normalised) == normalised, "normalising twice changes nothing");
}

// Each line holding "Set-Cookie" gives one entry, the others none, and the result joins the
// lines' entries in header order. An entry holds no ";" (only the first pair is taken), no
// CR LF, and starts and ends with no space.
// Not checked: that a line starting "Set-Cookie:" gives exactly its first pair. A line with
// no ";" has every "Set-Cookie:" in any letter case removed from it, its value's included
// ("Set-Cookie: a=set-cookie:1" gives "a=1", with "; path=/" after it "a=set-cookie:1").
void CheckCookiesFromHeaders(std::string_view headers) {
  const jc::Text cookies = jc::CookiesFromHeaders(headers);
  Entries perLine;
  for (const std::string& line : Split(headers, "\r\n")) {
    const jc::Text fromLine = jc::CookiesFromHeaders(line);
    if (!Contains(line, "Set-Cookie")) {
      Check(fromLine.empty(), "a line without Set-Cookie gives no cookie");
      continue;
    }
    Check(!Contains(fromLine, ";"), "a line's cookie holds no ;");
    Check(!Contains(fromLine, "\r\n"), "a line's cookie holds no CR LF");
    Check(Trim(fromLine) == fromLine, "a line's cookie is trimmed");
    perLine.push_back(fromLine);
  }
  Check(cookies == Join(perLine, "; "), "the cookies are the lines' cookies in order");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const char* rest = reinterpret_cast<const char*>(data) + 1;
  const size_t restSize = size - 1;
  const size_t submittedLength = std::min<size_t>(data[0], restSize);
  const std::string submitted(rest, submittedLength);
  const std::string collected(rest + submittedLength, restSize - submittedLength);
  CheckMerge(submitted, collected);

  const std::string_view headers(rest, restSize);
  const jc::Text normalised = jc::NormaliseSetCookie(headers);
  CheckNormalised(headers, normalised);
  CheckCookiesFromHeaders(headers);
  CheckCookiesFromHeaders(normalised);
  return 0;
}
