// Showing the drawn screen in the window's pixels: copying only what changed
// leaves the window as copying everything would, at the drawn size, scaled
// either way and letterboxed.
#include "platform/backend/sdl/WindowPixels.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/backend/sdl/WindowGeometry.h"

using namespace ui;

namespace {

constexpr float kScale = 2;
const cg::Size kLogical{64, 48};

// A screen at scale 2 whose every pixel differs from its neighbours, so a
// shifted, stale or badly blended pixel shows.
cairo_surface_t* patternedScreen() {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(kLogical.width * kScale),
                                                  int(kLogical.height * kScale));
  auto* p = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < cairo_image_surface_get_height(s); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(s); ++x) {
      std::uint32_t v = 0xff000000u | std::uint32_t((x * 37 + y * 11) & 0xff) << 16 |
                        std::uint32_t((x * 5 + y * 53) & 0xff) << 8 | std::uint32_t((x ^ y) * 29 & 0xff);
      std::memcpy(p + y * stride + x * 4, &v, 4);
    }
  cairo_surface_mark_dirty(s);
  return s;
}

void paintRect(cairo_surface_t* screen, cg::Rect points, double r, double g, double b) {
  cairo_t* cr = cairo_create(screen);
  cairo_scale(cr, kScale, kScale);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_rectangle(cr, points.x(), points.y(), points.width(), points.height());
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(screen);
}

struct Buffer {
  int width, height;
  std::vector<unsigned char> bytes;
  Buffer(int w, int h) : width(w), height(h), bytes(std::size_t(w) * h * 4, 0xab) {}  // garbage, as a new surface may hold
  WindowPixels pixels() { return {bytes.data(), width, height, width * 4}; }
  std::uint32_t at(int x, int y) const {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + (std::size_t(y) * width + x) * 4, 4);
    return v & 0xffffff;  // the top byte is unused by the window
  }
};

// The first pixel at which two windows differ, or "" when none does.
std::string firstDifference(const Buffer& a, const Buffer& b) {
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.at(x, y) != b.at(x, y))
        return std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a.at(x, y)) + " vs " +
               std::to_string(b.at(x, y));
  return "";
}

}  // namespace

TEST(WindowPixels, CopyingWhatChangedEqualsCopyingEverything) {
  struct Case {
    const char* what;
    int width, height;
    bool fitted;  // the screen where screenRectInWindow puts it, else at its drawn size in the middle
  } cases[] = {
      {"the drawn size", 128, 96, true},
      {"the drawn size with bars", 140, 100, false},
      {"reduced", 100, 75, true},
      {"reduced with bars above and below", 90, 90, true},
      {"enlarged", 205, 150, true},
  };
  // Inside, across pixel edges, along the screen's edges and corner.
  const std::vector<std::vector<cg::Rect>> changes = {
      {cg::Rect(10.5f, 7, 6, 5)},
      {cg::Rect(0, 0, 3, 48), cg::Rect(60, 44, 4, 4)},
      {cg::Rect(30, 20, 1, 1), cg::Rect(31, 20, 10, 0.5f)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cg::Rect shown = c.fitted ? screenRectInWindow(kLogical, {float(c.width), float(c.height)})
                              : cg::Rect(float(c.width - 128) / 2, float(c.height - 96) / 2, 128, 96);
    cairo_surface_t* screen = patternedScreen();
    Buffer partly(c.width, c.height);
    auto areas = copyToWindow(screen, kScale, {}, partly.pixels(), shown, true);
    EXPECT_EQ(areas, (std::vector<PixelArea>{{0, 0, c.width, c.height}}));
    if (shown.x() >= 1 || shown.y() >= 1) {
      EXPECT_EQ(partly.at(0, 0), 0u) << "the bars are black";
    }
    double shade = 0;
    for (const auto& changed : changes) {
      shade += 0.3;
      for (const cg::Rect& r : changed) paintRect(screen, r, shade, 1 - shade / 2, 0.2);
      areas = copyToWindow(screen, kScale, changed, partly.pixels(), shown, false);
      ASSERT_FALSE(areas.empty());
      for (const PixelArea& a : areas) {
        EXPECT_GE(a.x, 0);
        EXPECT_GE(a.y, 0);
        EXPECT_LE(a.x + a.width, c.width);
        EXPECT_LE(a.y + a.height, c.height);
      }
      Buffer whole(c.width, c.height);
      copyToWindow(screen, kScale, {}, whole.pixels(), shown, true);
      EXPECT_EQ(firstDifference(partly, whole), "");
    }
    // Nothing changed: nothing to send.
    EXPECT_TRUE(copyToWindow(screen, kScale, {}, partly.pixels(), shown, false).empty());
    cairo_surface_destroy(screen);
  }
}

TEST(WindowPixels, OnlySoftwareRenderersPresentThroughTheWindowSurface) {
  struct Case {
    const char* sdl;
    const char* gl;
    bool software;
  } cases[] = {
      {"software", "", true},
      {"opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"opengles2", "softpipe", true},
      {"opengl", "Mesa X11 Software Rasterizer", true},
      {"opengl", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", false},
      {"opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"opengles2", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(rendersInSoftware(c.sdl, c.gl), c.software) << c.sdl << " " << c.gl;
}
