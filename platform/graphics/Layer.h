#pragma once
// An offscreen drawing surface of a given size and scale, drawn into other
// contexts by copying (glyph layers, tinted glyphs, cached verse images).
#include <memory>

#include "platform/graphics/Context.h"

namespace cg {

class Layer {
 public:
  // Nothing when the size is empty or absurd.
  static std::shared_ptr<Layer> create(Size size, Float scale = 1);

  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  Size size() const { return size_; }  // points
  Float scale() const { return context_.scale(); }
  Context& context() { return context_; }
  cairo_surface_t* surface() const;
  int pixelWidth() const { return context_.pixelWidth(); }
  int pixelHeight() const { return context_.pixelHeight(); }

  void drawInContext(Context& ctx, Point at) const { ctx.drawLayer(*this, at); }
  void drawInContext(Context& ctx, const Rect& rect) const { ctx.drawLayer(*this, rect); }
  std::shared_ptr<Image> makeImage() { return context_.makeImage(); }

 private:
  Layer(Size size, Context ctx) : size_(size), context_(std::move(ctx)) {}
  Size size_;
  Context context_;
};

}  // namespace cg
