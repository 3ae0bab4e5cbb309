// WebRequest through the real WinINet against a server of the test's own on 127.0.0.1.
#include "web/web_request_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <future>

#include "tests/support/loopback_server_win.h"

namespace jc {
namespace {

using test::LoopbackServer;

Text Str(const Bytes& bytes) { return TextFromBytes(bytes); }

LoopbackServer::Responder Always(std::string response) {
  return [response](const std::string&) { return response; };
}

TEST(WebRequestWinTest, GetSendsExactlyTheProgramsRequest) {
  LoopbackServer server(Always(LoopbackServer::Response("{\"date\":\"x\"}")));
  const Text url = server.Url("/himawari8/img/FULL_24h/latest.json");

  EXPECT_EQ(Str(WebRequest(url)), "{\"date\":\"x\"}");

  // WinINet adds Host and User-Agent; every other byte is the routine's own.
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0],
            "GET /himawari8/img/FULL_24h/latest.json HTTP/1.1\r\n"
            "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"
            "Accept: */*\r\n"
            "Referer: " + url + "\r\n"
            "Accept-Language: zh-cn\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n"
            "\r\n");
}

TEST(WebRequestWinTest, PostSendsPostTextAsBody) {
  LoopbackServer server(Always(LoopbackServer::Response("done")));
  Bytes postBytes;
  Bytes body = WebRequest(server.Url("/form?id=7"), 1, "x=1", nullptr, nullptr, nullptr, nullptr,
                          false, &postBytes);
  EXPECT_EQ(Str(body), "done");
  EXPECT_EQ(postBytes, BytesFromText("x=1"));
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(request.rfind("POST /form?id=7 HTTP/1.1\r\n", 0), 0u) << request;
  EXPECT_EQ(request.substr(request.size() - 7), "\r\n\r\nx=1") << request;
}

TEST(WebRequestWinTest, CustomAgentAndHeadersGoOnTheWire) {
  LoopbackServer server(Always(LoopbackServer::Response("")));
  Text extra = "User-Agent: JiChuangTest/1\r\nX-Probe: 1";
  WebRequest(server.Url("/a/b?c=d#frag"), 0, "", nullptr, nullptr, &extra);
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_NE(request.find("User-Agent: JiChuangTest/1\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("X-Probe: 1\r\nAccept: */*\r\n"), std::string::npos) << request;
  EXPECT_EQ(extra.rfind("User-Agent: JiChuangTest/1\r\nX-Probe: 1\r\nAccept: */*\r\nReferer: ", 0),
            0u);
}

TEST(WebRequestWinTest, SetCookieInAnyCaseIsCollected) {
  // The cookies are scoped to a path of their own, so WinINet's jar does not send them with
  // the other tests' requests.
  LoopbackServer server(Always(LoopbackServer::Response(
      "ok", "200 OK",
      "set-cookie: a=1; path=/jar\r\nSET-COOKIE: b=2; Path=/jar\r\nSet-Cookie: c=3; path=/jar\r\n")));
  Text cookies, headers;
  WebRequest(server.Url("/jar/x"), 0, "", nullptr, &cookies, nullptr, &headers);
  EXPECT_EQ(cookies, "a=1; b=2; c=3");
  EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << headers;
  EXPECT_NE(headers.find("Set-Cookie: a=1"), Text::npos) << headers;
  EXPECT_NE(headers.find("Set-Cookie: b=2"), Text::npos) << headers;
  EXPECT_EQ(headers.find("set-cookie"), Text::npos) << headers;
  EXPECT_EQ(headers.find("SET-COOKIE"), Text::npos) << headers;
}

TEST(WebRequestWinTest, LargeBinaryBodyArrivesWhole) {
  std::string body(300000, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 7919) >> 3);
  LoopbackServer server(Always(LoopbackServer::Response(body)));
  EXPECT_EQ(Str(WebRequest(server.Url("/big.png"))), body);
}

