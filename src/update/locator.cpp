#include "update/locator.h"

namespace jc {

Text BatchReplace(std::string_view text, std::optional<int> count, int start, bool caseSensitive,
                  std::string_view find1, std::string_view replace1, std::string_view find2,
                  std::string_view replace2, std::string_view find3, std::string_view replace3,
                  std::string_view find4, std::string_view replace4, std::string_view find5,
                  std::string_view replace5) {
  if (start == 0) start = 1;
  const std::string_view pairs[][2] = {
      {find1, replace1}, {find2, replace2}, {find3, replace3}, {find4, replace4}, {find5, replace5}};
  Text working(text);
  for (const auto& pair : pairs) {
    working = ReplaceText(working, pair[0], pair[1], start, count.value_or(-1), caseSensitive);
  }
  return working;
}

Text LatestImagePath(const Bytes& document) {
  Text body = TextFromBytes(document);
  body.resize(body.find('\0') == Text::npos ? body.size() : body.find('\0'));
  Text value = TextBetween(body, ":\"", "\"");
  // "2019-05-31 09:20:00" -> "2019/05/31/092000"
  Text path = BatchReplace(value, std::nullopt, 0, false, "-", "/", " ", "/", ":", "");
  return path + Text(kImageSuffix);
}

Text LocateLatestImage(const Text& documentUrl, const FetchFunction& fetch) {
  return LatestImagePath(fetch(documentUrl));
}

}  // namespace jc
