#include "platform/ui/PageControl.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"

namespace ui {

namespace {
constexpr float kDot = 7;
constexpr float kSpacing = 16;  // from one dot's left edge to the next one's
}  // namespace

void PageControl::setNumberOfPages(int pages) {
  pages_ = std::max(0, pages);
  setCurrentPage(current_);
  displayed_ = current_;
}

void PageControl::setCurrentPage(int page) {
  current_ = std::clamp(page, 0, std::max(0, pages_ - 1));
  displayed_ = current_;
  setNeedsDisplay();
}

void PageControl::updateCurrentPageDisplay() {
  displayed_ = current_;
  setNeedsDisplay();
}

cg::Size PageControl::sizeForNumberOfPages(int pages) const {
  return {pages > 0 ? float(pages - 1) * kSpacing + kDot : 0, 36};
}

void PageControl::endTracking(const Touch& touch) {
  if (!isTouchInside() || pages_ < 2) return;
  float x = touch.locationInView(this).x;
  float dotsLeft = (bounds().width() - sizeForNumberOfPages(pages_).width) / 2;
  float currentMid = dotsLeft + float(displayed_) * kSpacing + kDot / 2;
  int page = std::clamp(current_ + (x < currentMid ? -1 : 1), 0, pages_ - 1);
  if (page == current_) return;
  current_ = page;
  if (!defers_) displayed_ = page;
  setNeedsDisplay();
  sendActionsForControlEvents(ControlEventValueChanged);
}

void PageControl::drawRect(cg::Context& context, cg::Rect) {
  if (pages_ == 0 || (pages_ == 1 && hidesForSinglePage_)) return;
  cg::Rect b = bounds();
  float left = std::floor((b.width() - sizeForNumberOfPages(pages_).width) / 2);
  float top = std::floor((b.height() - kDot) / 2);
  for (int i = 0; i < pages_; ++i) {
    context.setFillColor(cg::Color::white().withAlpha(i == displayed_ ? 1.0f : 0.3f));
    context.fillEllipseInRect(cg::Rect(left + float(i) * kSpacing, top, kDot, kDot));
  }
}

}  // namespace ui
