#pragma once
// A label that keeps its drawn text as a bitmap while the text, its look and
// its size stay the same: a scrolling table redraws every row each frame,
// and a translation need not be laid out again for each.
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

 private:
  struct Key {
    std::string text, font;
    float size = 0, width = 0, height = 0, scale = 0;
    cg::Color color;
    int alignment = 0, lines = 0;
    bool enabled = true, highlighted = false;
    friend bool operator==(const Key&, const Key&) = default;
  };
  std::shared_ptr<cg::Image> bitmap_;
  Key key_;
};
