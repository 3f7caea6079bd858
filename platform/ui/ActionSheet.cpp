#include "platform/ui/ActionSheet.h"

#include <algorithm>

namespace ui {

ActionSheet::ActionSheet(const std::string& title, std::weak_ptr<ActionSheetDelegate> delegate,
                         const std::string& cancelButtonTitle,
                         const std::string& destructiveButtonTitle,
                         const std::vector<std::string>& otherButtonTitles)
    : DelegatingButtonPanel(title, "", std::move(delegate)) {
  if (!destructiveButtonTitle.empty())
    destructiveButtonIndex_ = addButtonWithTitle(destructiveButtonTitle);
  for (const auto& t : otherButtonTitles) addButtonWithTitle(t);
  if (!cancelButtonTitle.empty()) cancelButtonIndex_ = addButtonWithTitle(cancelButtonTitle);
}

void ActionSheet::showInView(View* view) {
  anchor_.reset();
  enqueue(view);
}

void ActionSheet::showFromRect(cg::Rect rect, View* view, bool) {
  anchor_ = view ? view->convertRectToView(rect, nullptr) : rect;
  enqueue(view);
}

void ActionSheet::tappedOutside() { tapButtonAtIndex(cancelButtonIndex_); }

void ActionSheet::notifyWillPresent() {
  if (auto d = delegate()) d->willPresentActionSheet(*this);
}
void ActionSheet::notifyDidPresent() {
  if (auto d = delegate()) d->didPresentActionSheet(*this);
}

const ButtonPanel::Style& ActionSheet::style() const {
  static const Style s{
      300,
      cg::Color(0.12f, 0.13f, 0.16f, 0.95f),  // dark popover frame
      cg::Color(0.55f, 0.57f, 0.62f, 1),
      cg::Color(0.80f, 0.82f, 0.86f, 1),
      cg::Color(0.80f, 0.82f, 0.86f, 1),
      cg::Color(0.95f, 0.95f, 0.96f, 1),
      cg::Color(0.10f, 0.10f, 0.12f, 1),
      cg::Color(0.30f, 0.32f, 0.36f, 1),
      cg::Color(0.80f, 0.14f, 0.14f, 1),
      cg::Color(0, 0, 0, 0.15f),
      false,
      14,
      false,
  };
  return s;
}

cg::Rect ActionSheet::placement(cg::Size size, const cg::Rect& host, const cg::Rect& window) const {
  cg::Rect r(host.midX() - size.width / 2, host.midY() - size.height / 2, size.width, size.height);
  if (anchor_) {
    r.origin.x = anchor_->midX() - size.width / 2;
    r.origin.y = anchor_->maxY() + 6;
    if (r.maxY() > window.maxY()) r.origin.y = anchor_->minY() - 6 - size.height;
  }
  r.origin.x = std::clamp(r.origin.x, window.minX(), std::max(window.minX(), window.maxX() - size.width));
  r.origin.y = std::clamp(r.origin.y, window.minY(), std::max(window.minY(), window.maxY() - size.height));
  return r;
}

}  // namespace ui
