#include "update/locator.h"

#include "update/service_address.h"
#include "web/web_request.h"

namespace jc {

Text LocateLatestImage() {
  return LocateLatestImage(ConfiguredServiceAddress().documentUrl,
                           [](const Text& url) { return WebRequest(url); });
}

}  // namespace jc
