// The desktop window's geometry: opening size and orientation, letterboxing,
// the drawing scale, mouse points on the logical screen, the turn, and the
// placement kept between runs.
#include <gtest/gtest.h>

#include "platform/backend/sdl/WindowGeometry.h"

using namespace ui;

namespace {
constexpr cg::Size kLandscape{1024, 768};
constexpr cg::Size kPortrait{768, 1024};
}  // namespace

TEST(WindowGeometry, OpensFittedToTheDesktopInItsShape) {
  struct Case {
    const char* name;
    cg::Rect desktop;
    std::optional<WindowPlacement> saved;
    InterfaceOrientation orientation;
    int width, height;
    bool hasPosition;
  };
  WindowPlacement tall{100, 50, 600, 800, true, InterfaceOrientation::LandscapeLeft};
  WindowPlacement huge{0, 0, 4000, 3000, true, InterfaceOrientation::LandscapeLeft};
  WindowPlacement offDesktop{5000, 5000, 800, 600, true, InterfaceOrientation::PortraitUpsideDown};
  const Case cases[] = {
      {"wide desktop: landscape", {0, 0, 1920, 1040}, std::nullopt, InterfaceOrientation::LandscapeRight, 1248, 936, false},
      {"tall desktop: portrait", {0, 0, 1080, 1880}, std::nullopt, InterfaceOrientation::Portrait, 972, 1296, false},
      {"saved tall window starts in portrait", {0, 0, 1920, 1040}, tall, InterfaceOrientation::Portrait, 600, 800, true},
      {"saved window larger than the desktop", {0, 0, 1920, 1040}, huge, InterfaceOrientation::LandscapeLeft, 1920, 1040, true},
      {"saved on a screen no longer there", {0, 0, 1920, 1040}, offDesktop, InterfaceOrientation::LandscapeRight, 800, 600, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowPlacement p = openingPlacement(c.saved, {c.desktop});
    EXPECT_EQ(p.orientation, c.orientation);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(p.hasPosition, c.hasPosition);
  }
}

// Two displays side by side (a taller one on the right); the window keeps a
// title bar's height and a third of its width on one, or is brought onto it.
TEST(WindowGeometry, AWindowOpensOnItsDisplayAndAnAlmostHiddenOneComesBack) {
  const std::vector<cg::Rect> displays = {{0, 0, 1920, 1040}, {1920, 0, 1200, 1880}};
  struct Case {
    const char* name;
    int x, y;
    bool hasPosition;
    int openX, openY, display;
  };
  const Case cases[] = {
      {"on the primary", 100, 50, true, 100, 50, 0},
      {"on the second display", 2100, 300, true, 2100, 300, 1},
      {"mostly on the second", 1820, 300, true, 1820, 300, 1},
      {"5x5 pixels showing at the bottom left", -795, 1035, true, 0, 440, 0},
      {"5 pixels high at the second's bottom", 2000, 1875, true, 2000, 1280, 1},
      {"only its bottom edge at the top", 300, -595, true, 300, 0, 0},
      {"a sliver at the left", -795, 200, true, 0, 200, 0},
      {"a title bar's height and a third showing stays", -500, 1008, true, -500, 1008, 0},
      {"below every display", 300, 1900, false, 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowPlacement saved{c.x, c.y, 800, 600, true, InterfaceOrientation::LandscapeRight};
    WindowPlacement p = openingPlacement(saved, displays);
    EXPECT_EQ(p.hasPosition, c.hasPosition);
    if (c.hasPosition) {
      EXPECT_EQ(p.x, c.openX);
      EXPECT_EQ(p.y, c.openY);
    }
    EXPECT_EQ(displayOf(p, displays), c.display);
    EXPECT_EQ(p.width, 800);
  }
  // A window larger than the second display is fitted to it there.
  WindowPlacement tall{1950, 10, 1500, 1800, true, InterfaceOrientation::Portrait};
  WindowPlacement p = openingPlacement(tall, displays);
  EXPECT_EQ(p.width, 1200);
  EXPECT_EQ(p.height, 1800);
  EXPECT_EQ(displayOf(p, displays), 1);
}

TEST(WindowGeometry, LetterboxesScalesAndMapsPoints) {
  // A window wider than the screen's aspect: bars left and right.
  EXPECT_EQ(screenRectInWindow(kLandscape, {1200, 768}), cg::Rect(88, 0, 1024, 768));
  EXPECT_EQ(screenRectInWindow(kPortrait, {768, 1200}), cg::Rect(0, 88, 768, 1024));
  EXPECT_EQ(screenRectInWindow(kLandscape, {512, 768}), cg::Rect(0, 192, 512, 384));
  // The point under the mouse on the logical screen, bars included.
  EXPECT_EQ(logicalPointFor({88, 0}, kLandscape, {1200, 768}), (cg::Point{0, 0}));
  EXPECT_EQ(logicalPointFor({256, 384}, kLandscape, {512, 768}), (cg::Point{512, 384}));
  // Scale 2 as soon as the screen shows larger than 1x: drawn sharp and reduced.
  EXPECT_EQ(renderScaleFor(kLandscape, {1024, 768}), 1);
  EXPECT_EQ(renderScaleFor(kLandscape, {1200, 768}), 1);  // wider, but no taller: bars beside
  EXPECT_EQ(renderScaleFor(kLandscape, {512, 384}), 1);
  EXPECT_EQ(renderScaleFor(kLandscape, {1040, 780}), 2);
  EXPECT_EQ(renderScaleFor(kLandscape, {1400, 1050}), 2);  // a fitted window on a 1440p desktop
  EXPECT_EQ(renderScaleFor(kPortrait, {1728, 1296}), 2);   // on its side in a landscape window
  EXPECT_EQ(renderScaleFor(kLandscape, {2048, 1536}), 2);
  // A turn keeps the scale, unless the window would leave the desktop.
  EXPECT_EQ(turnedWindowSize({1248, 936}, kLandscape, kPortrait, {1920, 1040}), (cg::Size{780, 1040}));
  EXPECT_EQ(turnedWindowSize({768, 576}, kLandscape, kPortrait, {1920, 1040}), (cg::Size{576, 768}));
}

TEST(WindowGeometry, PlacementSurvivesTheFileAndBadFilesAreRefused) {
  WindowPlacement p{-20, 40, 900, 700, true, InterfaceOrientation::LandscapeLeft};
  auto back = parseWindowPlacement(formatWindowPlacement(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->x, -20);
  EXPECT_EQ(back->y, 40);
  EXPECT_EQ(back->width, 900);
  EXPECT_EQ(back->height, 700);
  EXPECT_TRUE(back->hasPosition);
  EXPECT_EQ(back->orientation, InterfaceOrientation::LandscapeLeft);
  for (const char* bad : {"", "width=900\nheight=700\n", "width=900\nheight=700\norientation=5\n",
                          "width=9x\nheight=700\norientation=1\n", "width=-5\nheight=700\norientation=1\n",
                          "width=99999999999\nheight=700\norientation=1\n"})
    EXPECT_FALSE(parseWindowPlacement(bad)) << bad;
  auto noPosition = parseWindowPlacement("width=900\nheight=700\norientation=1\nx=oops\n");
  ASSERT_TRUE(noPosition);
  EXPECT_FALSE(noPosition->hasPosition);
}
