#pragma once
// A visible key window on a fresh virtual clock, with scripted gestures.
#include <gtest/gtest.h>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Clock.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
  }
  void TearDown() override { ui::Animator::finishAll(); }
  ui::GestureScript script() { return ui::GestureScript(*window, *clock); }

  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
};
