#pragma once
// Diagnostic log lines ("DEBUG - [date] ...") and the fatal assertion.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ns {

// Writes one line to standard error (and to every capturing sink). Thread-safe.
void log(std::string_view line);

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// printf-style log line.
void logf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The description of the current date (on the process clock), as the log lines
// show it in their brackets: "2026-12-09 20:31:05 +0000".
std::string logTimestamp();

// Logs the message and exits the process with a non-zero status, after
// telling the fatal handler (a window run shows the message in a box).
[[noreturn]] void fatal(std::string_view message);
void setFatalHandler(std::function<void(std::string_view message)> handler);

// While alive, collects every logged line (tests read them). Sinks nest.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() const;
  // Number of captured lines containing the fragment.
  int count(std::string_view fragment) const;
  bool contains(std::string_view fragment) const { return count(fragment) > 0; }
  void clear();
  // When false (the default is true), captured lines are not echoed to stderr.
  void setEcho(bool echo);

 public:
  struct State;  // shared with the log registry

 private:
  State* state_;
};

}  // namespace ns