TEST(WebRequestWinTest, HeadersLargerThanTheFirstBufferAreReadWhole) {
  std::string many;
  for (int i = 0; i < 400; ++i) many += "X-Filler-" + std::to_string(i) + ": abcdefghij\r\n";
  LoopbackServer server(Always(LoopbackServer::Response("ok", "200 OK", many)));
  Text headers;
  EXPECT_EQ(Str(WebRequest(server.Url("/h"), 0, "", nullptr, nullptr, nullptr, &headers)), "ok");
  EXPECT_GT(headers.size(), 5000u);
  EXPECT_NE(headers.find("X-Filler-399: abcdefghij\r\n"), Text::npos);
}

TEST(WebRequestWinTest, ErrorPageBodyIsReturnedLikeAnyOther) {
  LoopbackServer server(Always(LoopbackServer::Response("<html>gone</html>", "404 Not Found")));
  EXPECT_EQ(Str(WebRequest(server.Url("/missing"))), "<html>gone</html>");
}

TEST(WebRequestWinTest, RefusedPortGivesEmptyBytesAtOnce) {
  const Text url = "http://127.0.0.1:" + std::to_string(LoopbackServer::UnusedPort()) + "/x";
  Text headers = "untouched?";
  DWORD began = ::GetTickCount();
  EXPECT_TRUE(WebRequest(url, 0, "", nullptr, nullptr, nullptr, &headers).empty());
  EXPECT_LT(::GetTickCount() - began, 10000u);
  EXPECT_EQ(headers, "") << "a failed header query gives no text, not 5000 spaces";
}

TEST(WebRequestWinTest, SilentServerTimesOutWithEmptyBytes) {
  LoopbackServer server(Always(""), LoopbackServer::Behaviour::kSilent);
  WinInetTransport transport(1000);
  Text headers = "before";
  WebRequestArgs args{server.Url("/never")};
  args.returnedHeaders = &headers;
  DWORD began = ::GetTickCount();
  EXPECT_TRUE(WebRequest(transport, args).empty());
  DWORD took = ::GetTickCount() - began;
  EXPECT_GE(took, 900u);
  EXPECT_LT(took, 20000u);
  EXPECT_EQ(headers, "");
  EXPECT_EQ(server.Requests().size(), 1u);
}

// Half a header block, then nothing: the request still ends, with nothing (Wine waits a few
// receive time-outs for the rest).
TEST(WebRequestWinTest, HalfHeadersThenSilenceEnds) {
  LoopbackServer server([](const std::string&) {
    return LoopbackServer::Reply("HTTP/1.1 200 OK\r\nContent-Type: appl", true);
  });
  WinInetTransport transport(1000);
  auto answer = std::async(std::launch::async, [&] {
    return WebRequest(transport, WebRequestArgs{server.Url("/half")});
  });
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_TRUE(answer.get().empty());
}

TEST(WebRequestWinTest, PortBeyondRangeIsNotWrappedAround) {
  LoopbackServer server(Always(LoopbackServer::Response("wrong server")));
  // 65536 + port would reach `server` if the port were cut to 16 bits.
  const Text url = "http://127.0.0.1:" + std::to_string(65536 + server.port()) + "/x";
  EXPECT_TRUE(WebRequest(url).empty());
  EXPECT_TRUE(server.Requests().empty());
}

TEST(WebRequestWinTest, RedirectsAreFollowedButALoopEnds) {
  LoopbackServer server([](const std::string& request) -> LoopbackServer::Reply {
    if (request.rfind("GET /moved ", 0) == 0) {
      return LoopbackServer::Response("", "302 Found", "Location: /here\r\n");
    }
    if (request.rfind("GET /here ", 0) == 0) return LoopbackServer::Response("arrived");
    return LoopbackServer::Response("", "302 Found", "Location: /loop\r\n");  // /loop: for ever
  });
  EXPECT_EQ(Str(WebRequest(server.Url("/moved"))), "arrived");
  EXPECT_EQ(server.Requests().size(), 2u);

  auto looping = std::async(std::launch::async, [&] { return WebRequest(server.Url("/loop")); });
  ASSERT_EQ(looping.wait_for(std::chrono::seconds(20)), std::future_status::ready)
      << server.Requests().size() << " requests and still redirected";
  EXPECT_TRUE(looping.get().empty());
  EXPECT_LE(server.Requests().size(), 2u + 1u + kMaxRedirects);
}

}  // namespace
}  // namespace jc
