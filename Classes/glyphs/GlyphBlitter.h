#pragma once
// Draws the glyph bitmaps of one verse into a canvas. A glyph copied pixel for
// pixel (its bitmap at the canvas's scale, at a whole device pixel) onto a
// bitmap canvas, under a clip of one rectangle, with plain blending, no
// transparency and no shadow, is composited straight into the canvas's pixels
// as the context would composite it (source over); every other glyph goes
// through the context. Lives for one drawing pass, on the drawing thread.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/graphics/Image.h"

namespace cg {
class Context;
}
typedef union pixman_image pixman_image_t;
typedef struct _cairo_surface cairo_surface_t;

class GlyphBlitter {
 public:
  // What is kept of each glyph image from one pass to the next: its pixels as
  // pixman reads them and the box of its ink (only that is composited). The
  // images are held, so a kept entry never outlives its pixels.
  class Sources {
   public:
    Sources() = default;
    ~Sources();
    Sources(const Sources&) = delete;
    Sources& operator=(const Sources&) = delete;

   private:
    friend class GlyphBlitter;
    struct Source {
      std::shared_ptr<cg::Image> image;
      pixman_image_t* pixels = nullptr;  // null: not composited directly
      int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the ink, in pixels
    };
    const Source& sourceFor(const std::shared_ptr<cg::Image>& image);
    std::unordered_map<cairo_surface_t*, Source> sources_;
  };

  GlyphBlitter(cg::Context& context, Sources& sources);
  ~GlyphBlitter();
  GlyphBlitter(const GlyphBlitter&) = delete;
  GlyphBlitter& operator=(const GlyphBlitter&) = delete;

  // The image over the rectangle (x, y, w, h) in points; nothing when w or h is 0.
  void draw(const std::shared_ptr<cg::Image>& image, float x, float y, float w, float h);

  // Whether glyphs go straight into the canvas's pixels (tests).
  bool isDirect() const { return target_ != nullptr; }

 private:
  bool blit(const std::shared_ptr<cg::Image>& image, float x, float y, float w, float h);
  // Tells the canvas which of its pixels were written behind its back.
  void handBack();

  cg::Context& context_;
  Sources& sources_;
  cairo_surface_t* surface_ = nullptr;
  pixman_image_t* target_ = nullptr;
  double scale_ = 1, originX_ = 0, originY_ = 0;  // device pixel = point * scale + origin
  int clipX0_ = 0, clipY0_ = 0, clipX1_ = 0, clipY1_ = 0;
  int dirtyX0_ = INT32_MAX, dirtyY0_ = INT32_MAX, dirtyX1_ = -1, dirtyY1_ = -1;
};
