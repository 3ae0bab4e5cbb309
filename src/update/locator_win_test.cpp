// The locator and the configured service address against a loopback image service, with the
// address read from the data directory's settings file as the program reads it.
#include "update/locator.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "common/paths_win.h"
#include "tests/support/loopback_server_win.h"
#include "update/service_address.h"

namespace jc {
namespace {

using test::LoopbackServer;

// Writes the data directory's settings file for one test and removes it afterwards.
class SettingsFile {
 public:
  explicit SettingsFile(const std::string& bytes) {
    ::CreateDirectoryA(DataDirectory().c_str(), nullptr);
    std::ofstream(SettingsFilePath(), std::ios::binary) << bytes;
  }
  ~SettingsFile() {
    ::DeleteFileA(SettingsFilePath().c_str());
    ::RemoveDirectoryA(DataDirectory().c_str());
  }
};

// "[服务]\r\n地址=<value>\r\n" in GBK, beside the program's own section.
std::string ServiceSection(const std::string& value) {
  return "[\xC9\xE8\xD6\xC3]\r\n\xC9\xE8\xD6\xC3\xB1\xDA\xD6\xBD=\xD5\xE6\r\n"  // [设置] 设置壁纸=真
         "[" + std::string(kServiceSection) + "]\r\n" + std::string(kServiceKey) + "=" + value +
         "\r\n";
}

TEST(ServiceAddressWinTest, WithoutSettingsFileThePublicServiceIsUsed) {
  ::DeleteFileA(SettingsFilePath().c_str());
  EXPECT_EQ(ConfiguredServiceAddress().documentUrl,
            "https://himawari8.nict.go.jp/img/FULL_24h/latest.json");
}

TEST(ServiceAddressWinTest, FileWithoutTheKeyUsesThePublicService) {
  SettingsFile file("[\xC9\xE8\xD6\xC3]\r\nx=1\r\n");
  EXPECT_EQ(ConfiguredServiceAddress().root, "https://himawari8.nict.go.jp");
}

TEST(ServiceAddressWinTest, ReadsTheGbkSectionAndKey) {
  SettingsFile file(ServiceSection("http://127.0.0.1:1234/"));
  ServiceAddress address = ConfiguredServiceAddress();
  EXPECT_EQ(address.documentUrl, "http://127.0.0.1:1234/img/FULL_24h/latest.json");
  EXPECT_EQ(address.imageBaseUrl, "http://127.0.0.1:1234/img/D531106/thumbnail/550/");
}

TEST(LocatorWinTest, BareHostFetchesTheOriginalDocumentPath) {
  LoopbackServer server([](const std::string&) {
    return LoopbackServer::Response("{\"date\":\"2019-05-31 09:20:00\",\"file\":\"PI_H08\"}");
  });
  SettingsFile file(ServiceSection("127.0.0.1:" + std::to_string(server.port())));

  EXPECT_EQ(LocateLatestImage(), "2019/05/31/092000_0_0.png");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].rfind("GET /himawari8/img/FULL_24h/latest.json HTTP/1.1\r\n", 0),
            0u);
}

TEST(LocatorWinTest, UnreachableServiceGivesTheSuffixAlone) {
  SettingsFile file(ServiceSection("127.0.0.1:" + std::to_string(LoopbackServer::UnusedPort())));
  EXPECT_EQ(LocateLatestImage(), "_0_0.png");
}

}  // namespace
}  // namespace jc
