#pragma once
// A view that shows web pages. The engine behind it is installed by the
// program (the desktop's lives in toolkit/web); tests install a scripted fake.
// Without an engine the view says that pages cannot be shown here and every
// load fails. Loads report to one delegate, in this order: the question
// whether to start, the start, then the finish or the failure. Only the
// page's own (top) frame reports. Main thread only.
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/ui/View.h"

namespace ui {

// The platform's numbering of why a load starts.
enum class WebViewNavigationType {
  LinkClicked = 0,
  FormSubmitted = 1,
  BackForward = 2,
  Reload = 3,
  FormResubmitted = 4,
  Other = 5,
};

// The engine's own error domain and its code for a load that the delegate
// stopped (or that turned into something other than a page).
inline constexpr const char* kWebKitErrorDomain = "WebKitErrorDomain";
inline constexpr int kWebKitErrorFrameLoadInterrupted = 102;

class WebView;

class WebViewDelegate {
 public:
  virtual ~WebViewDelegate() = default;
  // False: the load does not start (and nothing else is reported for it).
  virtual bool webViewShouldStartLoad(WebView&, const std::string& /*url*/, WebViewNavigationType) {
    return true;
  }
  virtual void webViewDidStartLoad(WebView&) {}
  virtual void webViewDidFinishLoad(WebView&) {}
  virtual void webViewDidFailLoad(WebView&, const ns::Error&) {}
  // The page's title changed after its load had finished (a script set it).
  virtual void webViewTitleDidChange(WebView&) {}
};

class WebView : public View {
 public:
  using Factory = std::function<std::shared_ptr<WebView>(cg::Rect frame)>;

  // A web view of the installed engine (or one that cannot show pages).
  static std::shared_ptr<WebView> make(cg::Rect frame);
  // Installs the engine's maker; nullptr leaves none.
  static void setFactory(Factory factory);
  static bool hasEngine();
  // Removes the cookies the engine keeps for the host (none without one).
  static void removeCookiesForHost(const std::string& host);
  static void setCookieRemover(std::function<void(const std::string& host)> remover);

  explicit WebView(cg::Rect frame) : View(frame) {}

  // Not retained: the owner clears it before it goes.
  WebViewDelegate* delegate() const { return delegate_; }
  void setDelegate(WebViewDelegate* delegate) { delegate_ = delegate; }

  virtual void loadRequest(const std::string& url) = 0;
  // The HTML as a page whose links resolve against the base address.
  virtual void loadHTMLString(const std::string& html, const std::string& baseURL) = 0;
  virtual void goBack() = 0;
  virtual void goForward() = 0;
  virtual void reload() = 0;
  virtual void stopLoading() = 0;

  virtual bool canGoBack() const = 0;
  virtual bool canGoForward() const = 0;
  virtual bool isLoading() const = 0;
  // The address of the page shown (or being committed); empty before any.
  virtual std::string currentURL() const = 0;
  // The page's "document.title"; empty when it has none.
  virtual std::string title() const = 0;
  // Runs a script in the page; its result is not needed.
  virtual void runScript(const std::string& script) = 0;

  bool scalesPageToFit() const { return scalesPageToFit_; }
  virtual void setScalesPageToFit(bool on) { scalesPageToFit_ = on; }

 protected:
  // For engines: ask, then tell the delegate.
  bool askShouldStart(const std::string& url, WebViewNavigationType type) {
    return !delegate_ || delegate_->webViewShouldStartLoad(*this, url, type);
  }
  void tellDidStart() {
    if (delegate_) delegate_->webViewDidStartLoad(*this);
  }
  void tellDidFinish() {
    if (delegate_) delegate_->webViewDidFinishLoad(*this);
  }
  void tellDidFail(const ns::Error& error) {
    if (delegate_) delegate_->webViewDidFailLoad(*this, error);
  }
  void tellTitleChanged() {
    if (delegate_) delegate_->webViewTitleDidChange(*this);
  }

 private:
  WebViewDelegate* delegate_ = nullptr;
  bool scalesPageToFit_ = false;
};

}  // namespace ui
