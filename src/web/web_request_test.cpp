#include "web/web_request.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

// Records the exchange it was handed and answers with a scripted outcome.
class ScriptedTransport final : public HttpTransport {
 public:
  explicit ScriptedTransport(HttpOutcome outcome) : outcome_(std::move(outcome)) {}
  HttpOutcome Perform(const HttpExchange& exchange) override {
    seen = exchange;
    ++calls;
    return outcome_;
  }
  HttpExchange seen;
  int calls = 0;

 private:
  HttpOutcome outcome_;
};

HttpOutcome Answer(std::string_view headers, std::string_view body = "") {
  return HttpOutcome{true, BytesFromText(body), Text(headers)};
}

const Text kDefaultTail =
    "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(PlanRequestTest, ThisProgramsGetRequest) {
  const Text url = "http://example.org/himawari8/img/FULL_24h/latest.json";
  HttpExchange plan = PlanRequest({url});
  EXPECT_EQ(plan.agent, kDefaultUserAgent);
  EXPECT_FALSE(plan.viaProxy);
  EXPECT_EQ(plan.proxyName, "");
  EXPECT_EQ(plan.host, "example.org");
  EXPECT_EQ(plan.port, 80);
  EXPECT_EQ(plan.method, "GET");
  EXPECT_EQ(plan.object, "/himawari8/img/FULL_24h/latest.json");
  EXPECT_EQ(plan.flags, 0x80004010u);
  EXPECT_EQ(plan.headers, "Accept: */*\r\nReferer: " + url + kDefaultTail);
  EXPECT_TRUE(plan.body.empty());
}

TEST(PlanRequestTest, MethodOutsideTheTableIsGet) {
  for (int method : {7, -1, 3}) {
    WebRequestArgs args{"http://h/", method, "x=1"};
    HttpExchange plan = PlanRequest(args);
    EXPECT_EQ(plan.method, "GET") << method;
    EXPECT_TRUE(plan.body.empty()) << method;
  }
  EXPECT_EQ(PlanRequest({"http://h/", 1}).method, "POST");
  EXPECT_EQ(PlanRequest({"http://h/", 2}).method, "HEAD");
}

struct FlagCase {
  const char* url;
  bool withCookies;
  bool noRedirect;
  std::uint32_t flags;
};

class FlagWordTest : public testing::TestWithParam<FlagCase> {};

TEST_P(FlagWordTest, CombinesFlags) {
  const FlagCase& c = GetParam();
  Text cookies;  // present but empty still counts as present
  WebRequestArgs args{c.url};
  args.cookies = c.withCookies ? &cookies : nullptr;
  args.noRedirect = c.noRedirect;
  EXPECT_EQ(PlanRequest(args).flags, c.flags) << std::hex << c.flags;
}

INSTANTIATE_TEST_SUITE_P(Cases, FlagWordTest,
                         testing::Values(FlagCase{"http://h/", false, false, 0x80004010},
                                         FlagCase{"http://h/", false, true, 0x80204010},
                                         FlagCase{"http://h/", true, false, 0x80084010},
                                         FlagCase{"http://h/", true, true, 0x80284010},
                                         FlagCase{"HTTPS://h/", false, false, 0x80800010},
                                         FlagCase{"https://h/", false, true, 0x80A00010},
                                         FlagCase{"https://h/", true, false, 0x80880010},
                                         FlagCase{"https://h/", true, true, 0x80A80010}));

TEST(PlanRequestTest, SecureUrlConnectsTo443) {
  HttpExchange plan = PlanRequest({"HTTPS://host/x"});
  EXPECT_EQ(plan.port, 443);
  EXPECT_EQ(plan.host, "host");
  EXPECT_NE(plan.flags & kFlagSecure, 0u);
}

TEST(PlanRequestTest, PortAndQueryInUrl) {
  HttpExchange plan = PlanRequest({"http://host:8080/a/b?c=d"});
  EXPECT_EQ(plan.host, "host");
  EXPECT_EQ(plan.port, 8080);
  EXPECT_EQ(plan.object, "/a/b?c=d");
  EXPECT_EQ(PlanRequest({"http://host"}).object, "/");
}

struct HeaderCase {
  const char* extraHeaders;
  const char* cookies;  // nullptr: absent
  const char* agent;    // nullptr: the default agent
  const char* headers;  // the whole block; "$url" stands for the URL, "$rest" for the lines
                        // after Accept that every block without them gets
};

class HeaderBlockTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderBlockTest, BuildsAgentAndBlock) {
  const HeaderCase& c = GetParam();
  const Text url = "http://h/p";
  Text extra = c.extraHeaders, cookies = c.cookies ? c.cookies : "";
  WebRequestArgs args{url};
  args.extraHeaders = &extra;
  args.cookies = c.cookies ? &cookies : nullptr;
  HttpExchange plan = PlanRequest(args);
  EXPECT_EQ(plan.agent, c.agent ? c.agent : kDefaultUserAgent);
  Text expected = ReplaceText(c.headers, "$rest", "\r\nReferer: $url" + kDefaultTail, 1, -1, true);
  EXPECT_EQ(plan.headers, ReplaceText(expected, "$url", url, 1, -1, true));
  EXPECT_EQ(extra, c.extraHeaders) << "planning leaves the caller's text alone";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderBlockTest,
    testing::Values(
        HeaderCase{"", nullptr, nullptr, "Accept: */*$rest"},
        HeaderCase{"User-Agent: X", nullptr, "X", "User-Agent: X\r\nAccept: */*$rest"},
        HeaderCase{"user-agent: X", nullptr, "X", "user-agent: X\r\nAccept: */*$rest"},
        // Another letter case falls back to the value of the whole block.
        HeaderCase{"X-A: 1\r\nuser-agent: Y", nullptr, "1\r\nuser-agent: Y",
                   "X-A: 1\r\nuser-agent: Y\r\nAccept: */*$rest"},
        HeaderCase{"X-A: 1\r\nUser-Agent:  Z \r\nX-B: 2", nullptr, "Z",
                   "X-A: 1\r\nUser-Agent:  Z \r\nX-B: 2\r\nAccept: */*$rest"},
        HeaderCase{"Accept: text/html", nullptr, nullptr, "Accept: text/html$rest"},
        // A caller's trailing line break stays in front of what is appended.
        HeaderCase{"Referer: r\r\nAccept-Language: en\r\nContent-Type: text/plain\r\n", nullptr,
                   nullptr, "Referer: r\r\nAccept-Language: en\r\nContent-Type: text/plain\r\n\r\nAccept: */*"},
        HeaderCase{"", "a=1", nullptr, "Accept: */*$rest\r\nCookie: a=1"},
        HeaderCase{"", "Cookie: a=1", nullptr, "Accept: */*$rest\r\nCookie: a=1"},
        HeaderCase{"", "", nullptr, "Accept: */*$rest"}));

TEST(PlanRequestTest, ProxyForm) {
  WebRequestArgs plain{"http://h/"};
  plain.proxy = "10.0.0.1:3128";
  HttpExchange exchange = PlanRequest(plain);
  EXPECT_TRUE(exchange.viaProxy);
  EXPECT_EQ(exchange.proxyName, "http=10.0.0.1:3128");
  WebRequestArgs secure{"https://h/"};
  secure.proxy = "10.0.0.1:3128";
  EXPECT_EQ(PlanRequest(secure).proxyName, "10.0.0.1:3128");
}

TEST(WebRequestTest, PostTextBecomesBodyAndFillsPostBytes) {
  ScriptedTransport transport(Answer("HTTP/1.1 200 OK\r\n\r\n", "ok"));
  Bytes postBytes;
  WebRequestArgs args{"http://h/form", 1, "x=1"};
  args.postBytes = &postBytes;
  EXPECT_EQ(WebRequest(transport, args), BytesFromText("ok"));
  EXPECT_EQ(transport.seen.body, BytesFromText("x=1"));
  EXPECT_EQ(postBytes, BytesFromText("x=1"));
}

TEST(WebRequestTest, PostBytesTakePrecedence) {
  ScriptedTransport transport(Answer("HTTP/1.1 200 OK\r\n\r\n"));
  Bytes postBytes = {0, 1, 2};
  WebRequestArgs args{"http://h/", 2, "ignored"};
  args.postBytes = &postBytes;
  WebRequest(transport, args);
  EXPECT_EQ(transport.seen.body, (Bytes{0, 1, 2}));
  EXPECT_EQ(postBytes, (Bytes{0, 1, 2}));
}

TEST(WebRequestTest, GetSendsNoBodyAndLeavesPostBytesEmpty) {
  ScriptedTransport transport(Answer("HTTP/1.1 200 OK\r\n\r\n"));
  Bytes postBytes;
  WebRequestArgs args{"http://h/", 0, "x=1"};
  args.postBytes = &postBytes;
  WebRequest(transport, args);
  EXPECT_TRUE(transport.seen.body.empty());
  EXPECT_TRUE(postBytes.empty());
}

TEST(WebRequestTest, WritesBackSentHeadersAndReturnedHeaders) {
  ScriptedTransport transport(
      Answer("HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n", "body"));
  Text extra = "X-A: 1", cookies, headers;
  WebRequestArgs args{"http://h/"};
  args.extraHeaders = &extra;
  args.returnedCookies = &cookies;
  args.returnedHeaders = &headers;
  EXPECT_EQ(WebRequest(transport, args), BytesFromText("body"));
  EXPECT_EQ(extra, transport.seen.headers);
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n");
}

