#pragma once
// Opening a URL outside the application, through the desktop (xdg-open).
// Web and mail links leave the application; another application's own scheme
// opens only when a handler for it is registered (none is by default: the
// desktop has none of the tablet's sibling applications); every other scheme
// is refused, as are texts with spaces or control characters.
#include <functional>
#include <string>

namespace ui {

class URLOpener {
 public:
  using Launcher = std::function<bool(const std::string& url)>;

  // True for an allowed scheme (http, https, mailto) and a well-formed text.
  static bool canOpenURL(const std::string& url);
  // Hands an allowed URL to the launcher (a mail link without the "attach" and
  // "attachment" fields that would have a mail client attach a local file);
  // false when refused or the launch
  // fails. The desktop's launcher returns once the handler has started; a
  // handler that then fails is logged from the main thread.
  static bool openURL(const std::string& url);

  // The default launcher starts xdg-open; tests put a recorder in its place.
  // nullptr restores the default.
  static void setLauncher(Launcher launcher);

  // The handler of an application's own scheme (lower case, without ':');
  // nullptr removes it. clearSchemes removes them all.
  static void registerScheme(const std::string& scheme, Launcher handler);
  static void clearSchemes();

  static constexpr size_t kMaxLength = 8192;
};

}  // namespace ui
