#include "Classes/shell/View+FindAndResignFirstResponder.h"

namespace ui {

bool findAndResignFirstResponder(View& view) {
  if (view.isFirstResponder()) {
    view.resignFirstResponder();
    return true;
  }
  auto subviews = view.subviews();  // resigning may change the tree
  for (auto& sub : subviews)
    if (findAndResignFirstResponder(*sub)) return true;
  return false;
}

}  // namespace ui
