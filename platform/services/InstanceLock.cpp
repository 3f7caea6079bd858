#include "platform/services/InstanceLock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"

namespace ui {

namespace {

constexpr char kLockName[] = "zarvel.lock";
constexpr char kSocketName[] = "zarvel.sock";
constexpr char kAnswer[] = "ok";  // the running instance took the link
// A start that finds the lock taken may come while the running instance is
// still making its socket: it tries again for this long.
constexpr int kConnectAttempts = 40;
constexpr auto kConnectPause = std::chrono::milliseconds(50);
// How long either side waits for the other's line.
constexpr int kReplyTimeoutSeconds = 5;

// The socket's address. A folder path too long for sun_path is reached through
// an open descriptor of the folder (/proc/self/fd/N/zarvel.sock).
class SocketAddress {
 public:
  explicit SocketAddress(const std::string& folder) {
    std::string path = ns::pathJoin(folder, kSocketName);
    if (path.size() >= sizeof(address_.sun_path)) {
      folderFd_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
      if (folderFd_ < 0) return;
      path = "/proc/self/fd/" + std::to_string(folderFd_) + "/" + kSocketName;
    }
    address_.sun_family = AF_UNIX;
    std::memcpy(address_.sun_path, path.c_str(), path.size() + 1);
    valid_ = true;
  }
  ~SocketAddress() {
    if (folderFd_ >= 0) ::close(folderFd_);
  }
  SocketAddress(const SocketAddress&) = delete;
  SocketAddress& operator=(const SocketAddress&) = delete;

  bool valid() const { return valid_; }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address_); }
  socklen_t size() const { return sizeof(address_); }

 private:
  sockaddr_un address_{};
  int folderFd_ = -1;
  bool valid_ = false;
};

void setReceiveTimeout(int fd, int seconds) {
  timeval timeout{seconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// One line ending in "\n" (without it), at most `limit` bytes; nothing on a
// timeout, a closed connection or a longer line.
std::optional<std::string> readLine(int fd, std::size_t limit) {
  std::string line;
  char buffer[512];
  for (;;) {
    ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    line.append(buffer, static_cast<std::size_t>(n));
    if (auto end = line.find('\n'); end != std::string::npos) {
      line.resize(end);
      return line.size() <= limit ? std::optional(line) : std::nullopt;
    }
    if (line.size() > limit) return std::nullopt;
  }
}

// A link is one line of printable text.
bool isOneLine(const std::string& link) {
  for (unsigned char c : link)
    if (c < 0x20 || c == 0x7f) return false;
  return true;
}

// Hands the link to the instance listening in the folder; true once it answered.
bool handOver(const std::string& folder, const std::string& link) {
  SocketAddress address(folder);
  if (!address.valid()) return false;
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (attempt) std::this_thread::sleep_for(kConnectPause);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, address.get(), address.size()) != 0) {
      int error = errno;
      ::close(fd);
      if (error == ENOENT || error == ECONNREFUSED) continue;  // not listening yet
      return false;
    }
    setReceiveTimeout(fd, kReplyTimeoutSeconds);
    bool taken = writeAll(fd, link + "\n") && readLine(fd, sizeof kAnswer) == std::string(kAnswer);
    ::close(fd);
    return taken;
  }
  return false;
}

}  // namespace

InstanceLock::InstanceLock(std::string folder, int lockFd) : folder_(std::move(folder)), lockFd_(lockFd) {}

