#pragma once
// A scripted HTTP/1.1 server on 127.0.0.1 (a port the system picks) for tests
// of URL loading. Each path answers as its script says: status, headers, a body
// sent in chunks with pauses (a drip), a stall, an early close, chunked
// encoding, a redirect, or header fields as hostile as a test wants (repeated
// or conflicting ones included). Every request received is recorded. One
// connection per request.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class LoopbackServer {
 public:
  struct Answer {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    // The body is written chunk by chunk, with `pauseMs` between chunks.
    std::vector<std::string> chunks;
    int pauseMs = 0;
    bool sendContentLength = true;  // the real total, unless `contentLength` is set
    long long contentLength = -1;   // announced instead of the real total when >= 0
    bool chunkedEncoding = false;
    bool closeEarly = false;        // closes after the headers, before any body
    int stallMs = 0;                // waits this long before answering at all
  };
  struct Received {
    std::string method, path, body;
    std::map<std::string, std::string> headers;  // names in lower case
  };
  using Script = std::function<Answer(const Received&)>;

  LoopbackServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(fd_, 64);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { acceptLoop(); });
  }
  ~LoopbackServer() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    for (auto& t : workers_) t.join();
    ::close(fd_);
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  void on(const std::string& path, Script script) {
    std::lock_guard lock(mutex_);
    scripts_[path] = std::move(script);
  }
  void on(const std::string& path, Answer answer) {
    on(path, [answer](const Received&) { return answer; });
  }
  static Answer ok(std::string body) {
    Answer a;
    a.chunks = {std::move(body)};
    return a;
  }
  // The body a few bytes at a time, each after a pause: never idle long enough
  // for an idle time-out, yet slow.
  static Answer drip(const std::string& body, size_t bytesPerChunk, int pauseMs) {
    Answer a;
    for (size_t i = 0; i < body.size(); i += bytesPerChunk) a.chunks.push_back(body.substr(i, bytesPerChunk));
    a.pauseMs = pauseMs;
    return a;
  }

  std::vector<Received> received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  int requestCount(const std::string& path) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto& r : received_) n += r.path == path;
    return n;
  }
  // Connections accepted and not yet answered in full.
  int openConnections() const { return open_; }

 private:
  void acceptLoop() {
    while (!stopping_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      int client = ::accept(fd_, nullptr, nullptr);
      if (client < 0) continue;
      ++open_;
      std::lock_guard lock(mutex_);
      workers_.emplace_back([this, client] {
        serve(client);
        ::close(client);
        --open_;
      });
    }
  }

  bool readRequest(int client, Received& r) {
    std::string buffer;
    char chunk[4096];
    size_t headerEnd;
    while ((headerEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
      if (!waitReadable(client)) return false;
      ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
      if (n <= 0) return false;
      buffer.append(chunk, n);
    }
    std::string head = buffer.substr(0, headerEnd);
    size_t lineEnd = head.find("\r\n");
    std::string requestLine = head.substr(0, lineEnd);
    size_t sp1 = requestLine.find(' '), sp2 = requestLine.rfind(' ');
    r.method = requestLine.substr(0, sp1);
    r.path = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
    while (pos < head.size()) {
      size_t end = head.find("\r\n", pos);
      if (end == std::string::npos) end = head.size();
      std::string line = head.substr(pos, end - pos);
      if (auto colon = line.find(':'); colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t v = line.find_first_not_of(' ', colon + 1);
        r.headers[name] = v == std::string::npos ? "" : line.substr(v);
      }
      pos = end + 2;
    }
    size_t length = r.headers.count("content-length") ? std::stoul(r.headers["content-length"]) : 0;
    r.body = buffer.substr(headerEnd + 4);
    while (r.body.size() < length) {
      if (!waitReadable(client)) return false;
      ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
      if (n <= 0) return false;
      r.body.append(chunk, n);
    }
    return true;
  }

  bool waitReadable(int client) {
    for (int i = 0; i < 500 && !stopping_; ++i) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  void sleepMs(int ms) {
    for (int waited = 0; waited < ms && !stopping_; waited += 5)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  static void sendAll(int client, const std::string& s) {
    size_t sent = 0;
    while (sent < s.size()) {
      ssize_t n = ::send(client, s.data() + sent, s.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += n;
    }
  }

  void serve(int client) {
    Received r;
    if (!readRequest(client, r)) return;
    Script script;
    {
      std::lock_guard lock(mutex_);
      received_.push_back(r);
      // A path with a query falls back to the script of the bare path.
      auto it = scripts_.find(r.path);
      if (it == scripts_.end()) it = scripts_.find(r.path.substr(0, r.path.find('?')));
      if (it != scripts_.end()) script = it->second;
    }
    Answer a;
    if (script) {
      a = script(r);
    } else {
      a.status = 404;
      a.chunks = {"not found"};
    }
    sleepMs(a.stallMs);
    if (stopping_) return;
    long long total = 0;
    for (const auto& c : a.chunks) total += static_cast<long long>(c.size());
    std::string head = "HTTP/1.1 " + std::to_string(a.status) + " Status\r\nConnection: close\r\n";
    for (const auto& [n, v] : a.headers) head += n + ": " + v + "\r\n";
    if (a.chunkedEncoding) {
      head += "Transfer-Encoding: chunked\r\n";
    } else if (a.contentLength >= 0) {
      head += "Content-Length: " + std::to_string(a.contentLength) + "\r\n";
    } else if (a.sendContentLength) {
      head += "Content-Length: " + std::to_string(total) + "\r\n";
    }
    sendAll(client, head + "\r\n");
    if (a.closeEarly) return;
    for (size_t i = 0; i < a.chunks.size() && !stopping_; ++i) {
      if (i && a.pauseMs) sleepMs(a.pauseMs);
      const std::string& c = a.chunks[i];
      if (a.chunkedEncoding) {
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", c.size());
        sendAll(client, size + c + "\r\n");
      } else {
        sendAll(client, c);
      }
    }
    if (a.chunkedEncoding) sendAll(client, "0\r\n\r\n");
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> open_{0};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::thread> workers_;
  std::map<std::string, Script> scripts_;
  std::vector<Received> received_;
};

}  // namespace testing_support
