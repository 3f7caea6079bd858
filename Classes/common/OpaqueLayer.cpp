#include "Classes/common/OpaqueLayer.h"

OpaqueLayer::OpaqueLayer(cg::Rect frame) : ui::View(frame) {
  setAlpha(0);
  setBackgroundColor(cg::Color::black());
  setUserInteractionEnabled(false);
}

void OpaqueLayer::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  if (auto d = delegate()) d->hideOpaqueView();
  ui::View::touchesEnded(touches, event);
}
