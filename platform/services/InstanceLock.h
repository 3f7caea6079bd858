#pragma once
// One running application per data folder. The running instance holds a lock
// on "zarvel.lock" in the folder for its whole life and listens beside it on
// the Unix socket "zarvel.sock"; a later start that finds the lock taken hands
// its inbound link over that socket (one line, answered "ok") and ends.
// The listener is a worker thread serving every connection at once, each
// within a deadline, so no client (slow, idle or many) keeps a link out;
// links reach the caller on the main thread.
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Thread.h"

namespace ui {

class InstanceLock {
 public:
  enum class Outcome {
    Acquired,        // this is the running instance: `lock` holds the folder
    HandedOver,      // another instance runs and took the link
    AlreadyRunning,  // another instance runs (no link, or it did not take it): `message` says so
    NoLock,          // the folder cannot hold a lock; carry on without one
  };
  struct Start {
    Outcome outcome = Outcome::NoLock;
    std::unique_ptr<InstanceLock> lock;
    std::string message;
  };

  // Takes the folder's lock, or hands `link` (when not empty) to the instance
  // that holds it.
  static Start acquire(const std::string& folder, const std::string& link);

  // Starts taking links from later starts; each goes to `open` on the main
  // thread. False when the socket cannot be made (the lock still holds).
  bool listen(std::function<void(const std::string& link)> open);

  // Stops listening, removes the socket and releases the lock.
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // The longest link handed over, in characters (UTF-16 units): the longest
  // the application opens. Longer ones are refused on both sides.
  static constexpr std::size_t kMaxLinkLength = 2000;
  // The longest line read from a client (kMaxLinkLength characters in UTF-8).
  static constexpr std::size_t kMaxLinkBytes = 3 * kMaxLinkLength;
  // Seconds a client has, from its connection, to send its line.
  static constexpr double kClientDeadline = 2.0;
  // Clients served at once; the oldest goes when another comes.
  static constexpr std::size_t kMaxClients = 32;

  // Why a link cannot be handed over or opened ("" when it can): "it is not
  // one line of text" or "it is too long (N characters; at most 2000)".
  static std::string linkProblem(const std::string& link);

 private:
  InstanceLock(std::string folder, int lockFd);
  void serve(std::function<void(const std::string&)> open);

  std::string folder_;
  int lockFd_ = -1;
  int listenFd_ = -1;
  int stopPipe_[2] = {-1, -1};
  ns::Thread listener_;
};

}  // namespace ui
