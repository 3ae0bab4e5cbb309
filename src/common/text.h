// Text primitives over GBK (code page 936) byte strings.
//
// Positions are 1-based byte positions; -1 means "not found". A byte of 0x80 or above is a
// lead byte and forms one character with the byte after it: every scanning routine steps over
// such a pair as a unit, so no match ever starts on a second byte (GBK second bytes include
// 0x5C '\' and the ASCII letters). A lead byte at the very end of a text ends the scan.
// Spaces are 0x20 and the full-width space A1 A1; tab, CR and LF are not spaces. Only ASCII
// letters have a letter case.
//
// Every routine is pure: it reads its arguments and returns a new value. All are linear in
// the length of the text (times the length of the search text for the searches).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jc {

using Text = std::string;                // GBK bytes; an empty text and an absent text are the same
using TextList = std::vector<Text>;      // index 1 of the system is element 0 here
using Bytes = std::vector<std::uint8_t>;  // response bodies, image files

Text TextFromBytes(const Bytes& bytes);  // all bytes, NULs included
Bytes BytesFromText(std::string_view text);

// Position of the first match at or after `start` (below 1 counts as 1), or -1. An empty
// search text gives 1 (not `start`) when at least one byte is left to search.
int FindText(std::string_view text, std::string_view search, int start = 1,
             bool ignoreCase = false);

// Position of the last match lying wholly within the first `start` - 1 bytes (the whole text
// when `start` is absent), or -1. Feeding the result back as `start` finds the one before.
int FindTextReverse(std::string_view text, std::string_view search,
                    std::optional<int> start = std::nullopt, bool ignoreCase = false);

// Plain byte counts: these may cut a double-byte character.
Text LeftText(std::string_view text, int count);
Text RightText(std::string_view text, int count);
Text MidText(std::string_view text, int start, int count);

// Replaces matches left to right from `start`; the inserted text is not searched again.
// A negative count sets no limit, 0 replaces nothing. Note the default: letter case ignored.
Text ReplaceText(std::string_view text, std::string_view search, std::string_view replacement = {},
                 int start = 1, int count = -1, bool caseSensitive = false);

// Pieces between separators. A leading or doubled separator makes an empty piece, a trailing
// one makes none. With `maxCount` N, splitting stops after N pieces taken at separators and
// the rest is dropped.
TextList SplitText(std::string_view text, std::string_view separator = ",",
                   std::optional<int> maxCount = std::nullopt);

Text TrimSpaces(std::string_view text);
Text RemoveSpaces(std::string_view text);
Text LowerCase(std::string_view text);

// Leading white space, an optional sign, ASCII digits up to the first other byte; no digit
// gives 0. Values beyond the 32-bit range saturate.
int TextToInteger(std::string_view text);

// The text between the first `leftMarker` at or after `start` and the next `rightMarker`, or
// empty. In both markers "#引号" stands for a double quote.
Text TextBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                 int start = 1, bool ignoreCase = false);

}  // namespace jc
