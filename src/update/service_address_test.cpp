#include "update/service_address.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

struct AddressCase {
  const char* setting;
  const char* documentUrl;
  const char* imageBaseUrl;
};

class ServiceAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(ServiceAddressTest, BuildsBothUrlsFromOneRoot) {
  ServiceAddress address = ServiceAddressFrom(GetParam().setting);
  EXPECT_EQ(address.documentUrl, GetParam().documentUrl);
  EXPECT_EQ(address.imageBaseUrl, GetParam().imageBaseUrl);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServiceAddressTest,
    testing::Values(
        AddressCase{"", "https://himawari8.nict.go.jp/img/FULL_24h/latest.json",
                    "https://himawari8.nict.go.jp/img/D531106/thumbnail/550/"},
        AddressCase{"   ", "https://himawari8.nict.go.jp/img/FULL_24h/latest.json",
                    "https://himawari8.nict.go.jp/img/D531106/thumbnail/550/"},
        // A bare host gives the original plain-HTTP addresses.
        AddressCase{"himawari8-dl.nict.go.jp",
                    "http://himawari8-dl.nict.go.jp/himawari8/img/FULL_24h/latest.json",
                    "http://himawari8-dl.nict.go.jp/himawari8/img/D531106/thumbnail/550/"},
        AddressCase{"127.0.0.1:8080/", "http://127.0.0.1:8080/himawari8/img/FULL_24h/latest.json",
                    "http://127.0.0.1:8080/himawari8/img/D531106/thumbnail/550/"},
        AddressCase{"https://himawari8.nict.go.jp/",
                    "https://himawari8.nict.go.jp/img/FULL_24h/latest.json",
                    "https://himawari8.nict.go.jp/img/D531106/thumbnail/550/"},
        AddressCase{"http://127.0.0.1:5000/mirror//", "http://127.0.0.1:5000/mirror/img/FULL_24h/latest.json",
                    "http://127.0.0.1:5000/mirror/img/D531106/thumbnail/550/"}));

}  // namespace
}  // namespace jc
