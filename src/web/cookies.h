// Cookie texts: merging the cookies a request sent with those its response set, so that the
// next request of a caller carries the server's view. Pure routines over GBK texts.
#pragma once

#include "common/text.h"

namespace jc {

// Entries of both texts are separated by ";" on input. The result lists the collected entries
// in order, then the submitted entries whose names the response did not set; entries ending
// in "=deleted" are dropped, and so are byte-identical repeats. Both arguments are in/out:
// spaces are removed from each, and `submitted` receives the result.
Text MergeCookies(Text& submitted, Text& collected);

// Bytes before the first "=" (the whole entry when there is none), trimmed.
Text CookieName(std::string_view entry);
bool HasCookieName(const TextList& entries, std::string_view name);

// Split at `separator`, keep the first of identical pieces, join again with `separator`.
Text JoinDistinct(std::string_view text, std::string_view separator);

// 1-based index of the first entry equal to `text` byte for byte, or -1.
int IndexOfText(const TextList& entries, std::string_view text);

}  // namespace jc
