#include "platform/ui/TextField.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/ControlDrawing.h"

namespace ui {

namespace {
const cg::Color kPlaceholder = cg::Color::gray(0.7f);
}  // namespace

TextField::TextField(cg::Rect frame) : Control(frame) {
  setOpaque(false);
  editor_.setMultiline(false);
  editor_.setWraps(false, 0);
  editor_.setFont(Font::systemFontOfSize(12));
  editor_.shouldChange = [this](ns::Range range, const std::string& text) {
    auto d = delegate();
    return !d || d->shouldChangeCharactersInRange(*this, range, text);
  };
  editor_.didChange = [this] { edited(); };
  setContentVerticalAlignment(ControlContentVerticalAlignment::Top);
}

void TextField::setText(const std::string& text) {
  editor_.setText(text);
  scrollX_ = 0;
  setNeedsDisplay();
}

void TextField::setFont(const Font& font) {
  editor_.setFont(font);
  setNeedsDisplay();
}

void TextField::setSelectedRange(ns::Range range) {
  editor_.setSelectedRange(range);
  restartBlink();
}

// The text changed by typing, deleting or pasting.
void TextField::edited() {
  restartBlink();
  auto keep = weak_from_this().lock();
  sendActionsForControlEvents(ControlEventEditingChanged);
}

void TextField::restartBlink() { blink_.restart(*this, editing_); }

bool TextField::undo() {
  if (!editor_.undo()) return false;
  restartBlink();
  return true;
}

bool TextField::redo() {
  if (!editor_.redo()) return false;
  restartBlink();
  return true;
}

void TextField::setSecureTextEntry(bool secure) {
  TextInputTraits::setSecureTextEntry(secure);
  editor_.setSecure(secure);
  setNeedsDisplay();
}

// --- first responder ---------------------------------------------------------

bool TextField::canBecomeFirstResponder() const {
  if (!isEnabled()) return false;
  auto d = delegate();
  return !d || d->textFieldShouldBeginEditing(const_cast<TextField&>(*this));
}

bool TextField::canResignFirstResponder() const {
  auto d = delegate();
  return !d || d->textFieldShouldEndEditing(const_cast<TextField&>(*this));
}

void TextField::didBecomeFirstResponder() {
  editing_ = true;
  if (clearsOnBeginEditing_) editor_.setText("");
  std::size_t end = ns::length16(editor_.text());
  editor_.setSelectedRange({end, 0});
  restartBlink();
  setNeedsLayout();  // a left view may show only while editing
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textFieldDidBeginEditing(*this);
  sendActionsForControlEvents(ControlEventEditingDidBegin);
}

void TextField::didResignFirstResponder() {
  if (!editing_) return;  // moved on before it began (a delegate chose another)
  editor_.unmarkText();  // a composition in progress is kept as typed
  editing_ = false;
  scrollX_ = 0;
  restartBlink();
  setNeedsLayout();
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textFieldDidEndEditing(*this);
  sendActionsForControlEvents(ControlEventEditingDidEnd);
}

// --- typing ------------------------------------------------------------------

void TextField::keyDown(const KeyEvent& key) {
  if (!editing_) {
    Control::keyDown(key);
    return;
  }
  if (key.key == "Return" && !editor_.hasMarkedText()) {
    auto keep = weak_from_this().lock();
    if (auto d = delegate()) d->textFieldShouldReturn(*this);
    sendActionsForControlEvents(ControlEventEditingDidEndOnExit);
    return;
  }
  if (editor_.handleKey(key)) restartBlink();
  else Control::keyDown(key);
}

void TextField::insertText(const std::string& text) {
  if (!editing_) return;
  editor_.insertText(text);
  restartBlink();
}

void TextField::setMarkedText(const std::string& text, int cursor) {
  if (!editing_) return;
  editor_.setMarkedText(text, cursor);
  restartBlink();
}

// --- touches -------------------------------------------------------------------

bool TextField::beginTracking(const Touch& touch) {
  if (clearButtonRect().insetBy(-4, -4).contains(touch.locationInView(this))) {
    clear();
    return false;
  }
  bool wasEditing = isFirstResponder();
  if (!wasEditing && !becomeFirstResponder()) return false;
  // A second tap on a field being edited selects the word under it.
  if (wasEditing && touch.tapCount() == 2) editor_.selectWordAtPoint(toText(touch.locationInView(this)));
  else editor_.setCaretAtPoint(toText(touch.locationInView(this)), false);
  restartBlink();
  return true;
}

bool TextField::continueTracking(const Touch& touch) {
  if (touch.tapCount() == 2) return true;  // keeps the word
  editor_.setCaretAtPoint(toText(touch.locationInView(this)), true);
  restartBlink();
  return true;
}

// --- the clear button ------------------------------------------------------------

namespace {
constexpr float kClearButton = 19;
}  // namespace

namespace {
bool shownInMode(TextFieldViewMode mode, bool editing) {
  switch (mode) {
    case TextFieldViewMode::Never: return false;
    case TextFieldViewMode::WhileEditing: return editing;
    case TextFieldViewMode::UnlessEditing: return !editing;
    case TextFieldViewMode::Always: return true;
  }
  return false;
}
}  // namespace

bool TextField::showsClearButton() const { return !editor_.isEmpty() && shownInMode(clearButtonMode_, editing_); }

cg::Rect TextField::clearButtonRect() const {
  if (!showsClearButton()) return {};
  cg::Rect b = bounds();
  return cg::Rect(b.maxX() - kClearButton - 6, std::floor(b.midY() - kClearButton / 2), kClearButton, kClearButton);
}

// Empties the field when the delegate lets it; the change is told as typing is.
void TextField::clear() {
  auto keep = weak_from_this().lock();
  if (auto d = delegate(); d && !d->textFieldShouldClear(*this)) return;
  editor_.setText("");
  scrollX_ = 0;
  edited();
}

void TextField::drawClearButton(cg::Context& context) const {
  cg::Rect r = clearButtonRect();
  if (r.isEmpty()) return;
  context.save();
  context.setFillColor(cg::Color::gray(0.7f));
  context.fillEllipseInRect(r);
  context.setStrokeColor(cg::Color::white());
  context.setLineWidth(2);
  float d = r.width() * 0.27f;
  context.beginPath();
  context.moveTo({r.midX() - d, r.midY() - d});
  context.lineTo({r.midX() + d, r.midY() + d});
  context.moveTo({r.midX() + d, r.midY() - d});
  context.lineTo({r.midX() - d, r.midY() + d});
  context.strokePath();
  context.restore();
}

// --- geometry and drawing --------------------------------------------------------

float TextField::borderInset() const {
  switch (borderStyle_) {
    case TextBorderStyle::RoundedRect: return 7;
    case TextBorderStyle::Bezel: return 4;
    case TextBorderStyle::Line: return 2;
    case TextBorderStyle::None: break;
  }
  return 0;
}

cg::Rect TextField::textRectForBounds(cg::Rect b) const {
  cg::Rect r = b.insetBy(borderInset(), 0);
  if (showsClearButton()) r.size.width = std::max(0.0f, r.width() - kClearButton - 6);
  if (showsLeftView()) {
    float w = leftView_->frame().width();
    r = cg::Rect(r.x() + w, r.y(), std::max(0.0f, r.width() - w), r.height());
  }
  return r;
}

bool TextField::showsLeftView() const { return leftView_ && shownInMode(leftViewMode_, editing_); }

void TextField::setLeftView(std::shared_ptr<View> view) {
  if (leftView_) leftView_->removeFromSuperview();
  leftView_ = std::move(view);
  if (leftView_) addSubview(leftView_);
  setNeedsLayout();
  setNeedsDisplay();
}

void TextField::setLeftViewMode(TextFieldViewMode mode) {
  leftViewMode_ = mode;
  setNeedsLayout();
  setNeedsDisplay();
}

void TextField::layoutSubviews() {
  Control::layoutSubviews();
  if (!leftView_) return;
  cg::Rect f = leftView_->frame();
  leftView_->setFrame(cg::Rect(borderInset(), std::floor((bounds().height() - f.height()) / 2), f.width(), f.height()));
  leftView_->setHidden(!showsLeftView());
}

// Where the text's (0, 0) is in the field: centred vertically, placed by the
// alignment when it fits, else scrolled to keep the caret in sight.
cg::Point TextField::textOrigin() {
  cg::Rect r = textRectForBounds(bounds());
  cg::Size content = editor_.contentSize();
  float y = r.y() + std::floor((r.height() - content.height) / 2);
  if (content.width <= r.width()) {
    scrollX_ = 0;
    float dx = 0;
    if (alignment_ == TextAlignment::Center) dx = std::floor((r.width() - content.width) / 2);
    if (alignment_ == TextAlignment::Right) dx = r.width() - content.width;
    return {r.x() + dx, y};
  }
  if (editing_) {
    float caretX = editor_.caretRect().x();
    if (caretX - scrollX_ > r.width() - 2) scrollX_ = caretX - r.width() + 2;
    if (caretX - scrollX_ < 0) scrollX_ = caretX;
    scrollX_ = std::clamp(scrollX_, 0.0f, content.width - r.width() + 2);
  }
  return {r.x() - scrollX_, y};
}

cg::Point TextField::toText(cg::Point p) {
  cg::Point o = textOrigin();
  return {p.x - o.x, p.y - o.y};
}

cg::Rect TextField::textInputRect() const {
  // Measuring the caret lays text out, which the const view allows itself.
  auto* self = const_cast<TextField*>(this);
  return convertRectToView(self->caretRect(), nullptr);
}

cg::Rect TextField::caretRect() {
  cg::Point o = textOrigin();
  return editor_.caretRect().offsetBy(o.x, o.y);
}

void TextField::drawBorder(cg::Context& context) const {
  cg::Rect b = bounds();
  switch (borderStyle_) {
    case TextBorderStyle::RoundedRect:
      fillRoundedRect(context, b.insetBy(0.5f, 0.5f), 6, cg::Color::white());
      strokeRoundedRect(context, b.insetBy(0.5f, 0.5f), 6, cg::Color::gray(0.6f));
      break;
    case TextBorderStyle::Bezel:
      context.setFillColor(cg::Color::white());
      context.fillRect(b);
      context.setFillColor(cg::Color::gray(0.45f));
      context.fillRect(cg::Rect(b.x(), b.y(), b.width(), 1));
      context.fillRect(cg::Rect(b.x(), b.y(), 1, b.height()));
      context.setStrokeColor(cg::Color::gray(0.75f));
      context.setLineWidth(1);
      context.strokeRect(b.insetBy(0.5f, 0.5f));
      break;
    case TextBorderStyle::Line:
      context.setStrokeColor(cg::Color::black());
      context.setLineWidth(1);
      context.strokeRect(b.insetBy(0.5f, 0.5f));
      break;
    case TextBorderStyle::None: break;
  }
}

void TextField::drawRect(cg::Context& context, cg::Rect) {
  if (background_) background_->drawInRect(context, bounds());
  else drawBorder(context);
  cg::Rect r = textRectForBounds(bounds());
  context.save();
  context.clipToRect(r);
  if (editor_.isEmpty() && !editor_.hasMarkedText()) {
    if (!placeholder_.empty()) {
      float h = std::ceil(font().lineHeight());
      drawTextInRect(context, placeholder_, cg::Rect(r.x(), r.y() + std::floor((r.height() - h) / 2), r.width(), h),
                     font(), kPlaceholder, alignment_, LineBreakMode::TruncateTail);
    }
  } else {
    cg::Point o = textOrigin();
    context.save();
    context.translate(o.x, o.y);
    editor_.draw(context, cg::Rect(-o.x, -o.y, bounds().width(), bounds().height()), textColor_, editing_);
    context.restore();
  }
  if (editing_ && !editor_.hasSelection()) blink_.draw(context, caretRect());
  context.restore();
  drawClearButton(context);
}

}  // namespace ui