TEST(WebRequestTest, FailedOpenLeavesEveryArgumentUntouched) {
  ScriptedTransport transport(HttpOutcome{});
  Text extra = "X-A: 1", cookies = "a=1", returnedCookies = "old", headers = "old";
  Bytes postBytes;
  WebRequestArgs args{"http://h/", 1, "x=1", &cookies, &returnedCookies, &extra, &headers};
  args.postBytes = &postBytes;
  EXPECT_TRUE(WebRequest(transport, args).empty());
  EXPECT_EQ(extra, "X-A: 1");
  EXPECT_EQ(cookies, "a=1");
  EXPECT_EQ(returnedCookies, "old");
  EXPECT_EQ(headers, "old");
  EXPECT_TRUE(postBytes.empty());
}

TEST(WebRequestTest, SuppliedCookiesAreMergedIntoBoth) {
  ScriptedTransport transport(Answer("HTTP/1.1 200 OK\r\nSet-Cookie: b=3; path=/\r\n"
                                     "Set-Cookie: a=deleted\r\n\r\n"));
  Text cookies = "a=1; b=2; c=5", returned;
  WebRequestArgs args{"http://h/"};
  args.cookies = &cookies;
  args.returnedCookies = &returned;
  WebRequest(transport, args);
  EXPECT_EQ(returned, "b=3; c=5");
  EXPECT_EQ(cookies, "b=3; c=5");
}

TEST(WebRequestTest, EmptyCookiesStillMerge) {
  ScriptedTransport transport(Answer("HTTP/1.1 200 OK\r\nSet-Cookie: x = 1 ; path=/\r\n\r\n"));
  Text cookies, returned;
  WebRequestArgs args{"http://h/"};
  args.cookies = &cookies;
  args.returnedCookies = &returned;
  WebRequest(transport, args);
  EXPECT_EQ(returned, "x=1");  // spaces removed: the merge ran
  EXPECT_EQ(cookies, "x=1");
}

TEST(WebRequestTest, MergingSwitchedOffKeepsSubmittedCookies) {
  ScriptedTransport transport(Answer("HTTP/1.1 200 OK\r\nSet-Cookie: b=3\r\n\r\n"));
  Text cookies = "a=1", returned;
  WebRequestArgs args{"http://h/"};
  args.cookies = &cookies;
  args.returnedCookies = &returned;
  args.autoMergeCookies = false;
  WebRequest(transport, args);
  EXPECT_EQ(returned, "b=3");
  EXPECT_EQ(cookies, "a=1");
}

struct CookieLinesCase {
  const char* headers;
  const char* cookies;
};

class CookiesFromHeadersTest : public testing::TestWithParam<CookieLinesCase> {};

