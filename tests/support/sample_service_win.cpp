#include "tests/support/sample_service_win.h"

#include "common/file_win.h"
#include "tests/support/png_maker.h"

namespace jc::test {
namespace {

const std::string kDocument =
    "{\"date\":\"2019-05-31 09:20:00\",\"file\":\"PI_H08_20190531_0920_TRC_FLDK_R10_PGPFD.png\"}";
const std::string kNotFound =
    "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>";

std::string RequestPath(const std::string& request) {
  size_t start = request.find(' ');
  size_t end = request.find(' ', start + 1);
  return start == std::string::npos || end == std::string::npos
             ? std::string()
             : request.substr(start + 1, end - start - 1);
}

}  // namespace

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

std::string SampleService::Answer(const std::string& request) {
  std::unique_lock<std::mutex> lock(mutex_);
  released_.wait(lock, [this] { return !held_ || stopping_; });
  const std::string path = RequestPath(request);
  const bool document = path == kDocumentPath;
  const std::string image(image_.begin(), image_.end());
  switch (misbehaviour_) {
    case Misbehaviour::kNone:
      break;
    case Misbehaviour::kHtml404:
      return LoopbackServer::Response(kNotFound, "404 Not Found", "Content-Type: text/html\r\n");
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
      if (!document) {
        released_.wait(lock, [this] { return stopping_; });
        return "";
      }
      break;
  }
  if (document) return LoopbackServer::Response(kDocument, "200 OK", "Content-Type: application/json\r\n");
  if (path == kImagePath) return LoopbackServer::Response(image, "200 OK", "Content-Type: image/png\r\n");
  return LoopbackServer::Response(kNotFound, "404 Not Found", "Content-Type: text/html\r\n");
}

}  // namespace jc::test
