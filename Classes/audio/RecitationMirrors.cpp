#include "Classes/audio/RecitationMirrors.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace {

std::mutex& mirrorsMutex() {
  static std::mutex m;
  return m;
}

std::optional<RecitationMirrors>& slot() {
  static std::optional<RecitationMirrors> mirrors;
  return mirrors;
}

// Scheme, host and optional port and path; no spaces, quotes or control characters.
bool isBaseURL(const std::string& url) {
  std::string rest;
  if (url.rfind("http://", 0) == 0) rest = url.substr(7);
  else if (url.rfind("https://", 0) == 0) rest = url.substr(8);
  else return false;
  if (rest.empty() || rest[0] == '/' || rest.size() > 2000) return false;
  for (unsigned char c : url)
    if (c <= ' ' || c >= 0x7f || c == '"' || c == '\'' || c == '\\' || c == '<' || c == '>' || c == '?' || c == '#')
      return false;
  return true;
}

constexpr std::size_t kMaxListBytes = 64 * 1024;

}  // namespace

RecitationMirrors RecitationMirrors::parse(const std::string& text, const std::string& source) {
  RecitationMirrors m;
  m.source_ = source;
  std::string normalised = text;
  for (char& c : normalised)
    if (c == ',' || c == '\r' || c == '\t') c = c == ',' ? ' ' : '\n';
  std::istringstream lines(normalised);
  std::string line;
  std::vector<std::string> refused;
  while (std::getline(lines, line)) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string url;
    while (words >> url) {
      while (url.size() > 1 && url.back() == '/') url.pop_back();
      if (!isBaseURL(url)) refused.push_back(url);
      else if (int(m.baseURLs_.size()) < kMaxMirrors) m.baseURLs_.push_back(url);
      else refused.push_back(url + " (only six mirrors are used)");
    }
  }
  if (m.baseURLs_.empty()) m.problem_ = "no mirror address in " + source;
  else if (!refused.empty()) m.problem_ = "left out of " + source + ": " + refused.front();
  return m;
}

const RecitationMirrors& RecitationMirrors::shared() {
  std::lock_guard<std::mutex> lock(mirrorsMutex());
  auto& mirrors = slot();
  if (!mirrors) {
    const char* env = std::getenv(kEnvironmentVariable);
    if (env && *env) {
      mirrors = parse(env, kEnvironmentVariable);
    } else {
      std::string path = ns::pathJoin(ns::documentsDirectory(), kFileName);
      std::ifstream in(path, std::ios::binary);
      const bool opened = in.is_open();
      std::string text;
      if (opened) {
        // A list shorter than the cap ends the read early: that is no failure.
        text.resize(kMaxListBytes);
        in.read(text.data(), std::streamsize(text.size()));
        text.resize(std::size_t(in.gcount()));
      }
      mirrors = parse(text, path);
      if (!opened || in.bad()) mirrors->problem_ = "the mirror list " + path + " could not be read";
    }
    if (!mirrors->problem_.empty())
      ns::logf("INFO  - [%s] Recitation mirrors: %s", ns::logTimestamp().c_str(), mirrors->problem_.c_str());
  }
  return *mirrors;
}

void RecitationMirrors::reload() {
  std::lock_guard<std::mutex> lock(mirrorsMutex());
  slot().reset();
}

std::string RecitationMirrors::baseURL(int mirror) const {
  return mirror >= 1 && mirror <= count() ? baseURLs_[std::size_t(mirror - 1)] : std::string();
}
