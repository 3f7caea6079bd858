#include "platform/ui/TextView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"

namespace ui {

namespace {
constexpr double kScrollDuration = 0.3;
constexpr double kScrollStep = 1.0 / 60;
constexpr float kTapSlop = 8;  // a touch that moves less is a tap
}  // namespace

TextView::TextView(cg::Rect frame) : View(frame) {
  editor_.setMultiline(true);
  editor_.setFont(Font::systemFontOfSize(12));
  editor_.setWraps(true, std::max(0.0f, frame.width() - 2 * kTextPadding));
  editor_.shouldChange = [this](ns::Range range, const std::string& text) {
    auto d = delegate();
    return !d || d->shouldChangeTextInRange(*this, range, text);
  };
  editor_.didChange = [this] { changed(); };
  setClipsToBounds(true);
  setBackgroundColor(cg::Color::white());
  updateContentSize();
}

TextView::~TextView() { scroller_.invalidate(); }

void TextView::setText(const std::string& text) {
  editor_.setText(text);
  updateContentSize();
  setNeedsLayout();
  setNeedsDisplay();
}

void TextView::setFont(const Font& font) {
  editor_.setFont(font);
  updateContentSize();
  setNeedsDisplay();
}

void TextView::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  editor_.setAlignment(alignment);
  setNeedsDisplay();
}

void TextView::setEditable(bool editable) {
  editable_ = editable;
  if (!editable && isFirstResponder()) resignFirstResponder();
}

void TextView::setSelectedRange(ns::Range range) {
  editor_.setSelectedRange(range);
  caretMoved();
}

// --- scrolling ------------------------------------------------------------------

cg::Point TextView::clampedOffset(cg::Point p) const {
  cg::Size b = bounds().size;
  float maxX = std::max(-contentInset_.left, contentSize_.width + contentInset_.right - b.width);
  float maxY = std::max(-contentInset_.top, contentSize_.height + contentInset_.bottom - b.height);
  return {std::clamp(p.x, -contentInset_.left, maxX), std::clamp(p.y, -contentInset_.top, maxY)};
}

void TextView::applyOffset(cg::Point p) {
  cg::Rect b = bounds();
  if (b.origin == p) return;
  setBounds(cg::Rect(p, b.size));
  setNeedsLayout();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->scrollViewDidScroll(*this);
}

void TextView::setContentOffset(cg::Point offset, bool animated) {
  scroller_.invalidate();
  cg::Point to = clampedOffset(offset);
  if (!animated) {
    applyOffset(to);
    return;
  }
  // Eases out over the run loop's clock, telling the delegate at each step.
  cg::Point from = contentOffset();
  double start = ns::Clock::current().now();
  std::weak_ptr<View> weak = weak_from_this();
  scroller_ = ns::RunLoop::main().scheduleTimer(kScrollStep, true, [this, weak, from, to, start](ns::Timer& t) {
    if (weak.expired()) return t.invalidate();
    double k = std::min(1.0, (ns::Clock::current().now() - start) / kScrollDuration);
    float e = static_cast<float>(1 - (1 - k) * (1 - k));
    applyOffset({from.x + (to.x - from.x) * e, from.y + (to.y - from.y) * e});
    if (k >= 1) t.invalidate();
  });
}

void TextView::setContentInset(cg::EdgeInsets inset) {
  contentInset_ = inset;
  applyOffset(clampedOffset(contentOffset()));
}

void TextView::scrollRangeToVisible(ns::Range range) {
  ns::Range keep = editor_.selectedRange();
  editor_.setSelectedRange({range.location, 0});
  cg::Rect r = editor_.caretRect().offsetBy(kTextPadding, kTextPadding);
  editor_.setSelectedRange(keep);
  cg::Point o = contentOffset();
  float h = bounds().height() - contentInset_.bottom;
  if (r.minY() < o.y + contentInset_.top) o.y = r.minY() - contentInset_.top;
  else if (r.maxY() > o.y + h) o.y = r.maxY() - h;
  applyOffset(clampedOffset(o));
}

void TextView::scrollCaretToVisible() {
  if (bounds().height() <= 0) return;
  scrollRangeToVisible(editor_.selectedRange());
}

// The text's height plus the padding, never less than the view.
void TextView::updateContentSize() {
  cg::Size text = editor_.contentSize();
  cg::Size size{bounds().width(), std::ceil(text.height + 2 * kTextPadding)};
  if (size == contentSize_) return;
  contentSize_ = size;
  if (contentSizeObserver_) contentSizeObserver_(size);
}

