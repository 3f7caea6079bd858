#pragma once
// Named notifications delivered synchronously to observers on the posting thread.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace ns {

class NotificationCenter;

// Keeps an observer registered while alive; removing it on destruction.
class Observer {
 public:
  Observer() = default;
  ~Observer() { remove(); }
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;
  Observer(Observer&& other) noexcept;
  Observer& operator=(Observer&& other) noexcept;

  void remove();
  bool isActive() const;

  struct Entry;

 private:
  friend class NotificationCenter;
  explicit Observer(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}
  std::shared_ptr<Entry> entry_;
};

class NotificationCenter {
 public:
  using Handler = std::function<void(const Value& userInfo)>;

  static NotificationCenter& defaultCenter();

  [[nodiscard]] Observer addObserver(const std::string& name, Handler handler);
  // Calls every observer of the name registered when the post begins, in order
  // of registration, skipping any removed during the post.
  void postNotificationName(const std::string& name, const Value& userInfo = {});

  std::size_t observerCount(const std::string& name) const;

  NotificationCenter();
  ~NotificationCenter();
  NotificationCenter(const NotificationCenter&) = delete;
  NotificationCenter& operator=(const NotificationCenter&) = delete;

  struct Registry;

 private:
  std::shared_ptr<Registry> registry_;
};

}  // namespace ns
