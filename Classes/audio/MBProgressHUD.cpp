#include "Classes/audio/MBProgressHUD.h"

#include <algorithm>
#include <cmath>

#include "Classes/audio/RoundProgressButton.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Thread.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"

std::shared_ptr<MBProgressHUD> MBProgressHUD::initWithView(ui::View& view) {
  return std::make_shared<MBProgressHUD>(view.bounds());
}

std::shared_ptr<MBProgressHUD> MBProgressHUD::showHUDAddedTo(ui::View& view, bool animated) {
  auto hud = initWithView(view);
  view.addSubview(hud);
  hud->show(animated);
  return hud;
}

bool MBProgressHUD::hideHUDForView(ui::View& view, bool animated) {
  for (auto it = view.subviews().rbegin(); it != view.subviews().rend(); ++it)
    if (auto hud = std::dynamic_pointer_cast<MBProgressHUD>(*it)) {
      hud->removeFromSuperViewOnHide = true;
      hud->hide(animated);
      return true;
    }
  return false;
}

MBProgressHUD::MBProgressHUD(cg::Rect frame) : ui::View(frame) {
  setAlpha(0);
  setOpaque(false);
  setBackgroundColor(cg::Color::clear());
  setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  for (auto* l : {&label_, &detailsLabel_}) {
    *l = std::make_shared<ui::Label>(cg::Rect(0, 0, 0, 0));
    (*l)->setTextColor(cg::Color::white());
    (*l)->setBackgroundColor(cg::Color::clear());
    (*l)->setTextAlignment(ui::TextAlignment::Center);
    (*l)->setHidden(true);
    addSubview(*l);
  }
  label_->setFont(ui::Font::boldSystemFontOfSize(16));
  detailsLabel_->setFont(ui::Font::boldSystemFontOfSize(12));
  updateIndicator();
}

template <class F>
void MBProgressHUD::onMain(F fn) {
  if (ns::isMainThread()) {
    fn();
    return;
  }
  auto self = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
  ns::RunLoop::main().post([self, fn] { fn(); });
}

void MBProgressHUD::setMode(int mode) {
  onMain([this, mode] {
    if (mode == mode_ && mode != Indeterminate) return;
    mode_ = mode;
    updateIndicator();
    setNeedsLayout();
  });
}

void MBProgressHUD::setLabelText(const std::string& text) {
  onMain([this, text] {
    labelText_ = text;
    setNeedsLayout();
  });
}

void MBProgressHUD::setDetailsLabelText(const std::string& text) {
  onMain([this, text] {
    detailsLabelText_ = text;
    setNeedsLayout();
  });
}

void MBProgressHUD::setProgress(float progress) {
  onMain([this, progress] {
    progress_ = progress;
    if (auto* round = dynamic_cast<MBRoundProgressView*>(indicator_.get())) round->setProgress(progress);
  });
}

void MBProgressHUD::updateIndicator() {
  if (indicator_) indicator_->removeFromSuperview();
  if (mode_ == Determinate) {
    indicator_ = std::make_shared<MBRoundProgressView>();
  } else if (mode_ == CustomView && customView_) {
    indicator_ = customView_;
  } else {
    auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    spinner->startAnimating();
    indicator_ = spinner;
  }
  addSubview(indicator_);
}

void MBProgressHUD::layoutSubviews() {
  cg::Rect b = bounds();
  cg::Rect ind = indicator_->frame();
  width_ = ind.width() + 2 * margin;
  height_ = ind.height() + 2 * margin;
  float ix = std::floor((b.width() - ind.width()) / 2) + xOffset;
  float iy = std::floor((b.height() - ind.height()) / 2) + yOffset;
  auto place = [&](ui::Label& label, const std::string& text) {
    label.setHidden(text.empty());
    if (text.empty()) return 0.0f;
    label.setText(text);
    cg::Size s = ui::sizeWithFont(text, label.font());
    float w = std::min(s.width, b.width() - 4 * margin);
    width_ = std::max(width_, w + 2 * margin);
    height_ += s.height + 4;
    iy -= std::floor(s.height / 2 + 2);
    return std::max(w, 0.0f);
  };
  float lw = place(*label_, labelText_);
  float dw = place(*detailsLabel_, detailsLabelText_);
  indicator_->setFrame(cg::Rect(ix, iy, ind.width(), ind.height()));
  float y = iy + ind.height() + 4;
  if (!labelText_.empty()) {
    float h = ui::sizeWithFont(labelText_, label_->font()).height;
    label_->setFrame(cg::Rect(std::floor((b.width() - lw) / 2) + xOffset, y, lw, h));
    y += h + 4;
  }
  if (!detailsLabelText_.empty()) {
    float h = ui::sizeWithFont(detailsLabelText_, detailsLabel_->font()).height;
    detailsLabel_->setFrame(cg::Rect(std::floor((b.width() - dw) / 2) + xOffset, y, dw, h));
  }
  width_ = std::max(width_, minSize.width);
  height_ = std::max(height_, minSize.height);
}