InstanceLock::Start InstanceLock::acquire(const std::string& folder, const std::string& link) {
  Start start;
  std::string reason;
  if (!ns::createDirectory(folder, &reason)) {
    start.message = "No lock in " + folder + ": " + reason;
    return start;
  }
  int fd = ::open(ns::pathJoin(folder, kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    start.message = "No lock in " + folder + ": " + std::strerror(errno);
    return start;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    start.outcome = Outcome::Acquired;
    start.lock.reset(new InstanceLock(folder, fd));
    return start;
  }
  int error = errno;
  ::close(fd);
  if (error != EWOULDBLOCK) {
    start.message = "No lock in " + folder + ": " + std::strerror(error);
    return start;
  }
  const std::string problem = link.empty() ? std::string() : linkProblem(link);
  if (!link.empty() && problem.empty() && handOver(folder, link)) {
    start.outcome = Outcome::HandedOver;
    return start;
  }
  start.outcome = Outcome::AlreadyRunning;
  start.message = "Zarvel is already running with the data in " + folder;
  if (link.empty()) start.message += ".";
  else if (!problem.empty()) start.message += "; the link was not passed on: " + problem + ".";
  else start.message += ", and it did not take the link " + link + ".";
  return start;
}

std::string InstanceLock::linkProblem(const std::string& link) {
  if (link.empty() || !isOneLine(link)) return "it is not one line of text";
  std::size_t length = ns::length16(link);
  if (length > kMaxLinkLength || link.size() > kMaxLinkBytes)
    return "it is too long (" + std::to_string(length) + " characters; at most " + std::to_string(kMaxLinkLength) +
           ")";
  return {};
}

bool InstanceLock::listen(std::function<void(const std::string& link)> open) {
  if (listenFd_ >= 0) return true;
  std::string path = ns::pathJoin(folder_, kSocketName);
  ::unlink(path.c_str());  // left by an instance that ended without cleaning up: the lock is ours
  SocketAddress address(folder_);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  bool bound = fd >= 0 && address.valid() && ::bind(fd, address.get(), address.size()) == 0;
  if (!bound || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0 ||
      ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0 || ::pipe2(stopPipe_, O_CLOEXEC) != 0) {
    ns::logf("INFO  - [%s] Links from later starts cannot reach this one: %s (%s)", ns::logTimestamp().c_str(),
             std::strerror(errno), path.c_str());
    if (fd >= 0) ::close(fd);
    if (bound) ::unlink(path.c_str());
    return false;
  }
  listenFd_ = fd;
  listener_ = ns::Thread("instance-links", [this, open = std::move(open)] { serve(open); });
  return true;
}

namespace {

// A connection of a later start, read as its bytes come, until its deadline.
struct Client {
  int fd = -1;
  std::string line;
  std::chrono::steady_clock::time_point deadline;
};

enum class Read { Waiting, Done };

// Reads what the client has sent so far. Done when the connection is over:
// its line was taken (answered "ok" and handed to `take`), refused, or it
// closed or failed.
Read readFrom(Client& client, const std::function<void(const std::string&)>& take) {
  char buffer[1024];
  for (;;) {
    ssize_t n = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Read::Waiting;
    if (n <= 0) return Read::Done;
    client.line.append(buffer, static_cast<std::size_t>(n));
    if (auto end = client.line.find('\n'); end != std::string::npos) {
      client.line.resize(end);
      if (InstanceLock::linkProblem(client.line).empty() && writeAll(client.fd, std::string(kAnswer) + "\n"))
        take(client.line);
      return Read::Done;
    }
    if (client.line.size() > InstanceLock::kMaxLinkBytes) return Read::Done;
  }
}

}  // namespace

void InstanceLock::serve(std::function<void(const std::string&)> open) {
  using Clock = std::chrono::steady_clock;
  auto take = [&open](const std::string& link) { ns::RunLoop::main().post([open, link] { open(link); }); };
  std::vector<Client> clients;
  auto drop = [&clients](std::size_t i) {
    ::close(clients[i].fd);
    clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
  };
  for (;;) {
    // The clients are in order of arrival, so of deadline: the first one's is the next.
    std::vector<pollfd> fds = {{listenFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    for (const Client& c : clients) fds.push_back({c.fd, POLLIN, 0});
    int timeout = -1;
    if (!clients.empty())
      timeout = int(std::max<long long>(
          0, std::chrono::ceil<std::chrono::milliseconds>(clients.front().deadline - Clock::now()).count()));
    if (::poll(fds.data(), fds.size(), timeout) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents) break;
    // The clients with something to read, then the ones out of time.
    for (std::size_t i = clients.size(); i-- > 0;)
      if (fds[2 + i].revents && readFrom(clients[i], take) == Read::Done) drop(i);
    Clock::time_point now = Clock::now();
    while (!clients.empty() && clients.front().deadline <= now) drop(0);
    if (!(fds[0].revents & POLLIN)) continue;
    for (std::size_t accepted = 0; accepted < kMaxClients; ++accepted) {  // a flood does not hold the loop
      int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) break;
      if (clients.size() >= kMaxClients) drop(0);
      clients.push_back({fd, {}, now + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(kClientDeadline))});
      if (readFrom(clients.back(), take) == Read::Done) drop(clients.size() - 1);
    }
  }
  for (const Client& c : clients) ::close(c.fd);
}

InstanceLock::~InstanceLock() {
  if (listenFd_ >= 0) {
    [[maybe_unused]] ssize_t n = ::write(stopPipe_[1], "x", 1);
    listener_.join();
    ::close(listenFd_);
    ::unlink(ns::pathJoin(folder_, kSocketName).c_str());
  }
  for (int fd : stopPipe_)
    if (fd >= 0) ::close(fd);
  if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

}  // namespace ui
