#pragma once
// The in-application web page: a web view under the navigation bar, the
// page's title as the screen's, a "Close" button, and a toolbar of back,
// forward, refresh (stop while loading) and an action that offers the page
// to the desktop's browser. Pages load http, https and the application's own
// local pages (files in its resources); a mail link goes to the desktop's
// mail program; every other address is refused. A failed load says why in
// the title. Made with the constructor, wrapped in a navigation controller
// and presented; openRequest (or openLocalPage) says what to show. Main
// thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/ActionSheet.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Toolbar.h"
#include "toolkit/core/TKModelViewController.h"
#include "toolkit/core/WebView.h"

// Declares nothing; the page never calls it.
class TKWebControllerDelegate {
 public:
  virtual ~TKWebControllerDelegate() = default;
};

class TKWebController : public TKModelViewController,
                        public ui::WebViewDelegate,
                        public ui::ActionSheetDelegate {
 public:
  // Toolbar tags.
  static constexpr int kForwardTag = 1;
  static constexpr int kBackTag = 2;
  static constexpr int kRefreshOrStopTag = 3;

  TKWebController();
  ~TKWebController() override;
  std::string className() const override { return "TKWebController"; }

  // As the navigator's URL map builds it: the query's "request" when it has
  // one, else the URL.
  void initWithNavigatorURL(const std::string& url, const ns::Dictionary& query);
  // Loads the view, then the address in it.
  void openRequest(const std::string& url);
  void openURL(const std::string& url) { openRequest(url); }
  // A page shipped in the resources ("About/credits.html"): its file address.
  void openLocalPage(const std::string& relativePath);
  // The file address of a page shipped in the resources; empty when the path
  // leaves the resource folder or names no file.
  static std::string localPageURL(const std::string& relativePath);

  // The address being loaded, else the page's.
  std::string URL() const;

  TKWebControllerDelegate* delegate() const { return _delegate; }
  void setDelegate(TKWebControllerDelegate* delegate) { _delegate = delegate; }
  const std::shared_ptr<ui::View>& headerView() const { return _headerView; }
  // A view above the page's content, the page moved down by its height.
  void setHeaderView(std::shared_ptr<ui::View> header);

  // The Close button's action.
  void dismissView();
  void backAction();
  void forwardAction();
  void refreshAction();
  void stopAction();
  void shareAction();

  bool persistView(ns::Dictionary& state) override;
  void restoreView(const ns::Dictionary& state) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void loadView() override;
  void viewDidUnload() override;

  // ui::WebViewDelegate
  bool webViewShouldStartLoad(ui::WebView& webView, const std::string& url, ui::WebViewNavigationType type) override;
  void webViewDidStartLoad(ui::WebView& webView) override;
  void webViewDidFinishLoad(ui::WebView& webView) override;
  void webViewDidFailLoad(ui::WebView& webView, const ns::Error& error) override;
  void webViewTitleDidChange(ui::WebView& webView) override;

  // ui::ActionSheetDelegate
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;

  // For tests and the screens that place it.
  ui::WebView* webView() const { return _webView.get(); }
  ui::Toolbar* toolbar() const { return _toolbar.get(); }
  const std::shared_ptr<ui::BarButtonItem>& backButton() const { return _backButton; }
  const std::shared_ptr<ui::BarButtonItem>& forwardButton() const { return _forwardButton; }
  const std::shared_ptr<ui::BarButtonItem>& refreshButton() const { return _refreshButton; }
  const std::shared_ptr<ui::BarButtonItem>& stopButton() const { return _stopButton; }
  const std::shared_ptr<ui::BarButtonItem>& closeButton() const { return _closeButton; }

 private:
  // After a finish or a failure: the title, the refresh button, the arrows.
  void showIdle(const std::string& title);
  void updateArrows();

  TKWebControllerDelegate* _delegate = nullptr;
  std::shared_ptr<ui::WebView> _webView;
  std::shared_ptr<ui::Toolbar> _toolbar;
  std::shared_ptr<ui::View> _headerView;
  float _headerShift = 0;  // how far the page moved down for the header
  std::shared_ptr<ui::BarButtonItem> _closeButton;
  std::shared_ptr<ui::BarButtonItem> _backButton;
  std::shared_ptr<ui::BarButtonItem> _forwardButton;
  std::shared_ptr<ui::BarButtonItem> _refreshButton;
  std::shared_ptr<ui::BarButtonItem> _stopButton;
  std::shared_ptr<ui::BarButtonItem> _activityItem;
  std::optional<std::string> _loadingURL;
  std::shared_ptr<ui::ActionSheet> _shareSheet;
};
