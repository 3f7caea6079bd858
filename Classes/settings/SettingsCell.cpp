#include "Classes/settings/SettingsCell.h"

#include <cmath>

#include "Classes/common/ScreenSupport.h"

namespace {

constexpr float kMargin = 10;

}  // namespace

void SettingsCell::setAccessoryView(std::shared_ptr<ui::View> view) {
  if (accessory_ == view) return;
  if (accessory_ && accessory_->superview() == contentView().get()) accessory_->removeFromSuperview();
  accessory_ = std::move(view);
  if (accessory_) contentView()->addSubview(accessory_);
  setNeedsLayout();
  layoutSubviews();
}

void SettingsCell::layoutSubviews() {
  ui::TableViewCell::layoutSubviews();
  if (imageAtItsSize_ && imageView()->image()) {
    cg::Rect c = contentView()->bounds();
    cg::Size s = imageView()->image()->size();
    float w = std::min(s.width, c.width() - 2 * kMargin), h = std::min(s.height, c.height());
    imageView()->setFrame(cg::Rect(kMargin, std::floor((c.height() - h) / 2), w, h));
  }
  if (!accessory_ || accessory_->superview() != contentView().get()) return;
  cg::Rect c = contentView()->bounds();
  cg::Rect a = accessory_->frame();
  float x = c.width() - a.width() - kMargin;
  accessory_->setFrame(cg::Rect(x, std::floor((c.height() - a.height()) / 2), a.width(), a.height()));
  // The texts end before the control.
  for (ui::View* label : {static_cast<ui::View*>(textLabel()), static_cast<ui::View*>(detailTextLabel())}) {
    if (!label) continue;
    cg::Rect f = label->frame();
    if (f.maxX() > x - kMargin) label->setFrame(cg::Rect(f.x(), f.y(), std::max(0.0f, x - kMargin - f.x()), f.height()));
  }
}

std::shared_ptr<ui::Switch> makeSettingSwitch(const void* target, bool on, std::function<void()> action) {
  auto control = std::make_shared<ui::Switch>(cg::Rect(193, 8, 50, 35));
  control->setBackgroundColor(cg::Color::clear());
  control->setOn(on);
  control->setTitles(screens::localized("ON"), screens::localized("OFF"));
  control->addTarget(target, [action = std::move(action)](ui::Control&) { action(); }, ui::ControlEventValueChanged);
  return control;
}

