#include "web/url.h"

namespace jc {

Text HeaderValue(std::string_view text) {
  int colon = FindText(text, ":");
  if (colon == -1) return {};
  return TrimSpaces(text.substr(static_cast<size_t>(colon)));
}

namespace {

Text HostOfAuthority(std::string_view url, bool mainDomain) {
  Text s = LowerCase(url);
  if (s.empty() || s.back() != '/') s += '/';
  if (s.compare(0, 8, "https://") == 0) {
    s = TextBetween(s, "https://", "/");
  } else {
    if (FindText(s, "http://") == -1) s = "http://" + s;
    s = TextBetween(s, "http://", "/");
  }
  if (mainDomain) {
    TextList labels = SplitText(s, ".");
    if (labels.size() > 1) s = labels[labels.size() - 2] + "." + labels.back();
  }
  return s;
}

Text HostByLevels(std::string_view url, bool mainDomain, int levels) {
  Text s = LowerCase(url);
  s = ReplaceText(s, "http://", "", 1, -1, true);
  s = ReplaceText(s, "https://", "", 1, -1, true);
  int slash = FindText(s, "/");
  if (slash != -1) s = LeftText(s, slash - 1);
  const int length = static_cast<int>(s.size());
  // Each step finds the dot before the previous one; once a step fails, -1 as `start` leaves
  // nothing to search, so every later step fails too.
  int m = length;
  for (int i = 0; i < levels && m != -1; ++i) m = FindTextReverse(s, ".", m);
  int o1 = FindTextReverse(s, ".", m);
  if (mainDomain) return RightText(s, length - o1);
  if (o1 != -1) {
    int o2 = FindTextReverse(s, ".", o1);
    if (o2 != -1) s = RightText(s, length - o2);
  }
  return s;
}

}  // namespace

Text UrlHost(std::string_view url, bool mainDomain, bool keepPort, std::optional<int> levels) {
  Text s = levels ? HostByLevels(url, mainDomain, *levels) : HostOfAuthority(url, mainDomain);
  if (keepPort) return s;
  int colon = FindText(s, ":");
  return colon == -1 ? s : LeftText(s, colon - 1);
}

int UrlPort(std::string_view url) {
  Text host = UrlHost(url, false, true);
  int colon = FindTextReverse(host, ":");
  if (colon == -1) return LowerCase(LeftText(url, 5)) == "https" ? 443 : 80;
  return TextToInteger(std::string_view(host).substr(static_cast<size_t>(colon)));
}

Text UrlPath(std::string_view url) {
  // The host is looked for after the scheme, so a host like "h" or "tp" is not found inside
  // "http://" itself.
  int scheme = FindText(url, "://");
  int hostAt = FindText(url, UrlHost(url), scheme == -1 ? 1 : scheme + 3, true);
  int slash = FindText(url, "/", hostAt, true);
  if (slash <= 0) return "/";
  return Text(url.substr(static_cast<size_t>(slash) - 1));
}

}  // namespace jc
