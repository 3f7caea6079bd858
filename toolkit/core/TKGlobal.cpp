#include "toolkit/core/TKGlobal.h"

#include <map>
#include <memory>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/URLConnection.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Toolbar.h"

cg::Rect TKKeyboardRect(const ns::Value& info, const char* key) {
  const ns::Value& v = info[key];
  if (!v.isArray() || v.count() != 4) return {};
  return cg::Rect(v[std::size_t(0)].floatValue(), v[1].floatValue(), v[2].floatValue(), v[3].floatValue());
}

cg::Point TKKeyboardPoint(const ns::Value& info, const char* key) {
  const ns::Value& v = info[key];
  if (!v.isArray() || v.count() != 2) return {0, 0};
  return {v[std::size_t(0)].floatValue(), v[1].floatValue()};
}

namespace {

// Follows the keyboard's own notifications: whether it shows and how tall it
// is. Installed when this file's statics start, so no notification is missed.
struct KeyboardTracker {
  bool shown = false;
  float height = 0;
  ns::Observer willShow, willHide;

  KeyboardTracker() {
    auto& centre = ns::NotificationCenter::defaultCenter();
    willShow = centre.addObserver(TKKeyboardWillShowNotification, [this](const ns::Value& info) {
      shown = true;
      cg::Rect end = TKKeyboardRect(info, "KeyboardFrameEndUserInfoKey");
      if (end.height() <= 0) end = TKKeyboardRect(info, TKKeyboardBoundsUserInfoKey);
      if (end.height() > 0) height = end.height();
    });
    willHide = centre.addObserver(TKKeyboardWillHideNotification, [this](const ns::Value&) { shown = false; });
  }
};

KeyboardTracker& keyboardTracker() {
  static KeyboardTracker tracker;
  return tracker;
}
[[maybe_unused]] const bool kKeyboardTrackerStarted = (keyboardTracker(), true);

int gNetworkActivityCount = 0;

std::function<void(bool)>& indicatorHandler() {
  static std::function<void(bool)> handler;
  return handler;
}

void showIndicator(bool visible) {
  ui::Application::shared().setNetworkActivityIndicatorVisible(visible);
  if (indicatorHandler()) indicatorHandler()(visible);
}

}  // namespace

void TKNetworkActivityBegin() {
  if (gNetworkActivityCount++ == 0) showIndicator(true);
}

void TKNetworkActivityEnd() {
  if (gNetworkActivityCount-- == 1) showIndicator(false);
}

int TKNetworkActivityCount() { return gNetworkActivityCount; }

void TKSetNetworkActivityIndicatorHandler(std::function<void(bool)> handler) {
  indicatorHandler() = std::move(handler);
}

namespace {

std::string interfaceLanguage() {
  ns::Value languages = ns::UserDefaults::standardUserDefaults().objectForKey("AppleLanguages");
  if (languages.isArray() && languages.count() > 0 && !languages[std::size_t(0)].stringValue().empty())
    return languages[std::size_t(0)].stringValue();
  ns::Array fromEnvironment = ns::preferredLanguagesFromEnvironment();
  return fromEnvironment.empty() ? "en" : fromEnvironment.front().stringValue();
}

// "Toolkit.bundle/<lang>.lproj" per language asked for; null when it has none.
const ns::Bundle* toolkitLanguageBundle(const std::string& language) {
  static std::map<std::string, std::shared_ptr<ns::Bundle>> bundles;
  auto it = bundles.find(language);
  if (it == bundles.end()) {
    ns::Bundle toolkit(ns::pathJoin(ns::resourceDirectory(), "Toolkit.bundle"));
    it = bundles.emplace(language, toolkit.languageBundle(language)).first;
  }
  return it->second.get();
}

}  // namespace

std::string TKLibraryLocalizedString(const std::string& key, const std::string&) {
  const ns::Bundle* bundle = toolkitLanguageBundle(interfaceLanguage());
  return bundle ? bundle->localizedString(key, key) : key;
}

std::string TKApplicationLocalizedString(const std::string& key) {
  auto bundle = ns::Bundle::main().languageBundle(interfaceLanguage());
  return bundle ? bundle->localizedString(key, key) : key;
}

std::string TKErrorDisplayText(const ns::Error& error) {
  if (error.domain == ns::kURLErrorDomain) {
    if (error.code == ns::kURLErrorTimedOut) return TKLibraryLocalizedString("Connection Timed Out");
    if (error.code == -1009) return TKLibraryLocalizedString("No Internet Connection");
    return TKLibraryLocalizedString("Connection Error");
  }
  return TKLibraryLocalizedString("Error");
}

bool TKHasBundleScheme(const std::string& url) { return url.rfind("bundle://", 0) == 0; }

bool TKHasDocumentsScheme(const std::string& url) { return url.rfind("documents://", 0) == 0; }

std::string TKMainBundleResourcePath(const std::string& relativePath) {
  return ns::pathJoin(ns::resourceDirectory(), relativePath);
}

std::string TKDocumentsPath(const std::string& relativePath) {
  return ns::pathJoin(ns::documentsDirectory(), relativePath);
}

std::optional<std::string> TKLocalFilePath(const std::string& url) {
  if (TKHasBundleScheme(url)) return ns::pathInsideFolder(ns::resourceDirectory(), url.substr(9));
  if (TKHasDocumentsScheme(url)) return ns::pathInsideFolder(ns::documentsDirectory(), url.substr(12));
  return std::nullopt;
}

int TKCurrentDeviceOrientation() {
  // The desktop has no motion sensor: the device is held as the interface is.
  int o = static_cast<int>(ui::Application::shared().statusBarOrientation());
  return o == 0 ? 1 : o;
}

ui::InterfaceOrientation TKCurrentInterfaceOrientation() {
  return ui::Application::shared().statusBarOrientation();
}

cg::Rect TKOrientedScreenBounds() {
  cg::Rect bounds = ui::Screen::main().bounds();
  bool wide = bounds.width() > bounds.height();
  if (wide != ui::isLandscape(TKCurrentInterfaceOrientation()))
    bounds = cg::Rect(bounds.x(), bounds.y(), bounds.height(), bounds.width());
  return bounds;
}

namespace {
cg::Rect frameBelow(float bars) {
  cg::Rect app = ui::Screen::main().applicationFrame();
  if (ui::isLandscape(TKCurrentInterfaceOrientation()) != (app.width() > app.height()))
    app = cg::Rect(app.x(), app.y(), app.height() + ui::Screen::main().statusBarHeight(),
                   app.width() - ui::Screen::main().statusBarHeight());
  return cg::Rect(0, 0, app.width(), app.height() - bars);
}
}  // namespace

cg::Rect TKFrameBelowOneBar() { return frameBelow(ui::NavigationBar::kHeight); }

cg::Rect TKFrameBelowTwoBars() { return frameBelow(ui::NavigationBar::kHeight + ui::Toolbar::kHeight); }

float TKKeyboardHeightForOrientation() { return keyboardTracker().height; }

bool TKKeyboardIsShown() { return keyboardTracker().shown; }

cg::Rect TKRectShrinkSize(cg::Rect rect, float dx, float dy) {
  return cg::Rect(rect.x(), rect.y(), rect.width() - dx, rect.height() - dy);
}

cg::Rect TKRectApplyInsets(cg::Rect rect, cg::EdgeInsets insets) { return cg::insetRect(rect, insets); }
