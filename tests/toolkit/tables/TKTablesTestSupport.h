#pragma once
// What the table framework's tests start from: the virtual clock, a window,
// a navigator that hands web links to a recording opener, and the default
// style sheet; and a small model whose loading the test drives.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"
#include "toolkit/core/TKModel.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"

namespace tktables {

// An image of one colour.
inline std::shared_ptr<ui::Image> filledImage(float w, float h, cg::Color colour = cg::Color::red()) {
  auto ctx = cg::Context::bitmap(w, h);
  ctx.setFillColor(colour);
  ctx.fillRect(cg::Rect(0, 0, w, h));
  return std::make_shared<ui::Image>(ctx.makeImage(), 1);
}

// Where a test picture goes: "tables/<name>" under the test scratch folder.
inline std::string sheetPath(const std::string& name) {
  const char* base = std::getenv("ZARVEL_TEST_TMP");
  auto path = std::filesystem::path(base ? base : "/tmp") / "tables" / name;
  std::filesystem::create_directories(path.parent_path());
  return path.string();
}

class TablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    ui::URLOpener::setLauncher([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
    TKNavigator::setNavigator(std::make_unique<TKNavigator>());
    TKNavigator::navigator().setOpensExternalURLs(true);
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 768, 1024));
    window->makeKeyAndVisible();
    TKURLRequestQueue::mainQueue().setSuspended(false);
  }
  void TearDown() override {
    ui::Animator::finishAll();
    window.reset();
    TKNavigator::setNavigator(nullptr);
    ui::URLOpener::setLauncher(nullptr);
    TKURLRequestQueue::mainQueue().setSuspended(false);
    TKStyleSheet::setGlobalStyleSheet(nullptr);
  }
  void touch(ui::TouchPhase phase, cg::Point p, int finger = 0) { window->sendTouch(finger, phase, p); }
  void tap(cg::Point p) {
    touch(ui::TouchPhase::Began, p);
    clock->advance(0.05);
    touch(ui::TouchPhase::Ended, p);
  }

  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
  std::vector<std::string> opened;
};

// A model the test loads, finishes and fails by hand.
class ManualModel : public TKModel {
 public:
  bool isLoaded() const override { return loaded; }
  bool isLoading() const override { return loading; }
  void load(int cachePolicy, bool more) override {
    loads.push_back({cachePolicy, more});
    loading = true;
    didStartLoad();
  }
  void cancel() override {
    ++cancels;
    loading = false;
    didCancelLoad();
  }
  void finish() {
    loading = false;
    loaded = true;
    didFinishLoad();
  }
  bool loaded = false, loading = false;
  int cancels = 0;
  std::vector<std::pair<int, bool>> loads;
};

}  // namespace tktables
