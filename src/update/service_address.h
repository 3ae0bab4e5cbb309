// Where the image service lives. The settings file may name it (section "服务", key "地址");
// the program reads that value and never writes it, and the locator and the update job both
// take their URLs from here, read afresh at each job so an edit counts from the next update.
#pragma once

#include "common/text.h"

namespace jc {

inline constexpr std::string_view kDefaultServiceRoot = "https://himawari8.nict.go.jp";
inline constexpr std::string_view kServiceSection = "\xB7\xFE\xCE\xF1";  // "服务"
inline constexpr std::string_view kServiceKey = "\xB5\xD8\xD6\xB7";      // "地址"

struct ServiceAddress {
  Text root;          // scheme, host, optional port and path prefix; no trailing "/"
  Text documentUrl;   // the latest-image document
  Text imageBaseUrl;  // thumbnails: this, then e.g. "2019/05/31/092000_0_0.png"
};

// From the setting's value: empty means the public service; a value without "://" is a bare
// host of the service's original plain-HTTP form ("http://" + host + "/himawari8"); a full
// URL is taken as the root. Trailing slashes are dropped.
ServiceAddress ServiceAddressFrom(std::string_view setting);

// The address configured in the data directory's settings file (Windows build).
ServiceAddress ConfiguredServiceAddress();

}  // namespace jc
