#include "web/web_request_win.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <optional>

#include "common/unique_handle_win.h"

namespace jc {
namespace {

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::InternetCloseHandle(h); }
};
using UniqueInternet = UniqueHandle<InternetHandleTraits>;

constexpr DWORD kReadSize = 1024;
constexpr DWORD kHeaderBufferSize = 5000;

// Wine and Windows honour the receive time-out on connection and request handles only, so it
// is set on both; the connect time-out is set for Windows' sake (Wine ignores it).
void SetTimeouts(HINTERNET handle, DWORD timeoutMs) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    ::InternetSetOptionA(handle, option, &timeoutMs, sizeof timeoutMs);
  }
}

// The status line and headers. A block larger than the first buffer is asked for again with
// the size WinINet reports; a failed query, or no response at all, gives an empty text.
Text RawHeaders(HINTERNET request) {
  // Wine answers the raw-header query with a bare CR LF when nothing came back.
  DWORD status = 0, statusSize = sizeof status;
  if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &statusSize, nullptr) ||
      status == 0) {
    return {};
  }
  Text buffer(kHeaderBufferSize, ' ');
  DWORD length = kHeaderBufferSize;
  BOOL ok = ::HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr);
  if (!ok && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    buffer.assign(length, ' ');
    ok = ::HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr);
  }
  if (!ok) return {};
  buffer.resize(std::min<size_t>(length, buffer.size()));
  return buffer;
}

}  // namespace

HttpOutcome WinInetTransport::Perform(const HttpExchange& exchange) {
  // WinINet under Wine follows a redirect loop for ever, so redirects are followed here, up to
  // a limit; a request that forbids them gets the redirect answer itself, as before.
  if (exchange.flags & kFlagNoAutoRedirect) return PerformOnce(exchange);
  HttpExchange hop = exchange;
  hop.flags |= kFlagNoAutoRedirect;
  HttpOutcome outcome = PerformOnce(hop);
  for (int redirects = 0; redirects < kMaxRedirects; ++redirects) {
    std::optional<HttpExchange> next = FollowRedirect(hop, outcome.rawHeaders);
    if (!next) return outcome;
    hop = std::move(*next);
    outcome = PerformOnce(hop);
  }
  // Still redirected: the answer of a request that went nowhere.
  if (FollowRedirect(hop, outcome.rawHeaders)) outcome.body.clear();
  return outcome;
}

HttpOutcome WinInetTransport::PerformOnce(const HttpExchange& exchange) {
  HttpOutcome outcome;
  if (exchange.port < 0 || exchange.port > 0xFFFF) return outcome;  // never a wrapped-around port

  UniqueInternet internet(::InternetOpenA(
      exchange.agent.c_str(), exchange.viaProxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT,
      exchange.proxyName.c_str(), "", 0));
  if (!internet) return outcome;

  UniqueInternet connection(::InternetConnectA(internet.get(), exchange.host.c_str(),
                                               static_cast<INTERNET_PORT>(exchange.port), "", "",
                                               INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return outcome;
  SetTimeouts(connection.get(), timeoutMs_);

  const char* noAcceptTypes[] = {nullptr};
  UniqueInternet request(::HttpOpenRequestA(connection.get(), exchange.method.c_str(),
                                            exchange.object.c_str(), "HTTP/1.1", "", noAcceptTypes,
                                            exchange.flags, 0));
  if (!request) return outcome;
  SetTimeouts(request.get(), timeoutMs_);
  outcome.opened = true;

  // A failed send is not looked at: the reads then deliver nothing.
  ::HttpSendRequestA(request.get(), exchange.headers.data(),
                     static_cast<DWORD>(exchange.headers.size()),
                     exchange.body.empty() ? nullptr : const_cast<std::uint8_t*>(exchange.body.data()),
                     static_cast<DWORD>(exchange.body.size()));

  std::uint8_t buffer[kReadSize];
  for (;;) {
    DWORD read = 0;
    if (!::InternetReadFile(request.get(), buffer, kReadSize, &read) || read == 0) break;
    outcome.body.insert(outcome.body.end(), buffer, buffer + read);
  }
  outcome.rawHeaders = RawHeaders(request.get());
  return outcome;  // the handles close here: request, connection, internet
}

Bytes WebRequest(const Text& url, int method, const Text& postText, Text* cookies,
                 Text* returnedCookies, Text* extraHeaders, Text* returnedHeaders, bool noRedirect,
                 Bytes* postBytes, const Text& proxy, bool autoMergeCookies) {
  WinInetTransport transport;
  return WebRequest(transport, WebRequestArgs{url, method, postText, cookies, returnedCookies,
                                              extraHeaders, returnedHeaders, noRedirect, postBytes,
                                              proxy, autoMergeCookies});
}

}  // namespace jc
