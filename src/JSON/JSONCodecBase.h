#pragma once
// What the JSON parser and writer share: the nesting limit of a call and the
// trace of errors of the call that failed last. Each error holds the one
// recorded before it as its underlying error, so the last error of the trace
// is the outermost and leads back through the chain.
//
// One call at a time per instance; only maxDepth may be read and set from
// other threads.
#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

// The codec's error domain.
inline constexpr const char* JSONErrorDomain = "org.zarvel.json.ErrorDomain";

// The error codes of the parser and the writer.
enum JSONErrorCode : int {
  JSONErrorUnsupported = 1,
  JSONErrorNumber = 2,
  JSONErrorSyntax = 3,
  JSONErrorFragment = 4,
  JSONErrorControlCharacter = 5,
  JSONErrorUnicode = 6,
  JSONErrorDepth = 7,
  JSONErrorEscape = 8,
  JSONErrorTrailingComma = 9,
  JSONErrorGarbage = 10,
  JSONErrorEndOfInput = 11,
  JSONErrorNilInput = 12,
};

struct JSONError {
  std::string domain;
  int code = 0;
  std::string description;
  std::shared_ptr<const JSONError> underlyingError;
};
using JSONErrorRef = std::shared_ptr<const JSONError>;

// The bytes a JSON string cannot hold as they are: the control characters,
// the double quote and the backslash. Text without them is copied whole.
inline constexpr std::array<bool, 256> JSONEscapedBytes = [] {
  std::array<bool, 256> set{};
  for (int i = 0; i < 0x20; ++i) set[i] = true;
  set['"'] = set['\\'] = true;
  return set;
}();

class JSONCodecBase {
 public:
  static constexpr unsigned kDefaultMaxDepth = 512;
  // Nesting is scanned and written recursively, a few hundred bytes of stack
  // a level (a few kilobytes under the address sanitizer): this limit keeps a
  // call well inside a thread's stack.
  static constexpr unsigned kMaxDepthCeiling = 2048;

  JSONCodecBase() = default;
  JSONCodecBase(const JSONCodecBase&) = delete;
  JSONCodecBase& operator=(const JSONCodecBase&) = delete;

  // Oldest first; empty until the first error, emptied at the start of every call.
  const std::vector<JSONErrorRef>& errorTrace() const { return errorTrace_; }
  void addErrorWithCode(int code, std::string description);
  void clearErrorTrace() { errorTrace_.clear(); }

  unsigned maxDepth() const { return maxDepth_.load(); }
  // Refuses (false, limit unchanged) 0, which would mean "no limit", and
  // anything above kMaxDepthCeiling.
  bool setMaxDepth(unsigned maxDepth);

 protected:
  // depth + 1; past maxDepth records "Nested too deep" and answers false.
  bool enterNesting();
  void leaveNesting() { --depth; }
  void copyErrorTrace(const JSONCodecBase& from) { errorTrace_ = from.errorTrace_; }

  unsigned depth = 0;  // nesting of the call under way

 private:
  std::vector<JSONErrorRef> errorTrace_;
  std::atomic<unsigned> maxDepth_{kDefaultMaxDepth};
};
