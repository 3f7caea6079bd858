// The placeholder root in the application's window turns between landscape
// and portrait and lays itself out again below the status bar, with the
// index as its left column.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Classes/app/PlaceholderRootViewController.h"
#include "platform/foundation/Clock.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

// The column where the title's ink is, left to right from x0: its middle.
float inkMiddle(const cg::Image& image, int x0, int y0, int y1) {
  int minX = image.width(), maxX = -1;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < image.width(); ++x)
      if (image.pixelAt(x, y).r < 120) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
  return maxX < 0 ? -1 : (minX + maxX) / 2.0f;
}

}  // namespace

TEST(PlaceholderRoot, ReLaysOutInPortraitAndLandscape) {
  auto clock = ns::VirtualClock::install(1.8e9);
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeRight);
  ui::Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));
  auto window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
  window->setShowsStatusBar(true);
  auto root = std::make_shared<PlaceholderRootViewController>();
  root->view()->setFrame(ui::Screen::main().applicationFrame());
  window->addSubview(root->view());
  window->makeKeyAndVisible();

  const char* tmp = std::getenv("ZARVEL_TEST_TMP");
  std::string dir = std::string(tmp ? tmp : "/tmp") + "/placeholder";
  std::filesystem::create_directories(dir);
  struct Turn {
    ui::InterfaceOrientation to;
    cg::Rect frame;
    const char* shot;
  };
  for (Turn t : {Turn{ui::InterfaceOrientation::LandscapeRight, {0, 20, 1024, 748}, "landscape.png"},
                 Turn{ui::InterfaceOrientation::Portrait, {0, 20, 768, 1004}, "portrait.png"},
                 Turn{ui::InterfaceOrientation::LandscapeLeft, {0, 20, 1024, 748}, "landscape-left.png"}}) {
    SCOPED_TRACE(t.shot);
    window->rotateToInterfaceOrientation(t.to);
    clock->advance(1);
    EXPECT_EQ(root->view()->frame(), t.frame);
    EXPECT_EQ(root->interfaceOrientation(), t.to);
    auto image = window->snapshot();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), int(t.frame.width()));
    // The index is the left column, full height; the title stands in the
    // middle of the rest of the screen, whichever way it is turned.
    auto column = root->viewContIndex()->view();
    EXPECT_EQ(column->frame(), cg::Rect(0, 0, column->frame().width(), t.frame.height()));
    float rest = column->frame().width();
    float title = inkMiddle(*image, int(rest), int(t.frame.height() * 0.35f) + 25, int(t.frame.height() * 0.35f) + 70);
    EXPECT_NEAR(title, rest + (t.frame.width() - rest) / 2, 8);
    EXPECT_TRUE(image->writePNG(dir + "/" + t.shot));
  }
  ui::Animator::finishAll();
  ui::Application::shared().resetForTesting();
}
