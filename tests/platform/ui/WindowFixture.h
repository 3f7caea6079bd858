#pragma once
// A visible white key window on a fresh virtual clock, with scripted
// gestures, touches, keys and pictures.
#include <gtest/gtest.h>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Clock.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Window.h"

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    window->setBackgroundColor(cg::Color::white());
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    ui::Animator::finishAll();
    ui::Keyboard::shared().resetForTesting();
  }
  ui::GestureScript script() { return ui::GestureScript(*window, *clock); }
  void touch(ui::TouchPhase phase, cg::Point p) { window->sendTouch(0, phase, p); }
  void tap(cg::Point p) {
    touch(ui::TouchPhase::Began, p);
    touch(ui::TouchPhase::Ended, p);
  }
  void key(const std::string& name, unsigned modifiers = 0) { window->sendKey({name, "", modifiers}); }
  void type(const std::string& text) { window->sendKey({"", text, 0}); }
  std::shared_ptr<cg::Image> picture() { return window->snapshot(); }
  cg::RGBA pixel(cg::Point p) { return picture()->pixelAt(int(p.x), int(p.y)); }

  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
};
