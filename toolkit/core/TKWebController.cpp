#include "toolkit/core/TKWebController.h"

#include <cstdio>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/URLConnection.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/NavigationItem.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKStyleProvider.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/Toolbar+TKCategory.h"

namespace {

constexpr float kToolbarHeight = 44;

std::string schemeOf(const std::string& url) {
  size_t colon = url.find(':');
  if (colon == std::string::npos) return "";
  std::string scheme = ns::lowercase(url.substr(0, colon));
  for (char c : scheme)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return "";
  return scheme;
}

// A path as the path of a file address: every byte but the unreserved ones
// and "/" escaped.
std::string escapePath(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

// A file address that names a file inside the application's resources (a
// page shipped with it); a page on the web may not reach any other file.
bool isLocalPage(const std::string& url) {
  if (ns::lowercase(url.substr(0, 7)) != "file://") return false;
  std::string path = url.substr(7);
  std::string file = ns::percentUnescape(path.substr(0, path.find_first_of("?#")));
  if (!ns::hasPrefix(file, "/")) return false;  // "file://host/...": not this machine's
  auto root = ns::pathInsideFolder(ns::resourceDirectory(), ".");
  auto resolved = ns::pathInsideFolder("/", file);
  if (!root || !resolved) return false;
  return ns::hasPrefix(*resolved, *root + "/");
}

std::shared_ptr<ui::BarButtonItem> arrowButton(const std::string& imageURL, const char* fallback, int tag,
                                               ui::BarButtonItem::Action action) {
  std::shared_ptr<ui::BarButtonItem> item;
  if (auto image = TKURLCache::sharedCache().imageForURL(imageURL))
    item = std::make_shared<ui::BarButtonItem>(image, ui::BarButtonItemStyle::Plain, std::move(action));
  else
    item = std::make_shared<ui::BarButtonItem>(fallback, ui::BarButtonItemStyle::Plain, std::move(action));
  item->setTag(tag);
  item->setEnabled(false);
  return item;
}

}  // namespace

TKWebController::TKWebController() = default;

TKWebController::~TKWebController() {
  if (_webView) _webView->setDelegate(nullptr);
}

void TKWebController::initWithNavigatorURL(const std::string& url, const ns::Dictionary& query) {
  auto request = query.find("request");
  if (request != query.end() && request->second.isString())
    openRequest(request->second.stringValue());
  else
    openURL(url);
}

void TKWebController::openRequest(const std::string& url) {
  view();
  if (TKHasBundleScheme(url) || TKHasDocumentsScheme(url)) {
    auto path = TKLocalFilePath(url);
    _webView->loadRequest(path ? "file://" + escapePath(*path) : url);
    return;
  }
  _webView->loadRequest(url);
}

std::string TKWebController::localPageURL(const std::string& relativePath) {
  auto path = ns::pathInsideFolder(ns::resourceDirectory(), relativePath);
  if (!path || !ns::fileExists(*path)) return "";
  return "file://" + escapePath(*path);
}

void TKWebController::openLocalPage(const std::string& relativePath) {
  std::string url = localPageURL(relativePath);
  if (url.empty()) {
    ns::logf("INFO  - [%s] No local page %s", ns::logTimestamp().c_str(), relativePath.c_str());
    view();
    showIdle(TKLibraryLocalizedString("Error"));
    return;
  }
  openRequest(url);
}

std::string TKWebController::URL() const {
  if (_loadingURL) return *_loadingURL;
  return _webView ? _webView->currentURL() : "";
}

void TKWebController::loadView() {
  TKModelViewController::loadView();
  std::shared_ptr<ui::View> root = view();

  _webView = ui::WebView::make(TKFrameBelowTwoBars());
  _webView->setDelegate(this);
  _webView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  _webView->setScalesPageToFit(true);
  root->addSubview(_webView);

  auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::White);
  spinner->startAnimating();
  _activityItem = std::make_shared<ui::BarButtonItem>(spinner);

  _closeButton = std::make_shared<ui::BarButtonItem>(TKApplicationLocalizedString("Close"),
                                                     ui::BarButtonItemStyle::Plain,
                                                     [this](ui::BarButtonItem&) { dismissView(); });
  navigationItem()->setRightBarButtonItem(_closeButton);

  _backButton = arrowButton("bundle://Toolkit.bundle/images/backIcon.png", "\u25C0", kBackTag,
                            [this](ui::BarButtonItem&) { backAction(); });
  _forwardButton = arrowButton("bundle://Toolkit.bundle/images/forwardIcon.png", "\u25B6", kForwardTag,
                               [this](ui::BarButtonItem&) { forwardAction(); });
  _refreshButton = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Refresh,
                                                       [this](ui::BarButtonItem&) { refreshAction(); });
  _refreshButton->setTag(kRefreshOrStopTag);
  _stopButton = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Stop,
                                                    [this](ui::BarButtonItem&) { stopAction(); });
  _stopButton->setTag(kRefreshOrStopTag);
  auto action = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Action,
                                                    [this](ui::BarButtonItem&) { shareAction(); });
  auto space = [] { return std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::FlexibleSpace); };

  cg::Rect bounds = root->bounds();
  _toolbar = std::make_shared<ui::Toolbar>(
      cg::Rect(0, bounds.height() - kToolbarHeight, bounds.width(), kToolbarHeight));
  _toolbar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  _toolbar->setTintColor(TKStyleSheetNavigationBarTintColor());
  _toolbar->setItems({_backButton, space(), _forwardButton, space(), _refreshButton, space(), action});
  root->addSubview(_toolbar);
}

