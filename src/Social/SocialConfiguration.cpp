#include "src/Social/SocialConfiguration.h"

#include <cctype>
#include <cstdlib>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/Value.h"

#ifndef ZARVEL_SOCIAL_APP_ID
#define ZARVEL_SOCIAL_APP_ID ""
#endif
#ifndef ZARVEL_SOCIAL_DIALOG_URL
#define ZARVEL_SOCIAL_DIALOG_URL ""
#endif
#ifndef ZARVEL_SOCIAL_GRAPH_URL
#define ZARVEL_SOCIAL_GRAPH_URL ""
#endif
#ifndef ZARVEL_SOCIAL_REST_URL
#define ZARVEL_SOCIAL_REST_URL ""
#endif
#ifndef ZARVEL_SOCIAL_LOGIN_HOST
#define ZARVEL_SOCIAL_LOGIN_HOST ""
#endif

namespace {

constexpr std::uint64_t kMaxFileBytes = 16 * 1024;

bool isWebAddress(const std::string& url) {
  std::string lower = ns::lowercase(url);
  return (ns::hasPrefix(lower, "http://") && url.size() > 7) || (ns::hasPrefix(lower, "https://") && url.size() > 8);
}

std::string withSlash(std::string url) {
  if (!url.empty() && url.back() != '/') url += '/';
  return url;
}

std::string withoutSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

void override(std::string& value, const ns::Value& file, const char* key, const char* variable) {
  if (file.isDictionary() && file[key].isString()) value = file[key].stringValue();
  if (const char* env = std::getenv(variable)) value = env;
}

}  // namespace

SocialConfiguration SocialConfiguration::current() {
  SocialConfiguration c{ZARVEL_SOCIAL_APP_ID, ZARVEL_SOCIAL_DIALOG_URL, ZARVEL_SOCIAL_GRAPH_URL,
                        ZARVEL_SOCIAL_REST_URL, ZARVEL_SOCIAL_LOGIN_HOST};
  ns::Value file;
  std::string path = ns::pathJoin(ns::documentsDirectory(), "SocialNetwork.json");
  if (auto data = ns::readFile(path, kMaxFileBytes)) {
    if (auto parsed = ns::Value::fromJSON(ns::stringFromData(*data), 4))
      file = *parsed;
    else
      ns::logf("INFO  - [%s] %s is not JSON: it is ignored", ns::logTimestamp().c_str(), path.c_str());
  }
  override(c.appId, file, "app_id", "ZARVEL_SOCIAL_APP_ID");
  override(c.dialogBase, file, "dialog_url", "ZARVEL_SOCIAL_DIALOG_URL");
  override(c.graphBase, file, "graph_url", "ZARVEL_SOCIAL_GRAPH_URL");
  override(c.restBase, file, "rest_url", "ZARVEL_SOCIAL_REST_URL");
  override(c.loginHost, file, "login_host", "ZARVEL_SOCIAL_LOGIN_HOST");
  c.dialogBase = withSlash(c.dialogBase);
  c.restBase = withSlash(c.restBase);
  c.graphBase = withoutSlash(c.graphBase);
  return c;
}

bool SocialConfiguration::isConfigured() const {
  if (appId.empty() || appId.size() > 32) return false;
  for (unsigned char ch : appId)
    if (!std::isdigit(ch)) return false;
  return isWebAddress(dialogBase) && isWebAddress(graphBase) && isWebAddress(restBase);
}

std::string SocialConfiguration::plainGraphBase() const {
  if (ns::hasPrefix(ns::lowercase(graphBase), "https://")) return "http://" + graphBase.substr(8);
  return graphBase;
}
