// A tiny HTTP server on 127.0.0.1 for the version-check tests: a thread that accepts
// connections on a free port and answers each with one fixed reply, or keeps the connection
// open without answering. It remembers the last request it read.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brenvale::testing {

class LocalHttpServer {
 public:
  enum class Mode { Reply, NeverAnswer };

  // `reply` is the whole answer, status line and headers included.
  explicit LocalHttpServer(std::string reply, Mode mode = Mode::Reply) : reply_(std::move(reply)), mode_(mode) {
    bypass_proxies();
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener_, 8);
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
  }

  ~LocalHttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }

  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

  std::string last_request() const {
    std::lock_guard lock(mutex_);
    return request_;
  }

  // A port on 127.0.0.1 where nothing listens: bound, then released.
  static std::string refused_url() {
    bypass_proxies();
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(s);
    return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
  }

 private:
  // A proxy named in the environment must not carry the requests off this machine.
  static void bypass_proxies() {
    ::setenv("no_proxy", "127.0.0.1", 1);
    ::setenv("NO_PROXY", "127.0.0.1", 1);
  }

  bool wait_readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    while (!stop_) {
      if (::poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  void serve() {
    while (wait_readable(listener_)) {
      const int conn = ::accept(listener_, nullptr, nullptr);
      if (conn < 0) continue;
      std::string request;
      char buffer[1024];
      while (request.find("\r\n\r\n") == std::string::npos && wait_readable(conn)) {
        const ssize_t n = ::recv(conn, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
      }
      {
        std::lock_guard lock(mutex_);
        request_ = request;
      }
      if (mode_ == Mode::Reply) {
        ::send(conn, reply_.data(), reply_.size(), MSG_NOSIGNAL);
      } else {
        // Holds the connection until the test ends.
        while (!stop_) ::usleep(20'000);
      }
      ::close(conn);
    }
  }

  std::string reply_;
  Mode mode_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::string request_;
  std::thread thread_;
};

// A plain 200 answer with `body` and a Content-Length.
inline std::string ok_reply(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + body;
}

}  // namespace brenvale::testing
