#pragma once
// A web view of the WebKit engine (WebKitGTK): the page lives in a GTK offscreen window
// of the view's size and is painted into the view whenever WebKit damages
// it; touches become mouse presses, motion and releases, the wheel scrolls,
// and keys and typed text reach the page while the view is first responder.
// A page may load http, https, about and file addresses (as the delegate
// allows); new windows it asks for load in this view. Main thread only.
#include <string>

#include "toolkit/core/WebView.h"

typedef struct _WebKitWebView WebKitWebView;
typedef struct _GtkWidget GtkWidget;
typedef struct _GCancellable GCancellable;


namespace ui {

class WebKitEngine;

class GtkWebView : public WebView {
 public:
  GtkWebView(cg::Rect frame, WebKitEngine& engine);
  ~GtkWebView() override;

  void loadRequest(const std::string& url) override;
  void loadHTMLString(const std::string& html, const std::string& baseURL) override;
  void goBack() override;
  void goForward() override;
  void reload() override;
  void stopLoading() override;
  bool canGoBack() const override;
  bool canGoForward() const override;
  bool isLoading() const override { return loading_; }
  std::string currentURL() const override;
  std::string title() const override;
  void runScript(const std::string& script) override;
  void setScalesPageToFit(bool on) override;

  void setFrame(cg::Rect frame) override;
  void drawRect(cg::Context& context, cg::Rect rect) override;
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;
  bool scrollWheel(const ScrollWheelEvent& event) override;
  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const KeyEvent& key) override;
  void insertText(const std::string& text) override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;

  // For the engine's signal handlers.
  struct Signals;

 private:
  void resizePage();
  void sendButton(bool press, cg::Point at);
  void sendMotion(cg::Point at);
  void sendKey(unsigned keyval, unsigned modifiers);
  void sendFocus(bool in);
  void changed();  // after a call into WebKit

  WebKitEngine& engine_;
  GtkWidget* window_ = nullptr;
  WebKitWebView* web_ = nullptr;
  bool loading_ = false;
  bool failed_ = false;  // the load running now has reported its failure
  bool buttonDown_ = false;
  std::string title_;
  unsigned loadSerial_ = 0;
  GCancellable* cancellable_ = nullptr;  // ends the page's answers when the view goes
};

}  // namespace ui