void TKWebController::viewDidUnload() {
  TKModelViewController::viewDidUnload();
  if (_webView) _webView->setDelegate(nullptr);
  _webView.reset();
  _toolbar.reset();
  _backButton.reset();
  _closeButton.reset();
  _forwardButton.reset();
  _refreshButton.reset();
  _stopButton.reset();
  _activityItem.reset();
}

void TKWebController::setHeaderView(std::shared_ptr<ui::View> header) {
  if (header == _headerView) return;
  view();
  std::shared_ptr<ui::View> old = std::move(_headerView);
  if (old) old->removeFromSuperview();
  _headerView = std::move(header);
  // The page moves down when a header comes where there was none and back
  // up by the same amount when the last one goes; a header that replaces
  // another leaves it where it is.
  cg::Rect page = _webView->frame();
  if (_headerView) {
    float height = _headerView->frame().height();
    _headerView->setFrame(cg::Rect(page.x(), page.y() - _headerShift, page.width(), height));
    view()->addSubview(_headerView);
    if (!old) {
      _headerShift = height;
      _webView->setFrame(cg::Rect(page.x(), page.y() + height, page.width(), page.height() - height));
    }
  } else if (old) {
    _webView->setFrame(cg::Rect(page.x(), page.y() - _headerShift, page.width(), page.height() + _headerShift));
    _headerShift = 0;
  }
}

void TKWebController::dismissView() { dismissModalViewControllerAnimated(true); }

void TKWebController::backAction() {
  if (_webView) _webView->goBack();
}

void TKWebController::forwardAction() {
  if (_webView) _webView->goForward();
}

void TKWebController::refreshAction() {
  if (_webView) _webView->reload();
}

void TKWebController::stopAction() {
  if (_webView) _webView->stopLoading();
}

void TKWebController::shareAction() {
  _shareSheet = std::make_shared<ui::ActionSheet>(
      "", std::static_pointer_cast<TKWebController>(shared_from_this()), TKLibraryLocalizedString("Cancel"), "",
      std::vector<std::string>{TKLibraryLocalizedString("Open in Browser")});
  _shareSheet->showInView(view().get());
}

void TKWebController::clickedButtonAtIndex(ui::ActionSheet&, int index) {
  if (index == 0) ui::URLOpener::openURL(URL());
}

bool TKWebController::persistView(ns::Dictionary& state) {
  std::string url = URL();
  if (!url.empty()) state["URL"] = ns::Value(url);
  return TKModelViewController::persistView(state);
}

void TKWebController::restoreView(const ns::Dictionary& state) {
  auto url = state.find("URL");
  if (url == state.end() || !url->second.isString()) return;
  std::string text = url->second.stringValue();
  if (!text.empty() && text != "about:blank") openURL(text);
}

bool TKWebController::webViewShouldStartLoad(ui::WebView&, const std::string& url, ui::WebViewNavigationType) {
  std::string scheme = schemeOf(url);
  bool allowed = scheme == "http" || scheme == "https" || url == "about:blank" || isLocalPage(url);
  if (allowed) {
    _loadingURL = url;
    return true;
  }
  // A mail link goes to the desktop's mail program; nothing else leaves the page.
  if (scheme == "mailto") {
    ui::URLOpener::openURL(url);
  } else {
    ns::logf("INFO  - [%s] The web page refused an address with scheme '%s'", ns::logTimestamp().c_str(),
             scheme.c_str());
  }
  return false;
}

void TKWebController::webViewDidStartLoad(ui::WebView&) {
  setTitle(TKLibraryLocalizedString("Loading..."));
  if (_toolbar) ui::replaceItemWithTag(*_toolbar, kRefreshOrStopTag, _stopButton);
  updateArrows();
}

void TKWebController::webViewDidFinishLoad(ui::WebView& webView) {
  _loadingURL.reset();
  showIdle(webView.title());
}

void TKWebController::webViewDidFailLoad(ui::WebView& webView, const ns::Error& error) {
  _loadingURL.reset();
  // A load the reader stopped, or one that a newer load replaced, is no failure.
  bool stopped = (error.domain == ns::kURLErrorDomain && error.code == ns::kURLErrorCancelled) ||
                 (error.domain == ui::kWebKitErrorDomain && error.code == ui::kWebKitErrorFrameLoadInterrupted);
  showIdle(stopped ? webView.title() : TKErrorDisplayText(error));
}

void TKWebController::webViewTitleDidChange(ui::WebView& webView) {
  if (!_loadingURL) setTitle(webView.title());
}

void TKWebController::showIdle(const std::string& title) {
  setTitle(title);
  if (_toolbar) ui::replaceItemWithTag(*_toolbar, kRefreshOrStopTag, _refreshButton);
  updateArrows();
}

void TKWebController::updateArrows() {
  if (!_webView) return;
  _backButton->setEnabled(_webView->canGoBack());
  _forwardButton->setEnabled(_webView->canGoForward());
}
