// libFuzzer target over the locator: the whole input is the latest-image document, handed to
// `LocateLatestImage` by a fetch function and read by `LatestImagePath` directly. Besides
// crashes and sanitizer reports it checks properties that any correct result has: the shape of
// the path, and the path itself against an independent reading of the document (the first
// `:"` ... `"` value before the first NUL, found on GBK character boundaries, with "-" and " "
// turned into "/" and ":" removed).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "update/locator.h"
#include "fuzz_checks.h"

namespace {

using jc::fuzz::CharLength;
using jc::fuzz::Check;
using jc::fuzz::FindOnBoundary;

// The path an independent reading of the document gives, without the suffix.
std::string ExpectedPath(std::string_view document) {
  std::string_view body = document.substr(0, document.find('\0'));
  size_t open = FindOnBoundary(body, ":\"", 0);
  if (open == std::string_view::npos) return {};
  size_t start = open + 2;
  size_t close = FindOnBoundary(body, "\"", start);
  if (close == std::string_view::npos) return {};
  std::string_view value = body.substr(start, close - start);
  std::string path;
  for (size_t i = 0; i < value.size();) {
    size_t length = CharLength(value, i);
    if (length == 0) break;
    char c = value[i];
    if (length == 1 && (c == '-' || c == ' ')) {
      path += '/';
    } else if (!(length == 1 && c == ':')) {
      path.append(value, i, length);
    }
    i += length;
  }
  return path;
}

// The path consists of whole characters, none of them NUL, '"', '-', ' ' or ':'.
bool HasOnlyAllowedCharacters(std::string_view path) {
  for (size_t i = 0; i < path.size();) {
    size_t length = CharLength(path, i);
    if (length == 0) return false;
    if (length == 1 && std::string_view("\0\"- :", 5).find(path[i]) != std::string_view::npos) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const jc::Bytes document(data, data + size);
  const std::string_view documentText(reinterpret_cast<const char*>(data), size);
  const std::string suffix(jc::kImageSuffix);

  const jc::Text result = jc::LatestImagePath(document);
  Check(result.size() >= suffix.size() &&
            result.compare(result.size() - suffix.size(), suffix.size(), suffix) == 0,
        "the result ends with the image suffix");
  const std::string_view path = std::string_view(result).substr(0, result.size() - suffix.size());
  Check(HasOnlyAllowedCharacters(path), "the path holds only whole characters the rewrite allows");
  Check(path == ExpectedPath(documentText), "the path is the rewritten first string value");

  const jc::Text url = "http://127.0.0.1:1/himawari8/img/FULL_24h/latest.json";
  std::vector<jc::Text> asked;
  const jc::Text located = jc::LocateLatestImage(url, [&](const jc::Text& requested) {
    asked.push_back(requested);
    return document;
  });
  Check(asked == std::vector<jc::Text>{url}, "the document URL is fetched once, as given");
  Check(located == result, "locating gives what reading the same document gives");
  return 0;
}
