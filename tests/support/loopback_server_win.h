// A tiny HTTP server on 127.0.0.1 for tests of the Windows build: it listens on a port of
// its own choosing, records every request byte for byte and answers each with what the test's
// responder returns, then closes the connection. Nothing leaves the loopback interface.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace jc::test {

class LoopbackServer {
 public:
  // The whole response (status line, headers, body) for one request. With `holdOpen` the
  // connection stays open after the bytes, without an end, until the server stops.
  struct Reply {
    Reply(std::string bytes = {}, bool holdOpen = false)  // NOLINT: a plain text converts
        : bytes(std::move(bytes)), holdOpen(holdOpen) {}
    std::string bytes;
    bool holdOpen;
  };
  using Responder = std::function<Reply(const std::string& request)>;

  enum class Behaviour {
    kAnswer,  // answer every request with the responder's bytes
    kSilent,  // read the request, then hold the connection open and never answer
  };

  explicit LoopbackServer(Responder responder, Behaviour behaviour = Behaviour::kAnswer);
  ~LoopbackServer();  // stops accepting, drops held connections, joins the thread
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string Url(const std::string& path) const;  // "http://127.0.0.1:<port>" + path
  std::vector<std::string> Requests() const;

  // A response with Content-Length and Connection: close around `body`.
  static std::string Response(const std::string& body, const std::string& status = "200 OK",
                              const std::string& extraHeaders = "");

  // A port on which nothing listens: bound once by the system, then released.
  static int UnusedPort();

 private:
  void Serve();
  std::string ReadRequest(SOCKET client);

  Responder responder_;
  Behaviour behaviour_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<SOCKET> held_;
  std::thread thread_;
};

}  // namespace jc::test
