// A sample of the satellite image service on 127.0.0.1: the latest-image document and the
// newest thumbnail under "/himawari8/img/...", an Earth-like PNG made here, and a switch that
// makes it misbehave the ways the real service and networks do. Records every request.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/text.h"
#include "tests/support/loopback_server_win.h"

namespace jc::test {

enum class Misbehaviour {
  kNone,
  kHtml404,       // both answers are an HTML "404 Not Found" page
  kEmptyBody,     // the thumbnail comes with 200 and no body
  kTruncatedPng,  // the thumbnail stops halfway
  kGarbageJson,   // the document is no JSON at all
  kNoDate,        // the document holds no string value
  kPlaceholder,   // the thumbnail is the "No Image" placeholder
  kSilent,        // the thumbnail request is never answered
};

class SampleService {
 public:
  SampleService();
  ~SampleService();  // releases held answers, then stops

  int port() const { return server_->port(); }
  // The settings value that points the program here: the bare-host form, root "/himawari8".
  std::string AddressSetting() const { return "127.0.0.1:" + std::to_string(port()); }

  static constexpr const char* kDocumentPath = "/himawari8/img/FULL_24h/latest.json";
  static constexpr const char* kImagePath =
      "/himawari8/img/D531106/thumbnail/550/2019/05/31/092000_0_0.png";

  void SetMisbehaviour(Misbehaviour misbehaviour);
  // While held, every answer waits until `Release`.
  void Hold();
  void Release();

  const Bytes& Image() const { return image_; }
  std::vector<std::string> Requests() const { return server_->Requests(); }

 private:
  std::string Answer(const std::string& request);

  Bytes image_;
  Bytes placeholder_;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
  bool stopping_ = false;
  Misbehaviour misbehaviour_ = Misbehaviour::kNone;
  std::unique_ptr<LoopbackServer> server_;  // last: its thread uses the members above
};

// The path of the placeholder fixture kept beside the project (empty bytes when missing).
Bytes ReadPlaceholderFixture();

}  // namespace jc::test
