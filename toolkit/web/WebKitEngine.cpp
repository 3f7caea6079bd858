#include "toolkit/web/WebKitEngine.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "toolkit/web/GtkWebView.h"

namespace ui {

// Runs the default GLib main context from the main run loop. The main thread
// owns the context and does the prepare, check and dispatch steps; the
// watcher thread only waits in poll() on the descriptors the query step gave
// (and on its own event descriptor, which kick() writes), then posts the
// next step to the run loop. Sources other threads add wake GLib's own
// descriptor, which is among those polled.
class WebKitEngine::Pump {
 public:
  Pump() : control_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), context_(g_main_context_default()) {
    owned_ = g_main_context_acquire(context_);
    watcher_ = ns::Thread("glib-watcher", [this] { watch(); });
  }

  ~Pump() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    interrupt();
    watcher_.join();
    if (owned_) g_main_context_release(context_);
    ::close(control_);
    // Closures already posted find the pump gone through the token.
    alive_->store(false);
  }

  bool isOwned() const { return owned_; }

  // Main thread: one step of the cycle, whatever state it is in.
  void step() {
    if (dispatching_) return;  // the dispatch below prepares again when it ends
    Phase phase;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      phase = phase_;
    }
    if (phase == Phase::Polled) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t i = 0; i < fds_.size(); ++i) fds_[i].revents = polled_[i].revents;
      }
      dispatching_ = true;
      if (g_main_context_check(context_, priority_, fds_.data(), static_cast<gint>(fds_.size())))
        g_main_context_dispatch(context_);
      dispatching_ = false;
      setPhase(Phase::Idle);
      phase = Phase::Idle;
    }
    if (phase == Phase::Idle) prepare();
  }

  // Main thread: have the sources looked at again soon.
  void kick() {
    Phase phase;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      phase = phase_;
    }
    if (phase == Phase::Polling)
      interrupt();
    else
      postStep();
  }

 private:
  enum class Phase { Idle, Polling, Polled };

  void setPhase(Phase phase) {
    std::lock_guard<std::mutex> lock(mutex_);
    phase_ = phase;
  }

  void prepare() {
    g_main_context_prepare(context_, &priority_);
    gint timeout = -1;
    for (;;) {
      gint n = g_main_context_query(context_, priority_, &timeout, fds_.data(), static_cast<gint>(fds_.size()));
      if (n <= static_cast<gint>(fds_.size())) {
        fds_.resize(static_cast<size_t>(n));
        break;
      }
      fds_.resize(static_cast<size_t>(n));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      polled_ = fds_;
      timeout_ = timeout;
      phase_ = Phase::Polling;
    }
    changed_.notify_all();
  }

  void interrupt() {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(control_, &one, sizeof one);
  }

  void postStep() {
    ns::RunLoop::main().post([this, alive = alive_] {
      if (alive->load()) step();
    });
  }

  // The watcher thread.
  void watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return stopping_ || phase_ == Phase::Polling; });
      if (stopping_) return;
      std::vector<pollfd> fds;
      for (const GPollFD& f : polled_) fds.push_back({f.fd, static_cast<short>(f.events), 0});
      fds.push_back({control_, POLLIN, 0});
      int timeout = timeout_;
      lock.unlock();
      ::poll(fds.data(), fds.size(), timeout);
      std::uint64_t drained;
      while (::read(control_, &drained, sizeof drained) > 0) {
      }
      lock.lock();
      if (stopping_) return;
      for (size_t i = 0; i < polled_.size(); ++i) polled_[i].revents = static_cast<gushort>(fds[i].revents);
      phase_ = Phase::Polled;
      lock.unlock();
      postStep();
      lock.lock();
    }
  }

  int control_;
  GMainContext* context_;
  bool owned_ = false;
  bool dispatching_ = false;  // main thread only
  gint priority_ = 0;         // main thread only
  std::vector<GPollFD> fds_;  // main thread only

  std::mutex mutex_;
  std::condition_variable changed_;
  Phase phase_ = Phase::Idle;
  std::vector<GPollFD> polled_;
  int timeout_ = -1;
  bool stopping_ = false;
  std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
  ns::Thread watcher_;
};

namespace {

std::unique_ptr<WebKitEngine>& engineSlot() {
  static std::unique_ptr<WebKitEngine> engine;
  return engine;
}

bool& gtkTried() {
  static bool tried = false;
  return tried;
}

bool& gtkReady() {
  static bool ready = false;
  return ready;
}

bool startGtk() {
  if (gtkTried()) return gtkReady();
  gtkTried() = true;
  // The engine draws into plain memory: our views paint it with cairo, which
  // a GPU buffer of an offscreen window could not give.
  ::setenv("WEBKIT_DMABUF_RENDERER_FORCE_SHM", "1", 0);
  // The process keeps the locale it has (numbers are read and written in C).
  gtk_disable_setlocale();
  // The offscreen windows are no part of the desktop's accessibility tree.
  ::setenv("NO_AT_BRIDGE", "1", 0);
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
  gtkReady() = gtk_init_check(nullptr, nullptr);
  if (!gtkReady())
    ns::logf("INFO  - [%s] Web pages cannot be shown: no display could be opened", ns::logTimestamp().c_str());
  return gtkReady();
}

// The command name of a process ("comm"), empty when it is gone.
std::string processName(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(in, name);
  return name;
}

pid_t parentOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  // "pid (comm) state ppid ...": the name may hold spaces and brackets.
  size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(line.substr(close + 1));
  std::string state;
  pid_t parent = -1;
  rest >> state >> parent;
  return parent;
}

}  // namespace

