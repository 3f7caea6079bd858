#include "platform/ui/TextView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"

namespace ui {

TextView::TextView(cg::Rect frame) : ScrollView(frame) {
  editor_.setMultiline(true);
  editor_.setFont(Font::systemFontOfSize(12));
  editor_.setWraps(true, std::max(0.0f, frame.width() - 2 * kTextPadding));
  editor_.shouldChange = [this](ns::Range range, const std::string& text) {
    auto d = delegate();
    return !d || d->shouldChangeTextInRange(*this, range, text);
  };
  editor_.didChange = [this] { changed(); };
  setBackgroundColor(cg::Color::white());
  updateContentSize();
}

void TextView::setDelegate(std::weak_ptr<TextViewDelegate> delegate) {
  textDelegate_ = delegate;
  ScrollView::setDelegate(delegate);
}

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

void TextView::setLineHeight(float points) {
  editor_.setLineHeight(points);
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

void TextView::scrollRangeToVisible(ns::Range range) {
  ns::Range keep = editor_.selectedRange();
  editor_.setSelectedRange({range.location, 0});
  cg::Rect r = editor_.caretRect().offsetBy(kTextPadding, kTextPadding);
  editor_.setSelectedRange(keep);
  scrollRectToVisible(cg::Rect(contentOffset().x, r.y(), 1, r.height()), false);
}

void TextView::scrollCaretToVisible() {
  if (bounds().height() <= 0) return;
  cg::Rect r = caretRect();
  scrollRectToVisible(cg::Rect(contentOffset().x, r.y(), 1, r.height()), false);
}

// The text's height plus the padding, never less than the view.
void TextView::updateContentSize() {
  cg::Size text = editor_.contentSize();
  cg::Size size{bounds().width(), std::ceil(text.height + 2 * kTextPadding)};
  if (size == contentSize()) return;
  setContentSize(size);
  if (contentSizeObserver_) contentSizeObserver_(size);
}

void TextView::setFrame(cg::Rect frame) {
  ScrollView::setFrame(frame);
  editor_.setWraps(true, std::max(0.0f, frame.width() - 2 * kTextPadding));
  updateContentSize();
}

// Lays out what is in view, so the content size is exact there before drawing.
void TextView::layoutSubviews() {
  ScrollView::layoutSubviews();
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

bool TextView::undo() {
  if (!editor_.undo()) return false;
  caretMoved();
  return true;
}

bool TextView::redo() {
  if (!editor_.redo()) return false;
  caretMoved();
  return true;
}

void TextView::setSecureTextEntry(bool secure) {
  TextInputTraits::setSecureTextEntry(secure);
  editor_.setSecure(secure);
  updateContentSize();
  setNeedsDisplay();
}

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
  if (!editing_) return;  // moved on before it began (a delegate chose another)
  editor_.unmarkText();
  editing_ = false;
  restartBlink();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textViewDidEndEditing(*this);
}

void TextView::keyDown(const KeyEvent& key) {
  if (!editing_) return ScrollView::keyDown(key);
  if (key.key == "PageUp" || key.key == "PageDown") return movePage(key.key == "PageDown" ? 1 : -1, key.modifiers);
  if (key.key == "Tab" && !key.modifiers) return insertText("\t");
  TextPosition caret = editor_.caret(), anchor = editor_.anchor();
  if (!editor_.handleKey(key)) return ScrollView::keyDown(key);
  if (!(editor_.caret() == caret && editor_.anchor() == anchor)) caretMoved();
}

// A page up or down: the text scrolls by the view's height less a line, and
// the caret keeps its place on the screen (Shift extends the selection).
void TextView::movePage(int direction, unsigned modifiers) {
  float page = std::max(0.0f, bounds().height() - std::ceil(font().lineHeight()));
  cg::Rect caret = caretRect();
  cg::Point to{caret.x(), caret.midY() + page * float(direction)};
  editor_.setCaretAtPoint(toText(to), modifiers & KeyModifierShift);
  float maxY = std::max(minimumContentOffset().y, maximumContentOffset().y);
  float y = std::clamp(contentOffset().y + page * float(direction), minimumContentOffset().y, maxY);
  setContentOffset({contentOffset().x, y});
  caretMoved();
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
  touchCancelled_ = false;
  touchSelects_ = editing_;
  if (!touchSelects_) return;
  scrollEnabledBeforeTouch_ = isScrollEnabled();
  setScrollEnabled(false);
  // A second tap selects the word under it.
  cg::Point p = toText(touches.front()->locationInView(this));
  if (touches.front()->tapCount() == 2) editor_.selectWordAtPoint(p);
  else editor_.setCaretAtPoint(p, false);
  caretMoved();
}

void TextView::touchesMoved(const TouchSet& touches, const Event&) {
  if (touches.empty() || !touchSelects_ || touches.front()->tapCount() == 2) return;
  editor_.setCaretAtPoint(toText(touches.front()->locationInView(this)), true);
  caretMoved();
}

void TextView::touchesEnded(const TouchSet& touches, const Event&) {
  if (touchSelects_) {
    touchSelects_ = false;
    setScrollEnabled(scrollEnabledBeforeTouch_);
    return;
  }
  // A tap (a touch the scrolling did not take) begins editing there.
  if (touches.empty() || touchCancelled_ || touchStoppedScrolling()) return;
  if (!editable_ || !becomeFirstResponder()) return;
  editor_.setCaretAtPoint(toText(touches.front()->locationInView(this)), false);
  caretMoved();
}

void TextView::touchesCancelled(const TouchSet&, const Event&) {
  touchCancelled_ = true;
  if (touchSelects_) setScrollEnabled(scrollEnabledBeforeTouch_);
  touchSelects_ = false;
}

// --- drawing ---------------------------------------------------------------------

cg::Rect TextView::textInputRect() const {
  // Measuring the caret lays text out, which the const view allows itself.
  auto* self = const_cast<TextView*>(this);
  return convertRectToView(self->caretRect(), nullptr);
}

cg::Rect TextView::caretRect() { return editor_.caretRect().offsetBy(kTextPadding, kTextPadding); }

void TextView::drawRect(cg::Context& context, cg::Rect) {
  context.save();
  context.translate(kTextPadding, kTextPadding);
  editor_.draw(context, bounds().offsetBy(-kTextPadding, -kTextPadding), textColor_, editing_);
  context.restore();
  if (editing_ && !editor_.hasSelection()) blink_.draw(context, caretRect());
}

}  // namespace ui
