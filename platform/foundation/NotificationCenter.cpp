#include "platform/foundation/NotificationCenter.h"

#include <algorithm>
#include <atomic>
#include <map>

namespace ns {

struct NotificationCenter::Registry {
  std::mutex mutex;
  std::map<std::string, std::vector<std::shared_ptr<Observer::Entry>>> observers;
};

struct Observer::Entry {
  std::string name;
  NotificationCenter::Handler handler;
  std::atomic<bool> active{true};
  std::weak_ptr<NotificationCenter::Registry> registry;
};

Observer::Observer(Observer&& other) noexcept : entry_(std::move(other.entry_)) {}

Observer& Observer::operator=(Observer&& other) noexcept {
  if (this != &other) {
    remove();
    entry_ = std::move(other.entry_);
  }
  return *this;
}

void Observer::remove() {
  if (!entry_) return;
  entry_->active = false;
  if (auto registry = entry_->registry.lock()) {
    std::lock_guard<std::mutex> lock(registry->mutex);
    auto it = registry->observers.find(entry_->name);
    if (it != registry->observers.end()) {
      std::erase(it->second, entry_);
      if (it->second.empty()) registry->observers.erase(it);
    }
  }
  entry_.reset();
}

bool Observer::isActive() const { return entry_ && entry_->active; }

NotificationCenter::NotificationCenter() : registry_(std::make_shared<Registry>()) {}
NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

Observer NotificationCenter::addObserver(const std::string& name, Handler handler) {
  auto entry = std::make_shared<Observer::Entry>();
  entry->name = name;
  entry->handler = std::move(handler);
  entry->registry = registry_;
  {
    std::lock_guard<std::mutex> lock(registry_->mutex);
    registry_->observers[name].push_back(entry);
  }
  return Observer(entry);
}

void NotificationCenter::postNotificationName(const std::string& name, const Value& userInfo) {
  std::vector<std::shared_ptr<Observer::Entry>> snapshot;
  {
    std::lock_guard<std::mutex> lock(registry_->mutex);
    auto it = registry_->observers.find(name);
    if (it == registry_->observers.end()) return;
    snapshot = it->second;
  }
  // The snapshot keeps each handler alive while it runs, even when its
  // observer removes itself; observers removed earlier in this post are skipped.
  for (const auto& entry : snapshot) {
    if (entry->active && entry->handler) entry->handler(userInfo);
  }
}

std::size_t NotificationCenter::observerCount(const std::string& name) const {
  std::lock_guard<std::mutex> lock(registry_->mutex);
  auto it = registry_->observers.find(name);
  return it == registry_->observers.end() ? 0 : it->second.size();
}

}  // namespace ns
