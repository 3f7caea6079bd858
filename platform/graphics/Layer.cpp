#include "platform/graphics/Layer.h"

namespace cg {

std::shared_ptr<Layer> Layer::create(Size size, Float scale) {
  if (!(size.width > 0) || !(size.height > 0)) return nullptr;
  Context ctx = Context::bitmap(size.width, size.height, scale);
  if (ctx.pixelWidth() <= 0 || ctx.pixelHeight() <= 0) return nullptr;
  return std::shared_ptr<Layer>(new Layer(size, std::move(ctx)));
}

cairo_surface_t* Layer::surface() const {
  cairo_surface_t* s = cairo_get_target(context_.cairo());
  cairo_surface_flush(s);
  return s;
}

}  // namespace cg
