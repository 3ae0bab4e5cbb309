// The WinINet transport of `WebRequest`.
#pragma once

#include "web/web_request.h"

namespace jc {

// A request that hears nothing for this long fails with empty bytes rather than holding the
// update job forever.
inline constexpr unsigned long kRequestTimeoutMs = 30000;

// Performs one exchange synchronously: opens the internet, connection and request handles,
// sends, reads the body in 1024-byte reads, captures the raw headers and closes the handles in
// reverse order before returning. Stateless; one object may serve several threads.
class WinInetTransport final : public HttpTransport {
 public:
  explicit WinInetTransport(unsigned long timeoutMs = kRequestTimeoutMs) : timeoutMs_(timeoutMs) {}
  HttpOutcome Perform(const HttpExchange& exchange) override;

 private:
  HttpOutcome PerformOnce(const HttpExchange& exchange);
  unsigned long timeoutMs_;
};

}  // namespace jc
