#include "platform/foundation/Log.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <utility>

#include "platform/foundation/Date.h"

namespace ns {

struct LogCapture::State {
  mutable std::mutex mutex;
  std::vector<std::string> lines;
  bool echo = true;
};

namespace {

std::mutex& registryMutex() {
  static std::mutex m;
  return m;
}

std::vector<LogCapture::State*>& sinks() {
  static std::vector<LogCapture::State*> s;
  return s;
}

std::string vformat(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), fmt, args);
  out.resize(static_cast<size_t>(n));
  return out;
}

}  // namespace

void log(std::string_view line) {
  std::lock_guard<std::mutex> lock(registryMutex());
  bool echo = sinks().empty();
  for (auto* s : sinks()) {
    std::lock_guard<std::mutex> l(s->mutex);
    s->lines.emplace_back(line);
    echo = echo || s->echo;
  }
  if (echo) {
    std::cerr << line << '\n';
  }
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  return s;
}

void logf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  log(s);
}

std::string logTimestamp() { return Date::now().description(); }

namespace {
std::function<void(std::string_view)>& fatalHandler() {
  static std::function<void(std::string_view)> handler;
  return handler;
}
}  // namespace

void setFatalHandler(std::function<void(std::string_view message)> handler) { fatalHandler() = std::move(handler); }

void fatal(std::string_view message) {
  log(std::string("FATAL - ") + std::string(message));
  std::cerr.flush();
  if (auto handler = std::exchange(fatalHandler(), nullptr)) handler(message);  // once, even if it fails too
  std::_Exit(EXIT_FAILURE);
}

LogCapture::LogCapture() : state_(new State) {
  std::lock_guard<std::mutex> lock(registryMutex());
  sinks().push_back(state_);
}

LogCapture::~LogCapture() {
  {
    std::lock_guard<std::mutex> lock(registryMutex());
    auto& s = sinks();
    s.erase(std::remove(s.begin(), s.end(), state_), s.end());
  }
  delete state_;
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard<std::mutex> l(state_->mutex);
  return state_->lines;
}

int LogCapture::count(std::string_view fragment) const {
  std::lock_guard<std::mutex> l(state_->mutex);
  return static_cast<int>(std::count_if(state_->lines.begin(), state_->lines.end(),
      [&](const std::string& line) { return line.find(fragment) != std::string::npos; }));
}

void LogCapture::clear() {
  std::lock_guard<std::mutex> l(state_->mutex);
  state_->lines.clear();
}

void LogCapture::setEcho(bool echo) {
  std::lock_guard<std::mutex> l(state_->mutex);
  state_->echo = echo;
}

}  // namespace ns
