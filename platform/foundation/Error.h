#pragma once
// An error as the platform reports one: a domain, a code and a text for people.
#include <string>

namespace ns {

struct Error {
  std::string domain;
  int code = 0;
  std::string description;

  bool operator==(const Error& o) const { return domain == o.domain && code == o.code; }
};

// The platform's domain of file errors; 260 is "no such file".
inline constexpr const char* kCocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr int kFileReadNoSuchFileError = 260;

}  // namespace ns
