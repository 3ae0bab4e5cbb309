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

  HttpExchange next = hop;
  const Text scheme = LowerCase(LeftText(location, 8));
  if (scheme == "https://" || LeftText(scheme, 7) == "http://") {
    next.host = UrlHost(location);
    next.port = UrlPort(location);
    next.object = UrlPath(location);
    if (scheme == "https://") {
      next.flags = (next.flags & ~kFlagIgnoreRedirectToHttps) | kFlagSecure;
    } else {
      next.flags &= ~kFlagSecure;
    }
  } else if (location[0] == '/') {
    next.object = location;
  } else {
    // Relative to the folder of the current path.
    const Text path = hop.object.substr(0, hop.object.find('?'));
    const int slash = FindTextReverse(path, "/");
    next.object = (slash == -1 ? Text("/") : LeftText(path, slash)) + location;
  }
  if (status == 303 || ((status == 301 || status == 302) && hop.method == "POST")) {
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
