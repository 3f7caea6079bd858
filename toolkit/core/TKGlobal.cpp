#include "toolkit/core/TKGlobal.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/URLConnection.h"
#include "platform/ui/Application.h"

namespace {

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

std::string TKLibraryLocalizedString(const std::string& key, const std::string&) {
  static ns::Bundle bundle(ns::pathJoin(ns::resourceDirectory(), "Toolkit.bundle"));
  return bundle.localizedString(key, key);
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