TEST_P(CookiesFromHeadersTest, CollectsFirstPairOfEachSetCookie) {
  EXPECT_EQ(CookiesFromHeaders(NormaliseSetCookie(GetParam().headers)), GetParam().cookies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CookiesFromHeadersTest,
    testing::Values(CookieLinesCase{"HTTP/1.1 200 OK\r\nContent-Type: x\r\n\r\n", ""},
                    CookieLinesCase{"", ""},
                    CookieLinesCase{"SET-COOKIE: a=1; path=/\r\nsEt-CoOkIe: b=2", "a=1; b=2"},
                    CookieLinesCase{"Set-Cookie: a=1\r\nSet-Cookie: a=2; x", "a=1; a=2"},
                    CookieLinesCase{"Set-Cookie:   k=v  \r\n", "k=v"}));

TEST(FollowRedirectTest, NewTargetForEachKindOfLocation) {
  HttpExchange hop;
  hop.host = "a.example";
  hop.port = 80;
  hop.method = "GET";
  hop.object = "/img/x/latest.json?v=1";
  hop.flags = kFlagReload | kFlagIgnoreRedirectToHttps | kFlagNoAutoRedirect;
  hop.headers = "Accept: */*\r\n";
  const struct {
    const char* headers;
    const char* host;
    int port;
    const char* object;
    bool secure;
  } cases[] = {
      {"HTTP/1.1 302 Found\r\nLocation: /other\r\n\r\n", "a.example", 80, "/other", false},
      {"HTTP/1.1 301 Moved\r\nlocation:  next.json \r\n\r\n", "a.example", 80, "/img/x/next.json", false},
      {"HTTP/1.1 307 Temporary\r\nLocation: http://b.example:8080/p?q\r\n\r\n", "b.example", 8080, "/p?q", false},
      {"HTTP/1.1 308 Permanent\r\nLOCATION: https://C.example/\r\n\r\n", "c.example", 443, "/", true},
      {"HTTP/1.1 302 Found\r\nLocation: //d.example/q\r\n\r\n", "d.example", 80, "/q", false},
      {"HTTP/1.1 302 Found\r\nLocation: ?v=2\r\n\r\n", "a.example", 80, "/img/x/latest.json?v=2", false},
      // A UTF-8 folder name: its bytes must not hide the "/" after it.
      {"HTTP/1.1 302 Found\r\nLocation: b.json\r\n\r\n", "a.example", 80, "/img/\xE4\xB8\xAD/b.json", false},
  };
  for (const auto& c : cases) {
    hop.object = std::string(c.object).find("\xE4") != std::string::npos
                     ? "/img/\xE4\xB8\xAD/a.json"
                     : "/img/x/latest.json?v=1#a/b";
    std::optional<HttpExchange> next = FollowRedirect(hop, c.headers);
    ASSERT_TRUE(next) << c.headers;
    EXPECT_EQ(next->host, c.host) << c.headers;
    EXPECT_EQ(next->port, c.port) << c.headers;
    EXPECT_EQ(next->object, c.object) << c.headers;
    EXPECT_EQ((next->flags & kFlagSecure) != 0, c.secure) << c.headers;
    EXPECT_EQ(next->headers, hop.headers);
  }
}

TEST(FollowRedirectTest, SchemeChangesOnlyAsTheFlagsAllow) {
  HttpExchange secure;
  secure.host = "a.example";
  secure.flags = kFlagSecure;
  const char* toHttp = "HTTP/1.1 302 Found\r\nLocation: http://a.example/x\r\n\r\n";
  EXPECT_FALSE(FollowRedirect(secure, toHttp)) << "from HTTPS to HTTP";
  secure.flags |= kFlagIgnoreRedirectToHttp;
  ASSERT_TRUE(FollowRedirect(secure, toHttp));
  EXPECT_FALSE(FollowRedirect(secure, toHttp)->flags & kFlagSecure);

  HttpExchange plain;
  plain.host = "a.example";
  const char* toHttps = "HTTP/1.1 302 Found\r\nLocation: https://a.example/x\r\n\r\n";
  EXPECT_FALSE(FollowRedirect(plain, toHttps)) << "from HTTP to HTTPS";
  plain.flags = kFlagIgnoreRedirectToHttps;
  ASSERT_TRUE(FollowRedirect(plain, toHttps));
  EXPECT_TRUE(FollowRedirect(plain, toHttps)->flags & kFlagSecure);
}

TEST(FollowRedirectTest, CookiesStayWithTheirHost) {
  HttpExchange hop;
  hop.host = "a.example";
  hop.headers = "Accept: */*\r\nCookie: id=1\r\nReferer: http://a.example/\r\n";
  auto same = FollowRedirect(hop, "HTTP/1.1 302 Found\r\nLocation: http://a.example/y\r\n\r\n");
  ASSERT_TRUE(same);
  EXPECT_EQ(same->headers, hop.headers);
  auto other = FollowRedirect(hop, "HTTP/1.1 302 Found\r\nLocation: http://b.example/y\r\n\r\n");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->headers, "Accept: */*\r\nReferer: http://a.example/\r\n");
}

TEST(FollowRedirectTest, OnlyRedirectAnswersWithALocation) {
  HttpExchange hop;
  hop.object = "/x";
  for (const char* headers : {"HTTP/1.1 200 OK\r\nLocation: /y\r\n\r\n",
                              "HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n",
                              "HTTP/1.1 304 Not Modified\r\nLocation: /y\r\n\r\n",
                              "HTTP/1.1 302 Found\r\nX-Location: /y\r\n\r\n", "", "garbage"}) {
    EXPECT_FALSE(FollowRedirect(hop, headers)) << headers;
  }
}

TEST(FollowRedirectTest, SeeOtherAndPostRedirectsContinueAsGet) {
  HttpExchange post;
  post.method = "POST";
  post.object = "/form";
  post.body = BytesFromText("x=1");
  const struct {
    const char* status;
    const char* method;
    bool body;
  } cases[] = {{"301", "GET", false}, {"302", "GET", false}, {"303", "GET", false},
               {"307", "POST", true}, {"308", "POST", true}};
  for (const auto& c : cases) {
    auto next = FollowRedirect(post, "HTTP/1.1 " + std::string(c.status) + " X\r\nLocation: /y\r\n\r\n");
    ASSERT_TRUE(next) << c.status;
    EXPECT_EQ(next->method, c.method) << c.status;
    EXPECT_EQ(!next->body.empty(), c.body) << c.status;
  }
  HttpExchange head;
  head.method = "HEAD";
  auto next = FollowRedirect(head, "HTTP/1.1 303 See Other\r\nLocation: /y\r\n\r\n");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->method, "HEAD") << "a HEAD stays a HEAD";
}

}  // namespace
}  // namespace jc
