#include "tests/support/sample_service_win.h"

#include "common/file_win.h"
#include "tests/support/png_maker.h"

namespace jc::test {
namespace {

const std::string kDocument =
    "{\"date\":\"2019-05-31 09:20:00\",\"file\":\"PI_H08_20190531_0920_TRC_FLDK_R10_PGPFD.png\"}";
const std::string kNotFound =
    "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>";
const std::string kServerError =
    "<html><head><title>500 Internal Server Error</title></head><body><h1>Oops</h1></body></html>";

// 64 KiB of headers in lines of 1 KiB.
std::string HugeHeaders() {
  std::string headers;
  for (int i = 0; i < 64; ++i) headers += "X-Padding-" + std::to_string(i) + ": " + std::string(1000, 'p') + "\r\n";
  return headers;
}

std::string ManyCookies() {
  std::string headers;
  for (int i = 0; i < 1000; ++i) {
    headers += "Set-Cookie: c" + std::to_string(i) + "=v" + std::to_string(i) + "; Path=/\r\n";
  }
  return headers;
}

std::string RequestPath(const std::string& request) {
  size_t start = request.find(' ');
  size_t end = request.find(' ', start + 1);
  return start == std::string::npos || end == std::string::npos
             ? std::string()
             : request.substr(start + 1, end - start - 1);
}

}  // namespace

const MisbehaviourName kMisbehaviours[] = {
    {Misbehaviour::kHtml404, "HTML 404"},
    {Misbehaviour::kEmptyBody, "empty body"},
    {Misbehaviour::kTruncatedPng, "truncated PNG"},
    {Misbehaviour::kGarbageJson, "garbage JSON"},
    {Misbehaviour::kNoDate, "no date"},
    {Misbehaviour::kPlaceholder, "No Image placeholder"},
    {Misbehaviour::kSilent, "no answer"},
    {Misbehaviour::kHtml500, "HTML 500"},
    {Misbehaviour::kHalfHeaders, "half the headers"},
    {Misbehaviour::kHugeBody, "50 MiB body"},
    {Misbehaviour::kHugeHeaders, "64 KiB of headers"},
    {Misbehaviour::kManyCookies, "1,000 cookies"},
    {Misbehaviour::kRedirectLoop, "redirect loop"},
    {Misbehaviour::kNulDocument, "NUL bytes in the document"},
    {Misbehaviour::kNotADate, "a value that is no date"},
    {Misbehaviour::kHugeValue, "a 1 MiB value"},
};
const size_t kMisbehaviourCount = sizeof kMisbehaviours / sizeof kMisbehaviours[0];

Bytes ReadPlaceholderFixture() {
  return ReadWholeFile(JC_SOURCE_DIR "\\..\\shared\\fixtures\\no-image.png");
}

SampleService::SampleService()
    : image_(MakeEarthPng(550)), placeholder_(ReadPlaceholderFixture()) {
  server_ = std::make_unique<LoopbackServer>([this](const std::string& r) { return Answer(r); });
}

SampleService::~SampleService() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  released_.notify_all();
  server_.reset();
}

void SampleService::SetMisbehaviour(Misbehaviour misbehaviour) {
  std::lock_guard<std::mutex> lock(mutex_);
  misbehaviour_ = misbehaviour;
}

Bytes SampleService::Image() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return image_;
}

void SampleService::SetImage(Bytes image) {
  std::lock_guard<std::mutex> lock(mutex_);
  image_ = std::move(image);
}

void SampleService::Hold() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_ = true;
}

void SampleService::Release() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = false;
  }
  released_.notify_all();
}

LoopbackServer::Reply SampleService::Answer(const std::string& request) {
  std::unique_lock<std::mutex> lock(mutex_);
  released_.wait(lock, [this] { return !held_ || stopping_; });
  const std::string path = RequestPath(request);
  const bool document = path == kDocumentPath;
  const std::string image(image_.begin(), image_.end());
  std::string extraHeaders;
  switch (misbehaviour_) {
    case Misbehaviour::kNone:
      break;
    case Misbehaviour::kHtml404:
      return LoopbackServer::Response(kNotFound, "404 Not Found", "Content-Type: text/html\r\n");
    case Misbehaviour::kHtml500:
      return LoopbackServer::Response(kServerError, "500 Internal Server Error",
                                      "Content-Type: text/html\r\n");
    case Misbehaviour::kEmptyBody:
      if (!document) return LoopbackServer::Response("");
      break;
    case Misbehaviour::kTruncatedPng:
      // The headers promise the whole image; the connection closes halfway.
      if (!document) {
        return LoopbackServer::Response(image).substr(0, 200 + image.size() / 2);
      }
      break;
    case Misbehaviour::kGarbageJson:
      if (document) return LoopbackServer::Response("\x01\x02<<not json>>\xFF");
      break;
    case Misbehaviour::kNoDate:
      if (document) return LoopbackServer::Response("{\"date\":20190531,\"n\":[1,2]}");
      break;
    case Misbehaviour::kPlaceholder:
      if (!document) return LoopbackServer::Response(std::string(placeholder_.begin(), placeholder_.end()));
      break;
    case Misbehaviour::kSilent:
      if (!document) return LoopbackServer::Reply("", true);
      break;
    case Misbehaviour::kHalfHeaders:
      if (document) return LoopbackServer::Reply("HTTP/1.1 200 OK\r\nContent-Type: appl", true);
      break;
    case Misbehaviour::kHugeBody:
      if (!document) {
        std::string body = image.substr(0, 64);
        body.resize(50u << 20, '\x5A');
        return LoopbackServer::Response(body, "200 OK", "Content-Type: image/png\r\n");
      }
      break;
    case Misbehaviour::kHugeHeaders:
      extraHeaders = HugeHeaders();
      break;
    case Misbehaviour::kManyCookies:
      extraHeaders = ManyCookies();
      break;
    case Misbehaviour::kRedirectLoop:
      if (document) {
        return LoopbackServer::Response("", "302 Found",
                                        "Location: " + std::string(kDocumentPath) + "\r\n");
      }
      break;
    case Misbehaviour::kNulDocument:
      if (document) {
        return LoopbackServer::Response(std::string("\0\0", 2) + kDocument + std::string("\0", 1));
      }
      break;
    case Misbehaviour::kNotADate:
      if (document) return LoopbackServer::Response("{\"date\":\"yesterday at noon\"}");
      break;
    case Misbehaviour::kHugeValue:
      if (document) return LoopbackServer::Response("{\"date\":\"" + std::string(1u << 20, '9') + "\"}");
      break;
  }
  if (document) {
    return LoopbackServer::Response(kDocument, "200 OK",
                                    "Content-Type: application/json\r\n" + extraHeaders);
  }
  if (path == kImagePath) {
    return LoopbackServer::Response(image, "200 OK", "Content-Type: image/png\r\n" + extraHeaders);
  }
  return LoopbackServer::Response(kNotFound, "404 Not Found", "Content-Type: text/html\r\n");
}

}  // namespace jc::test
