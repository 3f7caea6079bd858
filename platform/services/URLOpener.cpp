#include "platform/services/URLOpener.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/services/DesktopProgram.h"

namespace ui {

namespace {

URLOpener::Launcher& launcher() {
  static URLOpener::Launcher l;
  return l;
}

std::map<std::string, URLOpener::Launcher>& schemes() {
  static std::map<std::string, URLOpener::Launcher> registry;
  return registry;
}

// Hands the URL to xdg-open without waiting; its failure is logged on the main thread.
bool launchWithDesktop(const std::string& url) {
  bool started = startDesktopProgram({"xdg-open", url}, [url](int status) {
    if (status != 0)
      ns::logf("INFO  - [%s] Could not open %s: xdg-open ended with status %d", ns::logTimestamp().c_str(),
               url.c_str(), status);
  });
  if (!started)
    ns::logf("INFO  - [%s] Could not open %s: xdg-open could not be started", ns::logTimestamp().c_str(), url.c_str());
  return started;
}

std::string lowerScheme(const std::string& url) {
  auto colon = url.find(':');
  if (colon == std::string::npos) return "";
  std::string scheme = url.substr(0, colon);
  std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return scheme;
}

// A field name as a mail client reads it: percent escapes decoded, lower case.
std::string fieldName(const std::string& field) {
  return ns::lowercase(ns::percentUnescape(field.substr(0, field.find('='))));
}

// Some mail clients attach the local file an "attach" or "attachment" field
// names: a link could mail away any file of the user. Those fields go.
std::string withoutAttachments(const std::string& url) {
  size_t query = url.find('?');
  if (query == std::string::npos) return url;
  std::string kept;
  size_t start = query + 1;
  while (start <= url.size()) {
    size_t end = url.find('&', start);
    if (end == std::string::npos) end = url.size();
    std::string field = url.substr(start, end - start);
    std::string name = fieldName(field);
    if (name != "attach" && name != "attachment") kept += (kept.empty() ? "" : "&") + field;
    start = end + 1;
  }
  return url.substr(0, query) + (kept.empty() ? "" : "?" + kept);
}

}  // namespace

bool URLOpener::canOpenURL(const std::string& url) {
  if (url.empty() || url.size() > kMaxLength) return false;
  for (unsigned char c : url)
    if (c <= 0x20 || c == 0x7f) return false;
  std::string scheme = lowerScheme(url);
  std::string rest = url.substr(scheme.size() + (scheme.empty() ? 0 : 1));
  if (scheme == "http" || scheme == "https") return rest.rfind("//", 0) == 0 && rest.size() > 2;
  if (scheme == "mailto") return !rest.empty();
  return !scheme.empty() && !rest.empty() && schemes().count(scheme) > 0;
}

bool URLOpener::openURL(const std::string& url) {
  if (!canOpenURL(url)) {
    ns::logf("INFO  - [%s] Refused to open URL with scheme '%s'", ns::logTimestamp().c_str(),
             lowerScheme(url).c_str());
    return false;
  }
  auto registered = schemes().find(lowerScheme(url));
  if (registered != schemes().end()) return registered->second(url);
  std::string target = lowerScheme(url) == "mailto" ? withoutAttachments(url) : url;
  auto& l = launcher();
  return l ? l(target) : launchWithDesktop(target);
}

void URLOpener::registerScheme(const std::string& scheme, Launcher handler) {
  if (handler) schemes()[scheme] = std::move(handler);
  else schemes().erase(scheme);
}

void URLOpener::clearSchemes() { schemes().clear(); }

void URLOpener::setLauncher(Launcher l) { launcher() = std::move(l); }

}  // namespace ui
