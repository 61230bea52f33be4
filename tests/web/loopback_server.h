#pragma once
// A scripted HTTP server on 127.0.0.1 for the fetcher's tests: keeps every
// raw request as received (request line, headers in their order, body) and
// answers each with the bytes a handler returns. One connection at a time.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zr::testing {

class LoopbackServer {
 public:
  // The handler gets the raw request and returns the whole raw response;
  // an empty response closes the connection without an answer.
  using Handler = std::function<std::string(const std::string& request)>;

  explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 16);
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }

  ~LoopbackServer() {
    release();
    stopping_ = true;
    thread_.join();
    closeSocket(listener_);
#ifdef _WIN32
    WSACleanup();
#endif
  }

  int port() const { return port_; }
  std::string url(const std::string& path = "/") const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

  std::vector<std::string> requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  // For a handler that plays a slow server: blocks until release() or the
  // server's end, or until the limit passes.
  void holdUntilReleased(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, limit, [&] { return released_; });
  }
  void release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  // Waits until a client has closed the connection it was being held on.
  bool waitForClientGone(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return clientGone_; });
  }

  // A response with the status line, the header lines and the body.
  static std::string response(const std::string& status, const std::string& body,
                              const std::string& headerLines = "Content-Type: text/html\r\n") {
    return "HTTP/1.1 " + status + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
  }

 private:
#ifdef _WIN32
  using Socket = SOCKET;
  static void closeSocket(Socket s) { closesocket(s); }
#else
  using Socket = int;
  static void closeSocket(Socket s) { close(s); }
#endif

  bool readable(Socket s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &tv) > 0;
  }

  void serve() {
    while (!stopping_) {
      if (!readable(listener_, 20)) continue;
      const Socket client = accept(listener_, nullptr, nullptr);
      if (client == static_cast<Socket>(-1)) continue;
      const std::string request = readRequest(client);
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
      }
      const std::string answer = handler_(request);
      sendAll(client, answer);
      noteClientGone(client);
      closeSocket(client);
    }
  }

  // After the answer (or none), waits briefly for the client to close its side.
  void noteClientGone(Socket client) {
    char byte;
    bool gone = false;
    for (int i = 0; i < 100 && !stopping_ && !gone; ++i) {
      if (readable(client, 20)) gone = recv(client, &byte, 1, 0) <= 0;
    }
    std::lock_guard lock(mutex_);
    clientGone_ = gone;
    changed_.notify_all();
  }

  std::string readRequest(Socket client) {
    std::string data;
    char buffer[4096];
    std::size_t bodyStart = std::string::npos, length = 0;
    while (!stopping_) {
      if (bodyStart != std::string::npos && data.size() >= bodyStart + length) break;
      if (!readable(client, 20)) continue;
      const int n = static_cast<int>(recv(client, buffer, sizeof buffer, 0));
      if (n <= 0) break;
      data.append(buffer, static_cast<std::size_t>(n));
      if (bodyStart == std::string::npos) {
        const std::size_t end = data.find("\r\n\r\n");
        if (end == std::string::npos) continue;
        bodyStart = end + 4;
        length = contentLength(data.substr(0, end + 2));
      }
    }
    return data;
  }

  static std::size_t contentLength(std::string headers) {
    for (char& c : headers) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    const std::size_t at = headers.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::strtoul(headers.c_str() + at + 17, nullptr, 10);
  }

  static void sendAll(Socket client, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 1 << 20));
#ifdef MSG_NOSIGNAL
      const int n = static_cast<int>(send(client, bytes.data() + sent, chunk, MSG_NOSIGNAL));
#else
      const int n = send(client, bytes.data() + sent, chunk, 0);
#endif
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  Handler handler_;
  Socket listener_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false, clientGone_ = false;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace zr::testing
