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
    WindowPlacement p = openingPlacement(c.saved, c.desktop);
    EXPECT_EQ(p.orientation, c.orientation);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(p.hasPosition, c.hasPosition);
  }
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
