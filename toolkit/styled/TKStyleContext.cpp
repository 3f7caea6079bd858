#include "toolkit/styled/TKStyleContext.h"

#include "toolkit/styled/TKShape.h"

const std::shared_ptr<TKShape>& TKStyleContext::shape() {
  if (!shape_) shape_ = TKRectangleShape::shape();
  return shape_;
}
