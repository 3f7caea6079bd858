// The real engine under a virtual X display, against pages on the loopback
// server: loads and their reports, history, stop and reload, failures,
// refused addresses, drawing, touches and typing; and no helper process
// outlives the engine.
#include <gtest/gtest.h>

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLConnection.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Window.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/XvfbDisplay.h"
#include "toolkit/web/WebKitEngine.h"
#include "toolkit/web/GtkWebView.h"

namespace {

using testing_support::LoopbackServer;
using testing_support::XvfbDisplay;

struct Recorder : ui::WebViewDelegate {
  std::vector<std::string> events;
  std::vector<std::string> asked;
  std::vector<ui::WebViewNavigationType> types;
  std::vector<ns::Error> failures;
  std::string refusePrefix = "mailto:";
  int finished = 0;
  int started = 0;

  bool webViewShouldStartLoad(ui::WebView&, const std::string& url, ui::WebViewNavigationType type) override {
    asked.push_back(url);
    types.push_back(type);
    return url.rfind(refusePrefix, 0) != 0;
  }
  void webViewDidStartLoad(ui::WebView&) override {
    ++started;
    events.push_back("start");
  }
  void webViewDidFinishLoad(ui::WebView& view) override {
    ++finished;
    events.push_back("finish " + view.title());
  }
  void webViewDidFailLoad(ui::WebView&, const ns::Error& error) override {
    failures.push_back(error);
    events.push_back("fail " + std::to_string(error.code));
  }
  void webViewTitleDidChange(ui::WebView& view) override { events.push_back("title " + view.title()); }
};

// An address on the loopback interface where nothing listens (a port just let go).
std::string closedPortURL() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/";
}

std::string page(const std::string& title, const std::string& body) {
  return "<html><head><title>" + title + "</title></head><body style='margin:0;background:#2050c0'>" + body +
         "</body></html>";
}

class GtkWebViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (XvfbDisplay::shared().empty()) GTEST_SKIP() << XvfbDisplay::kMissing;
    backend_ = std::make_unique<ui::HeadlessBackend>();
    ui::WebKitEngine::install();
    server_.on("/one.html", LoopbackServer::ok(page("One", "<a id=l href='/two.html' style='display:block;"
                                                          "width:300px;height:200px;background:#20c040'>two</a>")));
    server_.on("/two.html", LoopbackServer::ok(page("Two", "<p>second</p>")));
    LoopbackServer::Answer slow = LoopbackServer::ok(page("Slow", ""));
    slow.stallMs = 4000;
    server_.on("/slow.html", slow);
    server_.on("/form.html",
               LoopbackServer::ok(page("Form", "<input id=f style='position:absolute;left:10px;top:10px;"
                                               "width:200px;height:30px' onfocus='document.title=\"focused\"' "
                                               "oninput='document.title=this.value'>")));
    window_ = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    view_ = ui::WebView::make(cg::Rect(0, 0, 400, 300));
    view_->setDelegate(&recorder_);
    window_->addSubview(view_);
    window_->makeKeyAndVisible();
  }

  void TearDown() override {
    if (!view_) return;
    view_->setDelegate(nullptr);
    view_->removeFromSuperview();
    view_.reset();
    window_.reset();
    ui::WebKitEngine::shutdown();
    EXPECT_TRUE(ui::WebKitEngine::helperProcesses().empty()) << "a helper process of the engine outlived it";
  }

  bool waitFor(const std::function<bool()>& done) { return ns::RunLoop::main().runUntil(done, 15.0); }
  bool load(const std::string& url) {
    int before = recorder_.finished;
    view_->loadRequest(url);
    return waitFor([&] { return recorder_.finished > before; });
  }

  // The view drawn alone into a surface; the colour at the point.
  uint32_t pixelAt(int x, int y) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300);
    {
      cg::Context context(surface, 1);
      view_->drawRect(context, view_->bounds());
    }
    cairo_surface_flush(surface);
    uint32_t pixel = *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                                  y * cairo_image_surface_get_stride(surface) + x * 4);
    cairo_surface_destroy(surface);
    return pixel & 0xffffff;
  }

  LoopbackServer server_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
  std::shared_ptr<ui::Window> window_;
  std::shared_ptr<ui::WebView> view_;
  Recorder recorder_;
};

