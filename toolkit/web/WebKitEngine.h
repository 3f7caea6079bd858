#pragma once
// The desktop's web engine: WebKitGTK in offscreen windows, drawn into our
// views (see GtkWebView). GTK starts on the first web view, on the
// desktop's display; without one, web views fall back to the view that says
// pages cannot be shown. The engine's GLib main context runs from our run
// loop: a watcher thread waits on the context's descriptors and posts each
// wake-up to the main thread, which checks and dispatches the sources there,
// so neither loop starves the other. WebKit runs its pages and its network in
// helper processes of its own; shutdown() ends them. Main thread only.
#include <memory>
#include <set>
#include <string>
#include <sys/types.h>

typedef struct _WebKitWebContext WebKitWebContext;

namespace ui {

class WebKitEngine {
 public:
  // Makes WebView::make give engine views from now on.
  static void install();
  // The running engine, started on first use; null when GTK cannot open a display.
  static WebKitEngine* shared();
  static bool isRunning();
  // Drops the engine (its web views must be gone) and waits, a few seconds at
  // most, until its helper processes have ended. A later web view starts a
  // new engine.
  static void shutdown();
  // This process's live helper processes (children named "WebKit...").
  static std::set<pid_t> helperProcesses();

  WebKitWebContext* context() const { return context_; }
  // After a call into GTK or WebKit from outside a dispatch: sources it added
  // on this thread are looked at again (the watcher's wait is cut short).
  void kick();
  void removeCookiesForHost(const std::string& host);

  void viewCreated() { ++views_; }
  void viewDestroyed() { --views_; }
  int liveViews() const { return views_; }

  ~WebKitEngine();
  WebKitEngine(const WebKitEngine&) = delete;
  WebKitEngine& operator=(const WebKitEngine&) = delete;

  class Pump;

 private:
  WebKitEngine();
  bool start();

  WebKitWebContext* context_ = nullptr;
  std::unique_ptr<Pump> pump_;
  int views_ = 0;
};

}  // namespace ui
