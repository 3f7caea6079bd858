#include "platform/ui/ButtonPanel.h"

#include <algorithm>
#include <deque>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr float kPadding = 16;
constexpr float kGap = 8;
constexpr float kButtonHeight = 43;
constexpr float kCornerRadius = 10;
constexpr double kFadeDuration = 0.2;

struct PanelQueue {
  std::shared_ptr<ButtonPanel> current;
  std::deque<std::shared_ptr<ButtonPanel>> waiting;
  static PanelQueue& get() {
    static PanelQueue q;
    return q;
  }
};

Font panelTitleFont(const ButtonPanel::Style& s) {
  return s.titleBold ? Font::boldSystemFontOfSize(s.titleSize) : Font::systemFontOfSize(s.titleSize);
}

}  // namespace

// Covers the window behind a panel: dims it, keeps touches from the views
// under it and reports taps outside the panel.
class ButtonPanel::Overlay : public View {
 public:
  Overlay(cg::Rect frame, ButtonPanel* panel) : View(frame), panel_(panel) {}
  void touchesEnded(const TouchSet&, const Event&) override {
    if (panel_) panel_->tappedOutside();
  }
  void touchesBegan(const TouchSet&, const Event&) override {}
  void touchesMoved(const TouchSet&, const Event&) override {}
  void touchesCancelled(const TouchSet&, const Event&) override {}
  ButtonPanel* panel_;  // the panel is a subview of the overlay and outlives it here
};

ButtonPanel::ButtonPanel(std::string title, std::string message)
    : title_(std::move(title)), message_(std::move(message)) {
  setOpaque(false);
}

ButtonPanel::~ButtonPanel() = default;

int ButtonPanel::addButtonWithTitle(const std::string& title) {
  buttons_.push_back(title);
  setNeedsDisplay();
  return numberOfButtons() - 1;
}

std::string ButtonPanel::buttonTitleAtIndex(int index) const {
  return index >= 0 && index < numberOfButtons() ? buttons_[static_cast<size_t>(index)] : "";
}

int ButtonPanel::firstOtherButtonIndex() const {
  for (int i = 0; i < numberOfButtons(); ++i)
    if (i != cancelButtonIndex_ && i != destructiveButtonIndex_) return i;
  return -1;
}

ButtonPanel* ButtonPanel::visiblePanel() { return PanelQueue::get().current.get(); }
size_t ButtonPanel::queuedCount() { return PanelQueue::get().waiting.size(); }

void ButtonPanel::resetForTesting() {
  auto& q = PanelQueue::get();
  if (q.current) {
    if (auto overlay = q.current->overlay_.lock()) overlay->removeFromSuperview();
    q.current->removeFromSuperview();
    q.current->visible_ = false;
  }
  q.current.reset();
  q.waiting.clear();
}

// --- queue and presentation ---------------------------------------------------

void ButtonPanel::enqueue(View* host) {
  auto self = std::static_pointer_cast<ButtonPanel>(shared_from_this());
  auto& q = PanelQueue::get();
  if (q.current == self || std::find(q.waiting.begin(), q.waiting.end(), self) != q.waiting.end())
    return;
  host_ = host ? host->weak_from_this() : std::weak_ptr<View>();
  if (q.current) {
    q.waiting.push_back(self);
    return;
  }
  q.current = self;
  present();
}

void ButtonPanel::present() {
  auto host = host_.lock();
  Window* window = host ? host->window() : nullptr;
  if (!window) window = Window::keyWindow();
  notifyWillPresent();
  dismissing_ = false;
  pressed_ = -1;
  visible_ = true;
  layoutPanel();
  if (window) {
    cg::Rect wb = window->bounds();
    auto overlay = std::make_shared<Overlay>(wb, this);
    overlay->setBackgroundColor(style().dimming);
    overlay->setOpaque(false);
    cg::Rect hostRect =
        host && host->window() == window ? host->convertRectToView(host->bounds(), nullptr) : wb;
    setFrame(placement(frame().size, hostRect, wb).integral());
    overlay->addSubview(shared_from_this());
    window->cancelAllTouches();
    window->addSubview(overlay);
    overlay_ = overlay;
  }
  notifyDidPresent();
}

void ButtonPanel::tapButtonAtIndex(int index) {
  if (!visible_ || dismissing_) return;
  auto keep = shared_from_this();
  notifyClicked(index);
  if (visible_ && !dismissing_) beginDismissal(index, true);
}

void ButtonPanel::dismissWithClickedButtonIndex(int index, bool animated) {
  auto& q = PanelQueue::get();
  auto self = shared_from_this();
  auto it = std::find(q.waiting.begin(), q.waiting.end(), self);
  if (it != q.waiting.end()) {
    q.waiting.erase(it);
    return;
  }
  if (!visible_ || dismissing_) return;
  beginDismissal(index, animated);
}

void ButtonPanel::beginDismissal(int index, bool animated) {
  dismissing_ = true;
  notifyWillDismiss(index);
  auto overlay = overlay_.lock();
  if (!animated || !overlay || !View::areAnimationsEnabled()) {
    finishDismissal(index);
    return;
  }
  auto self = std::static_pointer_cast<ButtonPanel>(shared_from_this());
  View::beginAnimations("ButtonPanelDismiss");
  View::setAnimationDuration(kFadeDuration);
  View::setAnimationDidStopSelector(
      [self, index](const std::string&, bool, void*) { self->finishDismissal(index); });
  overlay->setAlpha(0);
  View::commitAnimations();
}

