#include "update/service_address.h"

namespace jc {

ServiceAddress ServiceAddressFrom(std::string_view setting) {
  ServiceAddress address;
  Text value = TrimSpaces(setting);
  while (!value.empty() && value.back() == '/') value.pop_back();
  if (value.empty()) {
    address.root = Text(kDefaultServiceRoot);
  } else if (FindText(value, "://") == -1) {
    address.root = "http://" + value + "/himawari8";
  } else {
    address.root = value;
  }
  address.documentUrl = address.root + "/img/FULL_24h/latest.json";
  address.imageBaseUrl = address.root + "/img/D531106/thumbnail/550/";
  return address;
}

}  // namespace jc