WebKitEngine::WebKitEngine() = default;

WebKitEngine::~WebKitEngine() {
  if (context_) g_object_unref(context_);
}

bool WebKitEngine::start() {
  if (!startGtk()) return false;
  pump_ = std::make_unique<Pump>();
  if (!pump_->isOwned()) {
    ns::logf("INFO  - [%s] Web pages cannot be shown: the main context belongs to another thread",
             ns::logTimestamp().c_str());
    pump_.reset();
    return false;
  }
  // Nothing a page leaves (cookies, caches, storage) outlives the process.
  context_ = webkit_web_context_new_ephemeral();
  webkit_web_context_set_cache_model(context_, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  pump_->kick();
  return true;
}

void WebKitEngine::kick() {
  if (pump_) pump_->kick();
}

void WebKitEngine::install() {
  WebView::setFactory([](cg::Rect frame) -> std::shared_ptr<WebView> {
    WebKitEngine* engine = shared();
    if (!engine) return nullptr;
    return std::make_shared<GtkWebView>(frame, *engine);
  });
  WebView::setCookieRemover([](const std::string& host) {
    if (isRunning()) engineSlot()->removeCookiesForHost(host);
  });
}

void WebKitEngine::removeCookiesForHost(const std::string& host) {
  WebKitCookieManager* cookies =
      webkit_website_data_manager_get_cookie_manager(webkit_web_context_get_website_data_manager(context_));
  // Reads the cookies sent to the host, then deletes each one.
  for (const char* scheme : {"https://", "http://"}) {
    std::string uri = std::string(scheme) + host + "/";
    webkit_cookie_manager_get_cookies(
        cookies, uri.c_str(), nullptr,
        [](GObject* source, GAsyncResult* result, gpointer) {
          auto* manager = WEBKIT_COOKIE_MANAGER(source);
          GList* list = webkit_cookie_manager_get_cookies_finish(manager, result, nullptr);
          for (GList* item = list; item; item = item->next) {
            auto* cookie = static_cast<SoupCookie*>(item->data);
            webkit_cookie_manager_delete_cookie(manager, cookie, nullptr, nullptr, nullptr);
            soup_cookie_free(cookie);
          }
          g_list_free(list);
        },
        nullptr);
  }
  kick();
}

WebKitEngine* WebKitEngine::shared() {
  auto& slot = engineSlot();
  if (!slot) {
    if (gtkTried() && !gtkReady()) return nullptr;
    std::unique_ptr<WebKitEngine> engine(new WebKitEngine);
    if (!engine->start()) return nullptr;
    slot = std::move(engine);
  }
  return slot.get();
}

bool WebKitEngine::isRunning() { return engineSlot() != nullptr; }

std::set<pid_t> WebKitEngine::helperProcesses() {
  std::set<pid_t> found;
  pid_t self = ::getpid();
  DIR* proc = ::opendir("/proc");
  if (!proc) return found;
  while (dirent* entry = ::readdir(proc)) {
    char* end = nullptr;
    long pid = std::strtol(entry->d_name, &end, 10);
    if (!end || *end || pid <= 0) continue;
    if (parentOf(static_cast<pid_t>(pid)) != self) continue;
    if (processName(static_cast<pid_t>(pid)).rfind("WebKit", 0) == 0) found.insert(static_cast<pid_t>(pid));
  }
  ::closedir(proc);
  return found;
}

void WebKitEngine::shutdown() {
  auto& slot = engineSlot();
  if (!slot) return;
  if (slot->views_ > 0)
    ns::logf("INFO  - [%s] The web engine stops with %d web views alive", ns::logTimestamp().c_str(), slot->views_);
  std::set<pid_t> helpers = helperProcesses();
  // From here GLib runs plainly on this thread until the helpers are gone.
  slot->pump_.reset();
  g_object_unref(slot->context_);
  slot->context_ = nullptr;
  // The helpers end when their connection closes; GLib reaps the ones it
  // watches, the rest are reaped here (only these, by their numbers).
  GMainContext* context = g_main_context_default();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!helpers.empty() && std::chrono::steady_clock::now() < deadline) {
    while (g_main_context_iteration(context, FALSE)) {
    }
    for (auto it = helpers.begin(); it != helpers.end();) {
      int status = 0;
      pid_t done = ::waitpid(*it, &status, WNOHANG);
      bool gone = done == *it || (done < 0 && errno == ECHILD);
      it = gone ? helpers.erase(it) : std::next(it);
    }
    if (!helpers.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (pid_t pid : helpers) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  slot.reset();
}

}  // namespace ui