void ButtonPanel::finishDismissal(int index) {
  if (!visible_) return;
  auto self = std::static_pointer_cast<ButtonPanel>(shared_from_this());
  if (auto overlay = overlay_.lock()) overlay->removeFromSuperview();
  removeFromSuperview();
  overlay_.reset();
  visible_ = false;
  auto& q = PanelQueue::get();
  if (q.current == self) q.current.reset();
  notifyDidDismiss(index);
  // The next panel waits until the delegate has heard of this one's end.
  if (!q.current && !q.waiting.empty()) {
    q.current = q.waiting.front();
    q.waiting.pop_front();
    q.current->present();
  }
}

// --- layout and drawing ---------------------------------------------------------

void ButtonPanel::layoutPanel() {
  const Style& s = style();
  float inner = s.width - 2 * kPadding;
  float y = kPadding;
  cg::Size big{inner, 2000};
  if (!title_.empty()) y += sizeWithFont(title_, panelTitleFont(s), big).height + kGap;
  if (!message_.empty()) y += sizeWithFont(message_, Font::systemFontOfSize(16), big).height + kGap;
  textHeight_ = y;
  y += kGap;
  buttonRects_.clear();
  size_t n = buttons_.size();
  if (n == 2 && s.buttonsSideBySideWhenTwo) {
    float w = (inner - kGap) / 2;
    buttonRects_.push_back(cg::Rect(kPadding, y, w, kButtonHeight));
    buttonRects_.push_back(cg::Rect(kPadding + w + kGap, y, w, kButtonHeight));
    y += kButtonHeight + kGap;
  } else {
    for (size_t i = 0; i < n; ++i) {
      buttonRects_.push_back(cg::Rect(kPadding, y, inner, kButtonHeight));
      y += kButtonHeight + kGap;
    }
  }
  y += kPadding - kGap;
  setFrame(cg::Rect(frame().origin, cg::Size{s.width, y}));
}

int ButtonPanel::buttonIndexAtPoint(cg::Point p) const {
  for (size_t i = 0; i < buttonRects_.size(); ++i)
    if (buttonRects_[i].contains(p)) return static_cast<int>(i);
  return -1;
}

cg::Rect ButtonPanel::buttonRectAtIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(buttonRects_.size())) return cg::Rect();
  return buttonRects_[static_cast<size_t>(index)];
}

void ButtonPanel::drawRect(cg::Context& ctx, cg::Rect rect) {
  const Style& s = style();
  ctx.setShadow({0, -4}, 12,  // falls below the panel
                cg::Color(0, 0, 0, 0.5f));
  ctx.setFillColor(s.fill);
  ctx.beginPath();
  ctx.addRoundedRect(rect.insetBy(1, 1), kCornerRadius);
  ctx.fillPath();
  ctx.clearShadow();
  ctx.setStrokeColor(s.border);
  ctx.setLineWidth(2);
  ctx.beginPath();
  ctx.addRoundedRect(rect.insetBy(1, 1), kCornerRadius);
  ctx.strokePath();

  float inner = rect.width() - 2 * kPadding;
  float y = kPadding;
  if (!title_.empty()) {
    cg::Rect r(kPadding, y, inner, 2000);
    y += drawTextInRect(ctx, title_, r, panelTitleFont(s), s.titleColor, TextAlignment::Center).height +
         kGap;
  }
  if (!message_.empty()) {
    cg::Rect r(kPadding, y, inner, 2000);
    drawTextInRect(ctx, message_, r, Font::systemFontOfSize(16), s.messageColor, TextAlignment::Center);
  }
  for (size_t i = 0; i < buttonRects_.size() && i < buttons_.size(); ++i) {
    int index = static_cast<int>(i);
    cg::Color fill = index == destructiveButtonIndex_ ? s.destructiveFill
                     : index == cancelButtonIndex_    ? s.cancelFill
                                                      : s.buttonFill;
    if (index == pressed_) fill = cg::Color(fill.r * 0.7f, fill.g * 0.7f, fill.b * 0.7f, fill.a);
    const cg::Rect& b = buttonRects_[i];
    ctx.setFillColor(fill);
    ctx.beginPath();
    ctx.addRoundedRect(b, 6);
    ctx.fillPath();
    Font font = Font::boldSystemFontOfSize(17);
    float h = sizeWithFont(buttons_[i], font).height;
    bool dark = index == destructiveButtonIndex_ || index == cancelButtonIndex_;
    cg::Color text = dark ? cg::Color::white() : s.buttonText;
    drawTextInRect(ctx, buttons_[i], cg::Rect(b.x() + 4, b.midY() - h / 2, b.width() - 8, h + 2),
                   font, text, TextAlignment::Center, LineBreakMode::TruncateTail);
  }
}

// --- touches -------------------------------------------------------------------

void ButtonPanel::touchesBegan(const TouchSet& t, const Event&) {
  pressed_ = buttonIndexAtPoint(t.front()->locationInView(this));
  setNeedsDisplay();
}

void ButtonPanel::touchesMoved(const TouchSet& t, const Event&) {
  int now = buttonIndexAtPoint(t.front()->locationInView(this));
  if (now != pressed_ && pressed_ != -1) {
    pressed_ = -1;
    setNeedsDisplay();
  }
}

void ButtonPanel::touchesEnded(const TouchSet& t, const Event&) {
  int index = buttonIndexAtPoint(t.front()->locationInView(this));
  bool hit = index >= 0 && index == pressed_;
  pressed_ = -1;
  setNeedsDisplay();
  if (hit) tapButtonAtIndex(index);
}

void ButtonPanel::touchesCancelled(const TouchSet&, const Event&) {
  pressed_ = -1;
  setNeedsDisplay();
}

}  // namespace ui
