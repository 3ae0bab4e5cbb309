#include "tests/support/loopback_server_win.h"

#include <ws2tcpip.h>

#include <cstdlib>

namespace jc::test {
namespace {

struct WinsockStartup {
  WinsockStartup() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
};

SOCKET Listen(int port, int* boundPort) {
  static WinsockStartup startup;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(s, 16) != 0) {
    std::abort();  // a test server that cannot listen makes every result meaningless
  }
  int length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  *boundPort = ntohs(address.sin_port);
  return s;
}

size_t ContentLength(const std::string& head) {
  std::string lower = head;
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  size_t at = lower.find("\r\ncontent-length:");
  return at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

}  // namespace

LoopbackServer::LoopbackServer(Responder responder, Behaviour behaviour)
    : responder_(std::move(responder)), behaviour_(behaviour) {
  listener_ = Listen(0, &port_);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  ::closesocket(listener_);  // ends the blocking accept
  thread_.join();
  for (SOCKET s : held_) ::closesocket(s);
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::string LoopbackServer::Response(const std::string& body, const std::string& status,
                                     const std::string& extraHeaders) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

int LoopbackServer::UnusedPort() {
  int port = 0;
  ::closesocket(Listen(0, &port));
  return port;
}

std::string LoopbackServer::ReadRequest(SOCKET client) {
  DWORD timeoutMs = 5000;  // a client that stalls must not stall the test
  ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof timeoutMs);
  std::string request;
  size_t wanted = std::string::npos;
  char buffer[4096];
  while (request.size() < wanted) {
    int got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, static_cast<size_t>(got));
    size_t end = request.find("\r\n\r\n");
    if (wanted == std::string::npos && end != std::string::npos) {
      wanted = end + 4 + ContentLength(request.substr(0, end + 2));
    }
  }
  return request;
}

void LoopbackServer::Serve() {
  while (!stopping_) {
    SOCKET client = ::accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) break;
    std::string request = ReadRequest(client);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    if (behaviour_ == Behaviour::kSilent) {
      held_.push_back(client);
      continue;
    }
    const Reply reply = responder_(request);
    const std::string& response = reply.bytes;
    for (size_t sent = 0; sent < response.size();) {
      int n = ::send(client, response.data() + sent, static_cast<int>(response.size() - sent), 0);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    if (reply.holdOpen) {
      held_.push_back(client);
      continue;
    }
    ::shutdown(client, SD_SEND);
    ::closesocket(client);
  }
}

}  // namespace jc::test
