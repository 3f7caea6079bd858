#pragma once
// One page of the social network's dialog service in a framed panel laid
// over the window (a clear view behind it takes the touches meant for the
// screens below). It watches the page's navigation for the client's own
// "snconnect" addresses, which end it: success, cancellation, or an error
// the network names. SNLoginDialog reads the access token and its lifetime
// from the final address for its login delegate (the session), and takes
// them only when they come back with the state its address carried. The
// page is shown in the web view of the installed engine. Main thread only.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Date.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "src/Social/SNRequest.h"
#include "toolkit/core/WebView.h"

class SNDialog;

// A lifetime of "0": the token does not run out (the year 4001).
inline constexpr ns::Date kDistantFuture = ns::Date(64092211200.0);

class SNDialogDelegate {
 public:
  virtual ~SNDialogDelegate() = default;
  virtual void dialogDidComplete(SNDialog&) {}
  virtual void dialogCompleteWithUrl(const std::string& url) { (void)url; }
  virtual void dialogDidNotCompleteWithUrl(const std::string& url) { (void)url; }
  virtual void dialogDidNotComplete(SNDialog&) {}
  virtual void dialogDidFailWithError(SNDialog&, const SNError&) {}
  // False keeps a tapped link from leaving for the desktop's browser.
  virtual bool dialogShouldOpenURLInExternalBrowser(SNDialog&, const std::string& url) {
    (void)url;
    return true;
  }
};

class SNLoginDialogDelegate {
 public:
  virtual ~SNLoginDialogDelegate() = default;
  // No date: the token came without a lifetime.
  virtual void snDialogLogin(const std::string& token, std::optional<ns::Date> expirationDate) = 0;
  virtual void snDialogNotLogin(bool cancelled) = 0;
};

class SNDialog : public ui::View, public ui::WebViewDelegate {
 public:
  static constexpr const char* kTitle = "Connect to Social Network";

  SNDialog();
  SNDialog(const std::string& url, SNParams params, std::weak_ptr<SNDialogDelegate> delegate);
  ~SNDialog() override;

  std::shared_ptr<SNDialogDelegate> delegate() const { return _delegate.lock(); }
  void setDelegate(std::weak_ptr<SNDialogDelegate> delegate) { _delegate = std::move(delegate); }
  const SNParams& params() const { return _params; }
  std::string title() const { return _titleLabel->text(); }
  void setTitle(const std::string& title) { _titleLabel->setText(title); }

  // Loads the page, lays the panel out over the key window and grows it in.
  void show();
  void load();
  void loadURL(const std::string& url);
  // "url?key=value&..." (values escaped; keys as they are; key order).
  static std::string generateURL(const std::string& url, const SNParams& params);
  // The text after the needle up to the next "&" (or the end), percent-decoded;
  // nullopt when the needle is absent.
  static std::optional<std::string> getStringFromUrl(const std::string& url, const std::string& needle);

  void dismissWithSuccess(bool success, bool animated);
  void dismissWithError(const SNError& error, bool animated);
  virtual void dialogDidSucceed(const std::string& url);
  virtual void dialogDidCancel(const std::string& url);
  // The close button's action.
  void cancel();
  bool isShowing() const { return superview() != nullptr; }

  // For tests.
  ui::WebView* webView() const { return _webView.get(); }
  ui::Button* closeButton() const { return _closeButton.get(); }
  ui::ActivityIndicatorView* spinner() const { return _spinner.get(); }
  const std::string& loadingURL() const { return _loadingURL; }

  void drawRect(cg::Context& context, cg::Rect rect) override;

  // ui::WebViewDelegate
  bool webViewShouldStartLoad(ui::WebView& webView, const std::string& url, ui::WebViewNavigationType type) override;
  void webViewDidFinishLoad(ui::WebView& webView) override;
  void webViewDidFailLoad(ui::WebView& webView, const ns::Error& error) override;
  void webViewTitleDidChange(ui::WebView& webView) override;

 protected:
  virtual void dialogWillAppear() {}
  virtual void dialogWillDisappear() {}
  // The page failed to load; the login dialog ignores a few more causes.
  virtual void pageFailed(const SNError& error);

  std::weak_ptr<SNDialogDelegate> _delegate;
  SNParams _params;
  std::string _serverURL;

 private:
  class Backdrop;
  void build();
  void sizeToFitOrientation();
  void layoutPanel();
  void updateWebOrientation();
  void windowChanged();
  void dismiss(bool animated);
  void cleanUp();

  std::string _loadingURL;
  std::shared_ptr<ui::WebView> _webView;
  std::shared_ptr<ui::ActivityIndicatorView> _spinner;
  std::shared_ptr<ui::ImageView> _iconView;
  std::shared_ptr<ui::Label> _titleLabel;
  std::shared_ptr<ui::Button> _closeButton;
  int _orientation = 0;
  bool _showingKeyboard = false;
  std::shared_ptr<ui::View> _modalBackgroundView;
  bool _dismissed = false;
};

class SNLoginDialog : public SNDialog {
 public:
  SNLoginDialog(const std::string& url, SNParams loginParams, SNLoginDialogDelegate* loginDelegate);

  void dialogDidSucceed(const std::string& url) override;
  void dialogDidCancel(const std::string& url) override;
  // The session goes before its dialog; it clears this first.
  void setLoginDelegate(SNLoginDialogDelegate* delegate) { _loginDelegate = delegate; }

 protected:
  void pageFailed(const SNError& error) override;

 private:
  SNLoginDialogDelegate* _loginDelegate;
};
