#pragma once
// The drawing state handed down a style chain for one box: the graphics
// context drawn into, the outer frame, the content frame, the current shape
// (a plain rectangle until a shape step sets one), the font for text steps
// that carry none, and whether the content was drawn. Also the protocol of
// the object whose content the chain draws. Made for one drawing pass on the
// main thread and then dropped.
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"

namespace cg {
class Context;
}
namespace ui {
class Image;
}

class TKShape;
class TKStyle;
class TKStyleContext;

// Every operation is optional: the answers* methods say whether the delegate
// implements the operation beside them.
class TKStyleDelegate {
 public:
  virtual ~TKStyleDelegate() = default;
  virtual bool answersDrawLayer() const { return false; }
  virtual void drawLayer(TKStyleContext&, TKStyle&) {}
  virtual bool answersTextForLayer() const { return false; }
  virtual std::optional<std::string> textForLayerWithStyle(TKStyle&) { return std::nullopt; }
  virtual bool answersImageForLayer() const { return false; }
  virtual std::shared_ptr<ui::Image> imageForLayerWithStyle(TKStyle&) { return nullptr; }
};

class TKStyleContext {
 public:
  TKStyleContext() = default;
  explicit TKStyleContext(cg::Context* graphics) : graphics_(graphics) {}

  // The context the steps paint into; none while only measuring.
  cg::Context* graphics() const { return graphics_; }
  void setGraphics(cg::Context* graphics) { graphics_ = graphics; }

  TKStyleDelegate* delegate() const { return delegate_; }
  void setDelegate(TKStyleDelegate* delegate) { delegate_ = delegate; }
  cg::Rect frame() const { return frame_; }
  void setFrame(cg::Rect frame) { frame_ = frame; }
  cg::Rect contentFrame() const { return contentFrame_; }
  void setContentFrame(cg::Rect frame) { contentFrame_ = frame; }
  // Never none: an unset shape reads as the shared rectangle, kept from then on.
  const std::shared_ptr<TKShape>& shape();
  void setShape(std::shared_ptr<TKShape> shape) { shape_ = std::move(shape); }
  const std::optional<ui::Font>& font() const { return font_; }
  void setFont(std::optional<ui::Font> font) { font_ = std::move(font); }
  bool didDrawContent() const { return didDrawContent_; }
  void setDidDrawContent(bool did) { didDrawContent_ = did; }

 private:
  cg::Context* graphics_ = nullptr;
  TKStyleDelegate* delegate_ = nullptr;
  cg::Rect frame_, contentFrame_;
  std::shared_ptr<TKShape> shape_;
  std::optional<ui::Font> font_;
  bool didDrawContent_ = false;
};