TEST_F(GtkWebViewTest, LoadsGoesBackAndForwardStopsReloadsAndReportsFailures) {
  ASSERT_NE(dynamic_cast<ui::GtkWebView*>(view_.get()), nullptr);
  ASSERT_TRUE(load(server_.url("/one.html")));
  EXPECT_EQ(view_->title(), "One");
  EXPECT_FALSE(view_->canGoBack());
  EXPECT_EQ(view_->currentURL(), server_.url("/one.html"));

  ASSERT_TRUE(load(server_.url("/two.html")));
  EXPECT_EQ(view_->title(), "Two");
  EXPECT_TRUE(view_->canGoBack());
  EXPECT_FALSE(view_->canGoForward());

  int before = recorder_.finished;
  view_->goBack();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished > before; }));
  EXPECT_EQ(view_->title(), "One");
  EXPECT_TRUE(view_->canGoForward());
  before = recorder_.finished;
  view_->goForward();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished > before; }));
  EXPECT_EQ(view_->title(), "Two");

  int requests = server_.requestCount("/two.html");
  before = recorder_.finished;
  view_->reload();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished > before; }));
  EXPECT_EQ(server_.requestCount("/two.html"), requests + 1);

  // A load that hangs stops on request, as a cancelled one.
  int started = recorder_.started;
  view_->loadRequest(server_.url("/slow.html"));
  ASSERT_TRUE(waitFor([&] { return recorder_.started > started && view_->isLoading(); }));
  view_->stopLoading();
  ASSERT_TRUE(waitFor([&] { return !recorder_.failures.empty(); }));
  EXPECT_EQ(recorder_.failures.back().code, ns::kURLErrorCancelled);
  EXPECT_FALSE(view_->isLoading());

  size_t failures = recorder_.failures.size();
  view_->loadRequest(closedPortURL());
  ASSERT_TRUE(waitFor([&] { return recorder_.failures.size() > failures; }));
  EXPECT_EQ(recorder_.failures.back().domain, ns::kURLErrorDomain);
  EXPECT_EQ(recorder_.failures.back().code, ns::kURLErrorCannotConnectToHost);
}

TEST_F(GtkWebViewTest, RefusedAddressesDoNotLoadAndTouchesAndTypingReachThePage) {
  ASSERT_TRUE(load(server_.url("/one.html")));
  // The page is drawn into the view: the link's green, then the body's blue.
  ASSERT_TRUE(waitFor([&] { return pixelAt(50, 50) == 0x20c040; }));
  EXPECT_EQ(pixelAt(350, 250), 0x2050c0);
  // A page follows its view's size.
  view_->setFrame(cg::Rect(0, 0, 380, 280));
  ASSERT_TRUE(waitFor([&] { return pixelAt(370, 270) == 0x2050c0; }));

  // A script's move to a refused scheme is asked about and goes nowhere.
  view_->runScript("location.href = 'mailto:someone@example.org'");
  ASSERT_TRUE(waitFor([&] { return !recorder_.asked.empty() && recorder_.asked.back().rfind("mailto:", 0) == 0; }));
  ns::RunLoop::main().runFor(0.2);
  EXPECT_EQ(view_->currentURL(), server_.url("/one.html"));

  // A tap on the link follows it, as a clicked link.
  int before = recorder_.finished;
  backend_->tap(cg::Point(50, 50));
  ASSERT_TRUE(waitFor([&] { return recorder_.finished > before; }));
  EXPECT_EQ(view_->title(), "Two");
  EXPECT_EQ(recorder_.types.back(), ui::WebViewNavigationType::LinkClicked);

  ASSERT_TRUE(load(server_.url("/form.html")));
  // Touches reach a page that has been laid out and drawn.
  ASSERT_TRUE(waitFor([&] { return pixelAt(350, 250) == 0x2050c0; }));
  backend_->tap(cg::Point(60, 25));
  // The page takes mouse and keys in separate queues: typing waits for the focus.
  ASSERT_TRUE(waitFor([&] { return view_->title() == "focused"; }));
  backend_->typeText("salam");
  ASSERT_TRUE(waitFor([&] { return view_->title() == "salam"; }));
  backend_->key("BackSpace");
  ASSERT_TRUE(waitFor([&] { return view_->title() == "sala"; }));
}

}  // namespace
