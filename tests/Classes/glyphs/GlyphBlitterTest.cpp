// The glyph blitter puts down exactly the pixels the context would, whether it
// writes them itself or hands the glyph to the context.
#include "Classes/glyphs/GlyphBlitter.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace {

// A glyph-like bitmap: a transparent frame around soft and solid ink.
std::shared_ptr<cg::Image> glyph(int w, int h, unsigned tint) {
  auto ctx = cg::Context::bitmap(float(w), float(h));
  ctx.setFillColor(cg::Color::fromRGB255(tint & 255, (tint >> 8) & 255, (tint >> 16) & 255));
  ctx.fillEllipseInRect(cg::Rect(2, 3, float(w) - 5, float(h) - 8));
  return ctx.makeImage();
}

struct Placement {
  std::shared_ptr<cg::Image> image;
  float x, y, w, h;
};

// Draws the glyphs after the set-up, through the blitter or through the context.
std::shared_ptr<cg::Image> draw(const std::function<void(cg::Context&)>& setUp, const std::vector<Placement>& glyphs,
                                float scale, bool layer, bool blitter, bool* direct = nullptr) {
  auto ctx = cg::Context::bitmap(80, 60, scale);
  ctx.setFillColor(cg::Color::fromRGB255(250, 240, 200));
  ctx.fillRect(cg::Rect(0, 0, 80, 30));  // a background under half of them
  ctx.save();
  setUp(ctx);
  if (blitter) {
    GlyphBlitter::Sources sources;
    GlyphBlitter b(ctx, sources);
    if (direct) *direct = b.isDirect();
    for (const auto& g : glyphs) b.draw(g.image, g.x, g.y, g.w, g.h);
  } else {
    for (const auto& g : glyphs) ctx.drawImage(*g.image, cg::Rect(g.x, g.y, g.w, g.h));
  }
  if (layer) ctx.endTransparencyLayer();
  ctx.restore();
  return ctx.makeImage();
}

int differingPixels(const cg::Image& a, const cg::Image& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      cg::RGBA p = a.pixelAt(x, y), q = b.pixelAt(x, y);
      n += p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a;
    }
  return n;
}

TEST(GlyphBlitter, PutsDownThePixelsTheContextWould) {
  struct Case {
    const char* name;
    float scale;
    std::function<void(cg::Context&)> setUp;
    bool direct;
  } cases[] = {
      {"plain", 1, [](cg::Context&) {}, true},
      {"translated by whole points", 1, [](cg::Context& c) { c.translate(7, -3); }, true},
      {"at scale 2", 2, [](cg::Context&) {}, true},
      {"clipped to a rectangle", 1, [](cg::Context& c) { c.clipToRect(cg::Rect(10, 5, 33, 40)); }, true},
      {"inside a transparency layer", 1,
       [](cg::Context& c) {
         c.clipToRect(cg::Rect(4, 4, 60, 50));
         c.beginTransparencyLayer();
       },
       true},
      // Direct, but each glyph off the pixel grid goes through the context.
      {"translated by half a point", 1, [](cg::Context& c) { c.translate(0.5f, 0); }, true},
      {"half transparent", 1, [](cg::Context& c) { c.setAlpha(0.5f); }, false},
      {"under a shadow", 1, [](cg::Context& c) { c.setShadow({2, -2}, 1); }, false},
      {"clipped to an ellipse", 1,
       [](cg::Context& c) {
         c.addEllipseInRect(cg::Rect(5, 5, 60, 40));
         c.clip();
       },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Bitmaps at the scale, placed at whole points; one stretched, one partly outside.
    auto a = glyph(int(12 * c.scale), int(20 * c.scale), 0x000000);
    auto b = glyph(int(9 * c.scale), int(14 * c.scale), 0x2080C0);
    std::vector<Placement> glyphs = {{a, 3, 4, 12, 20},  {b, 14, 10, 9, 14}, {a, 20, 25, 12, 20},
                                     {b, 30, 12, 20, 6}, {a, 72, 50, 12, 20}, {b, -4, -6, 9, 14}};
    bool direct = false;
    const bool layer = std::string(c.name) == "inside a transparency layer";
    auto mine = draw(c.setUp, glyphs, c.scale, layer, true, &direct);
    auto theirs = draw(c.setUp, glyphs, c.scale, layer, false);
    EXPECT_EQ(direct, c.direct);
    EXPECT_EQ(differingPixels(*mine, *theirs), 0);
  }
}

}  // namespace
