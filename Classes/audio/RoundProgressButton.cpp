#include "Classes/audio/RoundProgressButton.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/ui/ActivityIndicatorView.h"

void round_progress::draw(cg::Context& c, cg::Rect bounds, float progress) {
  cg::Rect r(bounds.x() + 2, bounds.y() + 2, bounds.width() - 4, bounds.height() - 4);
  c.setFillColor(cg::Color::white().withAlpha(0.1f));
  c.beginPath();
  c.addEllipseInRect(r);
  c.fillPath();
  c.setStrokeColor(cg::Color::white());
  c.setLineWidth(2);
  c.beginPath();
  c.addEllipseInRect(r);
  c.strokePath();
  float p = std::clamp(progress, 0.0f, 1.0f);
  if (p <= 0) return;
  cg::Point centre{r.x() + r.width() / 2, r.y() + r.height() / 2};
  float radius = (bounds.width() - 4) / 2;
  float start = -std::numbers::pi_v<float> / 2;
  c.setFillColor(cg::Color::white());
  c.beginPath();
  c.moveTo(centre);
  c.arc(centre, radius, start, start + p * 2 * std::numbers::pi_v<float>, true);
  c.closePath();
  c.fillPath();
}

MBRoundProgressView::MBRoundProgressView(cg::Rect frame) : ui::View(frame) {
  setBackgroundColor(cg::Color::clear());
  setOpaque(false);
}

void MBRoundProgressView::setProgress(float progress) {
  progress_ = std::isnan(progress) ? 0.0f : progress;
  setNeedsDisplay();
}

void MBRoundProgressView::drawRect(cg::Context& c, cg::Rect) { round_progress::draw(c, bounds(), progress_); }

RoundProgressButton::RoundProgressButton(cg::Rect frame) : ui::Button(frame) {
  setBackgroundColor(cg::Color::clear());
  setOpaque(false);
  spinner_ = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
  spinner_->setHidesWhenStopped(true);
  spinner_->setUserInteractionEnabled(false);
  addSubview(spinner_);
  layoutSubviews();
}

void RoundProgressButton::layoutSubviews() {
  ui::Button::layoutSubviews();
  if (!spinner_) return;
  float side = std::floor(bounds().width() * 0.3f);
  spinner_->setFrame(cg::Rect(std::floor((bounds().width() - side) / 2), std::floor((bounds().height() - side) / 2),
                              side, side));
}

void RoundProgressButton::setProgress(float progress) {
  progress_ = std::isnan(progress) ? 0.0f : progress;
  if (progress_ == 1.0f) spinner_->stopAnimating();
  else if (!spinner_->isAnimating()) spinner_->startAnimating();
  setNeedsDisplay();
}

void RoundProgressButton::drawRect(cg::Context& c, cg::Rect rect) {
  ui::Button::drawRect(c, rect);
  round_progress::draw(c, bounds(), progress_);
}
