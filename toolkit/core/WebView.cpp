#include "toolkit/core/WebView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLConnection.h"
#include "platform/ui/Label.h"
#include "toolkit/core/TKGlobal.h"

namespace ui {

namespace {

WebView::Factory& factory() {
  static WebView::Factory f;
  return f;
}

std::function<void(const std::string&)>& cookieRemover() {
  static std::function<void(const std::string&)> remover;
  return remover;
}

// Stands where no engine is installed (a run without a desktop display): it
// says so, and every load fails with that message after it has started.
class UnavailableWebView : public WebView {
 public:
  explicit UnavailableWebView(cg::Rect frame) : WebView(frame) {
    setBackgroundColor(cg::Color::fromRGB255(240, 240, 240));
    message_ = std::make_shared<Label>(bounds());
    message_->setText(TKLibraryLocalizedString("Web pages cannot be shown without a desktop display."));
    message_->setFont(Font::systemFontOfSize(15));
    message_->setTextColor(cg::Color::fromRGB255(90, 90, 90));
    message_->setTextAlignment(TextAlignment::Center);
    message_->setNumberOfLines(0);
    message_->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
    addSubview(message_);
  }

  void loadRequest(const std::string& url) override { fail(url); }
  void loadHTMLString(const std::string&, const std::string& baseURL) override { fail(baseURL); }
  void goBack() override {}
  void goForward() override {}
  void reload() override {}
  void stopLoading() override {}
  bool canGoBack() const override { return false; }
  bool canGoForward() const override { return false; }
  bool isLoading() const override { return false; }
  std::string currentURL() const override { return ""; }
  std::string title() const override { return ""; }
  void runScript(const std::string&) override {}

 private:
  void fail(const std::string& url) {
    if (!askShouldStart(url, WebViewNavigationType::Other)) return;
    // Reported from the run loop, as an engine reports, never inside the call.
    std::weak_ptr<View> weak = weak_from_this();
    ns::RunLoop::main().post([weak] {
      auto self = std::static_pointer_cast<UnavailableWebView>(weak.lock());
      if (!self) return;
      self->tellDidStart();
      self->tellDidFail({ns::kURLErrorDomain, ns::kURLErrorUnsupportedURL, self->message_->text()});
    });
  }

  std::shared_ptr<Label> message_;
};

}  // namespace

std::shared_ptr<WebView> WebView::make(cg::Rect frame) {
  if (factory()) {
    if (auto view = factory()(frame)) return view;
  }
  return std::make_shared<UnavailableWebView>(frame);
}

void WebView::setFactory(Factory f) { factory() = std::move(f); }

bool WebView::hasEngine() { return static_cast<bool>(factory()); }

void WebView::removeCookiesForHost(const std::string& host) {
  if (cookieRemover()) cookieRemover()(host);
}

void WebView::setCookieRemover(std::function<void(const std::string&)> remover) {
  cookieRemover() = std::move(remover);
}

}  // namespace ui
