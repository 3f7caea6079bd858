#include "platform/foundation/Paths.h"

#include <cstdlib>

namespace ns {

namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string homeDirectory() {
  std::string home = env("HOME");
  return home.empty() ? std::string("/tmp") : home;
}

// <ZARVEL_HOME>/<homeSub>, else <$xdgVar or ~/fallback>/zarvel.
std::string userDirectory(const char* homeSub, const char* xdgVar, const char* fallback) {
  std::string root = env("ZARVEL_HOME");
  if (!root.empty()) return pathJoin(root, homeSub);
  std::string base = env(xdgVar);
  if (base.empty() || base[0] != '/') base = pathJoin(homeDirectory(), fallback);
  return pathJoin(base, "zarvel");
}

}  // namespace

std::string documentsDirectory() { return userDirectory("documents", "XDG_DATA_HOME", ".local/share"); }
std::string cachesDirectory() { return userDirectory("caches", "XDG_CACHE_HOME", ".cache"); }
std::string configDirectory() { return userDirectory("config", "XDG_CONFIG_HOME", ".config"); }

std::string resourceDirectory() {
  std::string dir = env("ZARVEL_RESOURCES");
  if (!dir.empty()) return dir;
  return builtResourceDirectory();
}

std::string temporaryDirectory() {
  std::string dir = env("TMPDIR");
  return dir.empty() ? std::string("/tmp") : dir;
}

std::string pathJoin(std::string_view a, std::string_view b) {
  while (!b.empty() && b.front() == '/') b.remove_prefix(1);
  if (a.empty()) return std::string(b);
  std::string out(a);
  if (b.empty()) return out;
  if (out.back() != '/') out.push_back('/');
  out.append(b);
  return out;
}

std::string lastPathComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path == "/") return "/";
  std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string deletingLastPathComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string pathExtension(std::string_view path) {
  std::string name = lastPathComponent(path);
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

std::string deletingPathExtension(std::string_view path) {
  std::string ext = pathExtension(path);
  std::string p(path);
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (ext.empty()) return p;
  return p.substr(0, p.size() - ext.size() - 1);
}

bool isSafePathComponent(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace ns
