// Header values and the URL decomposition that the web request routine connects with.
// Pure routines over GBK texts (see common/text.h).
#pragma once

#include <optional>

#include "common/text.h"

namespace jc {

// Everything after the first colon, trimmed; empty when there is no colon. On a text of several
// lines the later lines come along.
Text HeaderValue(std::string_view text);

// The host of `url`, lower-cased, without the port unless `keepPort`. Without `levels` the host
// is what follows the scheme up to the next "/", and `mainDomain` keeps its last two labels.
// With `levels` the host keeps `levels` + 1 labels (`mainDomain`) or `levels` + 2 labels.
Text UrlHost(std::string_view url, bool mainDomain = false, bool keepPort = false,
             std::optional<int> levels = std::nullopt);

// The port written in the URL, else 443 for "https" and 80 for anything else.
int UrlPort(std::string_view url);

// Path, query and fragment as written, from the first "/" after the host; "/" when none.
Text UrlPath(std::string_view url);

}  // namespace jc