void MBProgressHUD::drawRect(cg::Context& c, cg::Rect) {
  cg::Rect b = bounds();
  if (dimBackground) {
    c.setFillColor(cg::Color::black().withAlpha(0.4f));
    c.fillRect(b);
  }
  cg::Rect box(std::round((b.width() - width_) / 2 + xOffset), std::round((b.height() - height_) / 2 + yOffset), width_,
               height_);
  c.setFillColor(cg::Color::black().withAlpha(opacity));
  c.beginPath();
  c.addRoundedRect(box, 10);
  c.fillPath();
}

void MBProgressHUD::show(bool animated) {
  useAnimation_ = animated;
  if (graceTime > 0) {
    std::weak_ptr<MBProgressHUD> weak = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
    graceTimer_ = ns::RunLoop::main().scheduleTimer(graceTime, false, [weak] {
      if (auto self = weak.lock(); self && self->taskInProgress_) self->showNow(self->useAnimation_);
    });
    return;
  }
  showNow(animated);
}

void MBProgressHUD::showNow(bool animated) {
  showing_ = true;
  showStarted_ = ns::Clock::current().now();
  setNeedsLayout();
  if (animated) {
    ui::View::beginAnimations("MBProgressHUDShow");
    ui::View::setAnimationDuration(0.3);
  }
  setAlpha(1);
  if (animated) ui::View::commitAnimations();
}

void MBProgressHUD::hide(bool animated) {
  useAnimation_ = animated;
  graceTimer_.invalidate();
  double shown = ns::Clock::current().now() - showStarted_;
  if (showing_ && minShowTime > 0 && shown < minShowTime) {
    std::weak_ptr<MBProgressHUD> weak = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
    minShowTimer_ = ns::RunLoop::main().scheduleTimer(minShowTime - shown, false, [weak] {
      if (auto self = weak.lock()) self->hideNow(self->useAnimation_);
    });
    return;
  }
  hideNow(animated);
}

void MBProgressHUD::hide(bool animated, double delay) {
  std::weak_ptr<MBProgressHUD> weak = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
  ns::RunLoop::main().performAfter(this, "hide", delay, [weak, animated] {
    if (auto self = weak.lock()) self->hide(animated);
  });
}

void MBProgressHUD::hideNow(bool animated) {
  if (animated && showing_) {
    std::weak_ptr<MBProgressHUD> weak = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
    ui::View::beginAnimations("MBProgressHUDHide");
    ui::View::setAnimationDuration(0.3);
    ui::View::setAnimationDelegate(weak);
    ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
      if (auto self = weak.lock()) self->done();
    });
    setAlpha(0.02f);
    ui::View::commitAnimations();
    return;
  }
  done();
}

void MBProgressHUD::done() {
  showing_ = false;
  setAlpha(0);
  auto self = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
  if (auto d = delegate.lock()) d->hudWasHidden(*this);
  if (removeFromSuperViewOnHide) removeFromSuperview();
}

void MBProgressHUD::showWhileExecuting(std::function<void()> work, bool animated) {
  taskInProgress_ = true;
  auto self = std::static_pointer_cast<MBProgressHUD>(shared_from_this());
  ns::Thread::detachNewThread("hud-task", [self, work = std::move(work), animated] {
    work();
    ns::RunLoop::main().post([self, animated] {
      self->taskInProgress_ = false;
      self->hide(animated);
    });
  });
  show(animated);
}
