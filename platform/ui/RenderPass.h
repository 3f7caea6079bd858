#pragma once
// One walk of a view tree into a context. A full pass draws everything; a
// culling pass, which a window's display makes, skips what lies outside the
// clip (in the surface's pixels) and what a later opaque view covers (an
// opaque background, alpha 1, upright). Internal to platform/ui.
#include <cstddef>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"

namespace cg {
class Context;
}

namespace ui {

class View;

class RenderPass {
 public:
  // The regions (pixels, inside clip) are where anything is wanted; a view
  // that meets none is skipped.
  RenderPass(cg::Context& context, bool cull, cg::Rect clip, std::vector<cg::Rect> regions = {});
  // Draws the view; the context's user space is its superview's, or its own
  // bounds space when it is the root.
  void draw(View& view, bool asRoot);

 private:
  struct Occluder {
    cg::Rect rect;  // pixels it paints over for sure
    std::size_t index;  // its place among its siblings
  };
  // clip: the pixels the clip touches; solid: those it leaves whole.
  void drawView(View& v, const cg::AffineTransform& toDevice, const cg::Rect& clip, const cg::Rect& solid,
                bool asRoot);
  bool occluded(const cg::Rect& r) const;
  bool shows(const cg::Rect& r) const;
  void pushOccluders(View& parent, const cg::AffineTransform& toDevice, const cg::Rect& clip);

  cg::Context& context_;
  bool cull_;
  cg::Rect clip_;
  std::vector<cg::Rect> regions_;
  std::vector<Occluder> occluders_;
};

}  // namespace ui
