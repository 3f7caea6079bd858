#pragma once
// A label that keeps its drawn text as a bitmap while the text, its look and
// its size stay the same: a scrolling table redraws every row each frame,
// and a translation need not be laid out again for each. A bitmap drawn
// ahead of time for the same text and look (a row about to come into view)
// can be handed to it through its source of prepared bitmaps.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Label.h"

namespace cg {
class Image;
}

class KeptTextLabel : public ui::Label {
 public:
  using ui::Label::Label;
  void drawRect(cg::Context& context, cg::Rect rect) override;

  // Everything the drawn bitmap depends on.
  struct Key {
    std::string text, font;
    float size = 0, width = 0, height = 0, scale = 0;
    cg::Color color;
    int alignment = 0, lines = 0;
    bool enabled = true, highlighted = false;
    friend bool operator==(const Key&, const Key&) = default;
  };
  Key keyAt(float scale) const;
  // The bitmap of the text as it stands, drawn at the scale unless kept (or
  // prepared) already; null for an empty label.
  std::shared_ptr<cg::Image> bitmapAt(float scale);
  // Lets the kept bitmap go (the label has left the screen).
  void dropBitmap() { bitmap_.reset(); }
  bool keepsBitmap() const { return bitmap_ != nullptr; }

  // Asked, before drawing, for a bitmap prepared for the key; null: none.
  using PreparedSource = std::function<std::shared_ptr<cg::Image>(const Key&)>;
  void setPreparedSource(PreparedSource source) { preparedSource_ = std::move(source); }

 private:
  std::shared_ptr<cg::Image> bitmap_;
  Key key_;
  PreparedSource preparedSource_;
};
