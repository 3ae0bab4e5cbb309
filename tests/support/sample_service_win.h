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
  kSilent,        // the thumbnail request is read and never answered; the connection stays
  kHtml500,       // both answers are an HTML "500 Internal Server Error" page
  kHalfHeaders,   // the document's answer stops halfway through its headers, connection open
  kHugeBody,      // the thumbnail is 50 MiB that only start like a PNG
  kHugeHeaders,   // both answers carry a 64 KiB header block, then the right body
  kManyCookies,   // both answers set 1,000 cookies, then the right body
  kRedirectLoop,  // the document redirects to itself, for ever
  kNulDocument,   // the document holds NUL bytes around its JSON
  kNotADate,      // the document's string value is no date
  kHugeValue,     // the document's string value is 1 MiB long
};

// Every misbehaviour, with a name for test output.
struct MisbehaviourName {
  Misbehaviour misbehaviour;
  const char* name;
};
extern const MisbehaviourName kMisbehaviours[];
extern const size_t kMisbehaviourCount;

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

  // The thumbnail served when the service behaves; `SetImage` changes it.
  Bytes Image() const;
  void SetImage(Bytes image);
  std::vector<std::string> Requests() const { return server_->Requests(); }

 private:
  LoopbackServer::Reply Answer(const std::string& request);

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
