#include "web/url.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

TEST(HeaderValueTest, TakesEverythingAfterTheFirstColonTrimmed) {
  EXPECT_EQ(HeaderValue("user-agent: X"), "X");
  EXPECT_EQ(HeaderValue("abc"), "");
  EXPECT_EQ(HeaderValue("Host: a:80  "), "a:80");
  EXPECT_EQ(HeaderValue("A: 1\r\nB: 2"), "1\r\nB: 2");  // later lines come along
}

struct HostCase {
  const char* url;
  bool mainDomain;
  bool keepPort;
  std::optional<int> levels;
  const char* expected;
};

class UrlHostTest : public testing::TestWithParam<HostCase> {};

TEST_P(UrlHostTest, FindsHost) {
  const HostCase& c = GetParam();
  EXPECT_EQ(UrlHost(c.url, c.mainDomain, c.keepPort, c.levels), c.expected)
      << c.url << " main " << c.mainDomain << " keepPort " << c.keepPort << " levels "
      << c.levels.value_or(-99);
}

constexpr std::nullopt_t kNoLevels = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlHostTest,
    testing::Values(
        HostCase{"http://A.B.C.D:8080/x", false, false, kNoLevels, "a.b.c.d"},
        HostCase{"http://A.B.C.D:8080/x", false, true, kNoLevels, "a.b.c.d:8080"},
        HostCase{"http://A.B.C.D:8080/x", true, false, kNoLevels, "c.d"},
        HostCase{"a.b.c.d/x", false, false, kNoLevels, "a.b.c.d"},
        HostCase{"HTTPS://Q.example.org", false, false, kNoLevels, "q.example.org"},
        HostCase{"https://himawari8.nict.go.jp/img/a.json", false, false, kNoLevels,
                 "himawari8.nict.go.jp"},
        HostCase{"http://127.0.0.1:5000", false, true, kNoLevels, "127.0.0.1:5000"},
        HostCase{"http://localhost/x", true, false, kNoLevels, "localhost"},  // one label
        HostCase{"", false, false, kNoLevels, ""},
        HostCase{"http://a.b.c.d/x", true, false, 1, "c.d"},
        HostCase{"http://a.b.c.d/x", false, false, 1, "b.c.d"},
        HostCase{"http://a.b.c.d/x", true, false, 0, "d"},
        HostCase{"http://a.b.c.d/x", false, false, 0, "c.d"},
        HostCase{"https://a.b.c.d:81/x", false, true, 0, "c.d:81"},
        HostCase{"http://b.c/x", false, false, 1, "b.c"},  // too few dots: the whole host
        HostCase{"http://b.c/x", true, false, 3, "b.c"},
        HostCase{"http://a.b/x", false, false, 2147483647, "a.b"}));  // stops once a step fails

struct PortCase {
  const char* url;
  int expected;
};

class UrlPortTest : public testing::TestWithParam<PortCase> {};

TEST_P(UrlPortTest, FindsPort) { EXPECT_EQ(UrlPort(GetParam().url), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, UrlPortTest,
                         testing::Values(PortCase{"http://q/", 80}, PortCase{"HTTPS://q", 443},
                                         PortCase{"http://q:81/", 81},
                                         PortCase{"https://q:8443/a:b", 8443},
                                         PortCase{"q:9000/x", 9000}));

struct PathCase {
  const char* url;
  const char* expected;
};

class UrlPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(UrlPathTest, FindsObjectName) { EXPECT_EQ(UrlPath(GetParam().url), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlPathTest,
    testing::Values(PathCase{"http://q", "/"}, PathCase{"http://q/a?b#c", "/a?b#c"},
                    PathCase{"http://Q/A", "/A"}, PathCase{"http://h/x", "/x"},
                    PathCase{"https://tp:81/y", "/y"}, PathCase{"http://host:8080/a/b?c=d", "/a/b?c=d"},
                    PathCase{"https://himawari8.nict.go.jp/img/FULL_24h/latest.json",
                             "/img/FULL_24h/latest.json"}));

}  // namespace
}  // namespace jc