void TextView::setFrame(cg::Rect frame) {
  View::setFrame(frame);
  editor_.setWraps(true, std::max(0.0f, frame.width() - 2 * kTextPadding));
  updateContentSize();
}

// Lays out what is in view, so the content size is exact there before drawing.
void TextView::layoutSubviews() {
  editor_.layoutVisible(bounds().offsetBy(-kTextPadding, -kTextPadding));
  updateContentSize();
}

// --- editing ---------------------------------------------------------------------

void TextView::changed() {
  updateContentSize();
  scrollCaretToVisible();
  restartBlink();
  setNeedsLayout();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textViewDidChange(*this);
}

void TextView::caretMoved() {
  if (editing_) scrollCaretToVisible();
  restartBlink();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textViewDidChangeSelection(*this);
}

void TextView::restartBlink() { blink_.restart(*this, editing_); }

bool TextView::canBecomeFirstResponder() const {
  if (!editable_) return false;
  auto d = delegate();
  return !d || d->textViewShouldBeginEditing(const_cast<TextView&>(*this));
}

bool TextView::canResignFirstResponder() const {
  auto d = delegate();
  return !d || d->textViewShouldEndEditing(const_cast<TextView&>(*this));
}

void TextView::didBecomeFirstResponder() {
  editing_ = true;
  restartBlink();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textViewDidBeginEditing(*this);
}

void TextView::didResignFirstResponder() {
  editor_.unmarkText();
  editing_ = false;
  restartBlink();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textViewDidEndEditing(*this);
}

void TextView::keyDown(const KeyEvent& key) {
  if (!editing_) return View::keyDown(key);
  ns::Range before = editor_.selectedRange();
  if (!editor_.handleKey(key)) return View::keyDown(key);
  if (!(editor_.selectedRange() == before)) caretMoved();
}

void TextView::insertText(const std::string& text) {
  if (editing_) editor_.insertText(text);
}

void TextView::setMarkedText(const std::string& text, int cursor) {
  if (!editing_) return;
  editor_.setMarkedText(text, cursor);
  scrollCaretToVisible();
  restartBlink();
}

// --- touches ---------------------------------------------------------------------

void TextView::touchesBegan(const TouchSet& touches, const Event&) {
  if (touches.empty()) return;
  scroller_.invalidate();
  touchStart_ = touches.front()->locationInWindow();
  offsetAtTouch_ = contentOffset();
  touchMoved_ = false;
  touchSelects_ = editing_;
  if (touchSelects_) {
    editor_.setCaretAtPoint(toText(touches.front()->locationInView(this)), false);
    caretMoved();
  }
}

void TextView::touchesMoved(const TouchSet& touches, const Event&) {
  if (touches.empty()) return;
  cg::Point p = touches.front()->locationInWindow();
  if (std::hypot(p.x - touchStart_.x, p.y - touchStart_.y) > kTapSlop) touchMoved_ = true;
  if (touchSelects_) {
    editor_.setCaretAtPoint(toText(touches.front()->locationInView(this)), true);
    caretMoved();
  } else if (scrollEnabled_ && touchMoved_) {
    applyOffset(clampedOffset({offsetAtTouch_.x, offsetAtTouch_.y - (p.y - touchStart_.y)}));
  }
}

void TextView::touchesEnded(const TouchSet& touches, const Event&) {
  if (touches.empty() || touchSelects_ || touchMoved_) return;
  // A tap begins editing at the tapped place.
  if (!editable_ || !becomeFirstResponder()) return;
  editor_.setCaretAtPoint(toText(touches.front()->locationInView(this)), false);
  caretMoved();
}

void TextView::touchesCancelled(const TouchSet&, const Event&) { touchMoved_ = true; }

// --- drawing ---------------------------------------------------------------------

cg::Rect TextView::caretRect() { return editor_.caretRect().offsetBy(kTextPadding, kTextPadding); }

void TextView::drawRect(cg::Context& context, cg::Rect) {
  context.save();
  context.translate(kTextPadding, kTextPadding);
  editor_.draw(context, bounds().offsetBy(-kTextPadding, -kTextPadding), textColor_, editing_);
  context.restore();
  if (editing_ && !editor_.hasSelection()) blink_.draw(context, caretRect());
}

}  // namespace ui
