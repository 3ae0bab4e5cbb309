#include "web/web_request.h"

#include <algorithm>

#include "web/cookies.h"
#include "web/url.h"

namespace jc {
namespace {

constexpr std::string_view kMethodWords[] = {"GET", "POST", "HEAD"};

Text AgentFrom(const Text& extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", 1, true) == -1) return Text(kDefaultUserAgent);
  Text agent = TrimSpaces(TextBetween(extraHeaders + "\r\n", "User-Agent:", "\r\n"));
  // Written in another letter case, the exact search above finds nothing: then the value of
  // the whole block is taken, as a single-line block would give.
  return agent.empty() ? HeaderValue(extraHeaders) : agent;
}

void AppendLineIfMissing(Text& block, std::string_view name, std::string_view line) {
  if (FindText(block, name) != -1) return;
  block += "\r\n";
  block += line;
}

Text HeaderBlockFrom(const WebRequestArgs& args) {
  Text block = args.extraHeaders ? *args.extraHeaders : Text();
  if (block.empty()) {
    block = "Accept: */*";
  } else {
    AppendLineIfMissing(block, "Accept:", "Accept: */*");
  }
  AppendLineIfMissing(block, "Referer:", "Referer: " + args.url);
  AppendLineIfMissing(block, "Accept-Language:", "Accept-Language: zh-cn");
  AppendLineIfMissing(block, "Content-Type:", "Content-Type: application/x-www-form-urlencoded");
  if (args.cookies && !args.cookies->empty()) {
    const Text& cookies = *args.cookies;
    block += FindText(cookies, "Cookie:") != -1 ? "\r\n" + cookies : "\r\nCookie: " + cookies;
  }
  return block;
}

}  // namespace

HttpExchange PlanRequest(const WebRequestArgs& args) {
  HttpExchange exchange;
  int method = (args.method < 0 || args.method > 2) ? 0 : args.method;
  bool secure = LowerCase(LeftText(args.url, 8)) == "https://";

  exchange.agent = AgentFrom(args.extraHeaders ? *args.extraHeaders : Text());
  if (!args.proxy.empty()) {
    exchange.viaProxy = true;
    exchange.proxyName = secure ? args.proxy : "http=" + args.proxy;
  }
  exchange.host = UrlHost(args.url);
  exchange.port = UrlPort(args.url);
  exchange.method = Text(kMethodWords[method]);
  exchange.object = UrlPath(args.url);

  exchange.flags = kFlagReload | kFlagNeedFile;
  if (args.cookies) exchange.flags |= kFlagNoCookies;
  if (args.noRedirect) exchange.flags |= kFlagNoAutoRedirect;
  exchange.flags |= secure ? kFlagSecure : kFlagIgnoreRedirectToHttps;

  exchange.headers = HeaderBlockFrom(args);
  if (method != 0) {
    bool givenBytes = args.postBytes && !args.postBytes->empty();
    exchange.body = givenBytes ? *args.postBytes : BytesFromText(args.postText);
  }
  return exchange;
}

std::optional<HttpExchange> FollowRedirect(const HttpExchange& hop, std::string_view rawHeaders) {
  // "HTTP/1.1 302 Found": the code follows the first space.
  const size_t space = rawHeaders.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  const int status = TextToInteger(rawHeaders.substr(space + 1, 3));
  if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308) {
    return std::nullopt;
  }
  Text location;
  for (const Text& line : SplitText(rawHeaders, "\r\n")) {
    if (LowerCase(LeftText(line, 9)) == "location:") {
      location = HeaderValue(line);
      break;
    }
  }
  if (location.empty()) return std::nullopt;

  const bool wasSecure = (hop.flags & kFlagSecure) != 0;
  HttpExchange next = hop;
  if (LeftText(location, 2) == "//") location = Text(wasSecure ? "https:" : "http:") + location;
  const Text scheme = LowerCase(LeftText(location, 8));
  const bool toHttps = scheme == "https://", toHttp = LeftText(scheme, 7) == "http://";
  if (toHttps || toHttp) {
    // As WinINet: a secure request is not taken to plain HTTP, nor a plain one to HTTPS, unless
    // its flags allow it.
    if (wasSecure && toHttp && !(hop.flags & kFlagIgnoreRedirectToHttp)) return std::nullopt;
    if (!wasSecure && toHttps && !(hop.flags & kFlagIgnoreRedirectToHttps)) return std::nullopt;
    next.host = UrlHost(location);
    next.port = UrlPort(location);
    next.object = UrlPath(location);
    if (toHttps) next.flags |= kFlagSecure;
    if (toHttp) next.flags &= ~kFlagSecure;
    if (next.host != hop.host) {
      // The caller's cookies are for the host it named, not for wherever that sends it.
      Text kept;
      for (const Text& line : SplitText(hop.headers, "\r\n")) {
        if (LowerCase(LeftText(line, 7)) != "cookie:") kept += line + "\r\n";
      }
      next.headers = kept;
    }
  } else {
    // Relative to the current path, without its query and fragment. URL delimiters are ASCII
    // and no second byte of a GBK character is "/", so bytes are searched, not characters.
    const Text path = hop.object.substr(0, hop.object.find_first_of("?#"));
    if (location[0] == '/') {
      next.object = location;
    } else if (location[0] == '?') {
      next.object = path + location;
    } else {
      const size_t slash = path.rfind('/');
      next.object = (slash == Text::npos ? Text("/") : path.substr(0, slash + 1)) + location;
    }
  }
  const bool toGet = status == 303 || ((status == 301 || status == 302) && hop.method == "POST");
  if (toGet && hop.method != "HEAD") {
    next.method = "GET";
    next.body.clear();
  }
  return next;
}

Text NormaliseSetCookie(std::string_view rawHeaders) {
  return ReplaceText(rawHeaders, "Set-Cookie", "Set-Cookie");
}

Text CookiesFromHeaders(std::string_view rawHeaders) {
  Text cookies;
  for (const Text& line : SplitText(rawHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    Text value = FindText(line, ";") != -1 ? TextBetween(line, "Set-Cookie:", ";")
                                            : ReplaceText(line, "Set-Cookie:", "");
    cookies += TrimSpaces(value);
    cookies += "; ";
  }
  cookies.resize(cookies.size() - std::min<size_t>(cookies.size(), 2));
  return cookies;
}

Bytes WebRequest(HttpTransport& transport, const WebRequestArgs& args) {
  HttpExchange exchange = PlanRequest(args);
  HttpOutcome outcome = transport.Perform(exchange);
  if (!outcome.opened) return {};

  if (args.extraHeaders) *args.extraHeaders = exchange.headers;
  bool isGet = exchange.method == kMethodWords[0];
  if (!isGet && args.postBytes && args.postBytes->empty()) *args.postBytes = exchange.body;

  Text headers = NormaliseSetCookie(outcome.rawHeaders);
  Text collected = CookiesFromHeaders(headers);
  if (args.cookies && args.autoMergeCookies) collected = MergeCookies(*args.cookies, collected);
  if (args.returnedHeaders) *args.returnedHeaders = std::move(headers);
  if (args.returnedCookies) *args.returnedCookies = std::move(collected);
  return std::move(outcome.body);
}

}  // namespace jc
