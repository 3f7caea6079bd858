#pragma once
// A web view for unit tests, in place of the engine: pages are scripted by
// address (a title, or a failure), loads report to the delegate from the run
// loop as an engine's do (start, then finish or failure), and a test may hold
// a load open to look at the screen while it runs. History moves back and
// forward as a browser's. ScriptedWebView::install() makes WebView::make give
// these; ScriptedWebView::last() is the latest made.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLConnection.h"
#include "toolkit/core/WebView.h"

namespace testing_support {

class ScriptedWebView : public ui::WebView {
 public:
  struct Page {
    std::string title;
    std::optional<ns::Error> failure;  // the load fails with this instead
  };

  static void install() {
    ui::WebView::setFactory([](cg::Rect frame) {
      auto view = std::make_shared<ScriptedWebView>(frame);
      lastMade() = view;
      return view;
    });
  }
  static void uninstall() {
    ui::WebView::setFactory(nullptr);
    lastMade().reset();
  }
  static std::shared_ptr<ScriptedWebView> last() { return lastMade().lock(); }
  // Pages shared by every scripted view of the test.
  static std::map<std::string, Page>& pages() {
    static std::map<std::string, Page> p;
    return p;
  }

  explicit ScriptedWebView(cg::Rect frame) : WebView(frame) {}

  // Loads started from now on wait for finishLoad() or failLoad().
  void holdLoads(bool hold) { hold_ = hold; }
  void finishLoad() { complete(std::nullopt); }
  void failLoad(const ns::Error& error) { complete(error); }
  // A tap on a link of the page to the address.
  void clickLink(const std::string& url) { navigate(url, ui::WebViewNavigationType::LinkClicked, true); }
  // The page's script changed its title.
  void setPageTitle(const std::string& title) {
    title_ = title;
    tellTitleChanged();
  }

  const std::vector<std::string>& loadedURLs() const { return loaded_; }
  const std::vector<std::string>& scripts() const { return scripts_; }

  void loadRequest(const std::string& url) override { navigate(url, ui::WebViewNavigationType::Other, true); }
  void loadHTMLString(const std::string& html, const std::string& baseURL) override {
    html_ = html;
    navigate(baseURL.empty() ? "about:blank" : baseURL, ui::WebViewNavigationType::Other, true);
  }
  void goBack() override {
    if (canGoBack()) navigateInHistory(index_ - 1);
  }
  void goForward() override {
    if (canGoForward()) navigateInHistory(index_ + 1);
  }
  void reload() override {
    if (index_ >= 0) navigate(history_[static_cast<size_t>(index_)], ui::WebViewNavigationType::Reload, false);
  }
  void stopLoading() override {
    if (pending_) complete(ns::Error{ns::kURLErrorDomain, ns::kURLErrorCancelled, "cancelled"});
  }
  bool canGoBack() const override { return index_ > 0; }
  bool canGoForward() const override { return index_ >= 0 && index_ + 1 < static_cast<int>(history_.size()); }
  bool isLoading() const override { return pending_.has_value(); }
  std::string currentURL() const override { return index_ >= 0 ? history_[static_cast<size_t>(index_)] : ""; }
  std::string title() const override { return title_; }
  void runScript(const std::string& script) override { scripts_.push_back(script); }
  const std::string& lastHTML() const { return html_; }

 private:
  struct Pending {
    std::string url;
    int historyIndex;  // where it lands in the history; -1: a new entry
  };

  static std::weak_ptr<ScriptedWebView>& lastMade() {
    static std::weak_ptr<ScriptedWebView> view;
    return view;
  }

  void navigate(const std::string& url, ui::WebViewNavigationType type, bool newEntry) {
    if (!askShouldStart(url, type)) return;
    begin({url, newEntry ? -1 : index_});
  }
  void navigateInHistory(int index) {
    const std::string url = history_[static_cast<size_t>(index)];
    if (!askShouldStart(url, ui::WebViewNavigationType::BackForward)) return;
    begin({url, index});
  }

  void begin(Pending load) {
    if (pending_) complete(ns::Error{ns::kURLErrorDomain, ns::kURLErrorCancelled, "replaced"});
    pending_ = load;
    loaded_.push_back(load.url);
    std::weak_ptr<View> weak = weak_from_this();
    ns::RunLoop::main().post([weak] {
      auto self = std::static_pointer_cast<ScriptedWebView>(weak.lock());
      if (!self || !self->pending_) return;
      self->tellDidStart();
      if (!self->hold_) {
        auto page = pages().find(self->pending_->url);
        self->complete(page != pages().end() ? page->second.failure : std::nullopt);
      }
    });
  }

  void complete(const std::optional<ns::Error>& failure) {
    if (!pending_) return;
    Pending load = *pending_;
    pending_.reset();
    if (failure) {
      tellDidFail(*failure);
      return;
    }
    if (load.historyIndex < 0) {
      history_.resize(static_cast<size_t>(index_ + 1));
      history_.push_back(load.url);
      index_ = static_cast<int>(history_.size()) - 1;
    } else {
      index_ = load.historyIndex;
    }
    auto page = pages().find(load.url);
    title_ = page != pages().end() ? page->second.title : "";
    tellDidFinish();
  }

  std::vector<std::string> history_;
  int index_ = -1;
  std::optional<Pending> pending_;
  bool hold_ = false;
  std::string title_;
  std::string html_;
  std::vector<std::string> loaded_;
  std::vector<std::string> scripts_;
};

}  // namespace testing_support
