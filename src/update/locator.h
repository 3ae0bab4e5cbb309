// Finding the newest full-disk image: the service's latest-image document names its
// observation time as the first string value, which becomes the image's path.
#pragma once

#include <functional>
#include <optional>

#include "common/text.h"

namespace jc {

inline constexpr std::string_view kImageSuffix = "_0_0.png";

// Fetches a URL and returns the body, empty on any failure.
using FetchFunction = std::function<Bytes(const Text& url)>;

// The path of the newest image relative to the image base URL, e.g. "2019/05/31/092000_0_0.png"
// for "2019-05-31 09:20:00"; "_0_0.png" alone when the document holds no value. Never fails and
// keeps no state. The date is not checked: whatever the first string value is gets rewritten.
Text LatestImagePath(const Bytes& document);

// Fetches `documentUrl` through `fetch` and reads it with `LatestImagePath`.
Text LocateLatestImage(const Text& documentUrl, const FetchFunction& fetch);

// The system's locator: the configured service, fetched with `WebRequest` (Windows build).
// Runs on the update job's worker thread.
Text LocateLatestImage();

// Up to five find-and-replace pairs applied one after another, each on the result of the one
// before; `start` (0 counts as 1) and `count` (absent: no limit) apply to each pair afresh.
// Letter case is ignored unless `caseSensitive`. An omitted pair changes nothing.
Text BatchReplace(std::string_view text, std::optional<int> count, int start, bool caseSensitive,
                  std::string_view find1, std::string_view replace1,
                  std::string_view find2 = {}, std::string_view replace2 = {},
                  std::string_view find3 = {}, std::string_view replace3 = {},
                  std::string_view find4 = {}, std::string_view replace4 = {},
                  std::string_view find5 = {}, std::string_view replace5 = {});

}  // namespace jc
