#pragma once
// Opening a URL outside the application, through the desktop (xdg-open).
// Only web and mail links leave the application; every other scheme is
// refused, as are texts with spaces or control characters.
#include <functional>
#include <string>

namespace ui {

class URLOpener {
 public:
  using Launcher = std::function<bool(const std::string& url)>;

  // True for an allowed scheme (http, https, mailto) and a well-formed text.
  static bool canOpenURL(const std::string& url);
  // Hands an allowed URL to the launcher; false when refused or the launch
  // fails. The desktop's launcher returns once the handler has started; a
  // handler that then fails is logged from the main thread.
  static bool openURL(const std::string& url);

  // The default launcher starts xdg-open; tests put a recorder in its place.
  // nullptr restores the default.
  static void setLauncher(Launcher launcher);

  static constexpr size_t kMaxLength = 8192;
};

}  // namespace ui
