// One HTTP or HTTPS request, planned portably and performed by a transport.
//
// `WebRequest` is the system's request routine: it opens its own internet, connection and
// request handles, sends one request, reads the whole body, captures the raw response headers
// and derives the cookies the response set. Nothing survives from one call to the next. It
// blocks the calling thread (the update job's worker) and never reports an error: a failure
// gives empty bytes. Calls on different threads may run side by side.
//
// The planning (defaults, agent, flag word, header block, body) and the reading of the answer
// (Set-Cookie spelling, returned cookies, merging) are portable and live here; only the
// transport touches the platform.
#pragma once

#include <cstdint>
#include <optional>

#include "common/text.h"

namespace jc {

// WinINet request flags, spelled out so the portable planner can build the flag word.
inline constexpr std::uint32_t kFlagReload = 0x80000000;
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010;
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kFlagSecure = 0x00800000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttp = 0x00008000;

inline constexpr std::string_view kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The eleven arguments of a request, in the routine's order. In/out arguments are pointers;
// a null `cookies` is an absent one, which differs from an empty one (see `PlanRequest`).
struct WebRequestArgs {
  Text url;                          // "http://" or "https://", optional port, path, query
  int method = 0;                    // 0 GET, 1 POST, 2 HEAD; anything else is GET
  Text postText;                     // body when `postBytes` is empty and the method is not GET
  Text* cookies = nullptr;           // in/out: cookies to send; receives the merged cookies
  Text* returnedCookies = nullptr;   // out: first name=value of each Set-Cookie header
  Text* extraHeaders = nullptr;      // in/out: header lines; receives the block that was sent
  Text* returnedHeaders = nullptr;   // out: raw response headers, CR LF separated
  bool noRedirect = false;           // forbid automatic redirects
  Bytes* postBytes = nullptr;        // in/out: body bytes; receive `postText` when empty
  Text proxy;                        // "host:port", empty for a direct connection
  bool autoMergeCookies = true;      // merge with the response's cookies when `cookies` is given
};

// Everything the transport hands to the platform for one request.
struct HttpExchange {
  Text agent;
  bool viaProxy = false;  // a named proxy; otherwise a direct connection
  Text proxyName;         // the proxy itself for a secure request, "http=" + proxy otherwise
  Text host;
  int port = 80;
  Text method;   // "GET", "POST" or "HEAD"
  Text object;   // path, query and fragment
  std::uint32_t flags = 0;
  Text headers;  // the complete header block that is sent
  Bytes body;    // empty for GET
};

struct HttpOutcome {
  bool opened = false;  // false: a handle could not be opened, nothing was sent
  Bytes body;           // what was read before the end or the first failed read
  Text rawHeaders;      // status line and header lines; empty when they could not be read
};

// The platform's half: WinINet on Windows (web_request_win.h), scripted fakes in tests.
class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  virtual HttpOutcome Perform(const HttpExchange& exchange) = 0;
};

// What the arguments put on the wire. Reads the arguments, changes none of them.
HttpExchange PlanRequest(const WebRequestArgs& args);

// Redirects followed for one request before it gives up: a server that redirects in a circle
// must not hold the caller for ever.
inline constexpr int kMaxRedirects = 10;

// The request that a redirect answer (301, 302, 303, 307 or 308 with a Location) asks for
// instead of `hop`: same agent and header block (without its cookies when the host changes),
// the new host, port and path (an absolute, scheme-relative, rooted, query-only or relative
// Location). 303, and 301 or 302 after a POST, continue as a GET without body. Nothing when
// `rawHeaders` is no redirect, or it would take the request between HTTPS and HTTP against
// its flags.
std::optional<HttpExchange> FollowRedirect(const HttpExchange& hop, std::string_view rawHeaders);

// The raw headers with every "Set-Cookie", in any letter case, spelt "Set-Cookie".
Text NormaliseSetCookie(std::string_view rawHeaders);

// The first name=value pair of each Set-Cookie line, in header order, joined by "; ".
Text CookiesFromHeaders(std::string_view rawHeaders);

// The whole request through `transport`. When a handle could not be opened the result is
// empty and every in/out argument is left as it was.
Bytes WebRequest(HttpTransport& transport, const WebRequestArgs& args);

// The system's routine over WinINet (defined by the Windows build only).
Bytes WebRequest(const Text& url, int method = 0, const Text& postText = {},
                 Text* cookies = nullptr, Text* returnedCookies = nullptr,
                 Text* extraHeaders = nullptr, Text* returnedHeaders = nullptr,
                 bool noRedirect = false, Bytes* postBytes = nullptr, const Text& proxy = {},
                 bool autoMergeCookies = true);

}  // namespace jc
