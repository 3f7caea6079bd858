// The window's icon: the drawn icon's pixels with straight alpha, as the
// desktop's icon property wants them.
#include "platform/backend/sdl/WindowIcon.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"

using namespace ui;

TEST(WindowIcon, PixelsComeStraightFromThePremultipliedDrawing) {
  const char* base = std::getenv("ZARVEL_TEST_TMP");
  std::string dir = ns::pathJoin(base ? base : "/tmp", "window-icon");
  ns::removeItem(dir);
  ASSERT_TRUE(ns::createDirectory(dir));
  // Opaque blue, half-transparent red, nothing.
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3, 1);
  cairo_t* cr = cairo_create(s);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, 0, 0, 1, 1);
  cairo_rectangle(cr, 0, 0, 1, 1);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 1, 0, 0, 0.5);
  cairo_rectangle(cr, 1, 0, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::string path = ns::pathJoin(dir, "icon.png");
  ASSERT_EQ(cairo_surface_write_to_png(s, path.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(s);

  auto icon = loadIconPixels(path);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->width, 3);
  EXPECT_EQ(icon->height, 1);
  ASSERT_EQ(icon->argb.size(), 3u);
  EXPECT_EQ(icon->argb[0], 0xff0000ffu);
  EXPECT_EQ(icon->argb[1] & 0xffff0000u, 0x80ff0000u);  // red at full strength, half covering
  EXPECT_EQ(icon->argb[2], 0u);
  EXPECT_FALSE(loadIconPixels(ns::pathJoin(dir, "missing.png")));
  ns::removeItem(dir);
}

TEST(WindowIcon, TheWindowShowsTheDrawnIcon) {
  unsetenv("ZARVEL_RESOURCES");  // the build's resources
  std::string path = windowIconPath();
  if (path.empty()) GTEST_SKIP() << "the artwork is not drawn";
  auto icon = loadIconPixels(path);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->width, 128);
  EXPECT_EQ(icon->argb.front() >> 24, 0u);                                // a rounded corner
  EXPECT_EQ(icon->argb[std::size_t(64 * icon->width + 64)] >> 24, 255u);  // the middle
}
