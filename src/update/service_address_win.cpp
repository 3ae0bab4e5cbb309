#include "update/service_address.h"

#include "common/paths_win.h"

namespace jc {

ServiceAddress ConfiguredServiceAddress() {
  return ServiceAddressFrom(ReadIniText(SettingsFilePath(), kServiceSection, kServiceKey));
}

}  // namespace jc
