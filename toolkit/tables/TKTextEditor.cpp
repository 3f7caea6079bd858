#include "toolkit/tables/TKTextEditor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/foundation/RunLoop.h"
#include "platform/text/TextMeasure.h"
#include "toolkit/core/Font+TKCategory.h"

namespace {
// What the field and the view leave around the text.
constexpr float kTextMargins = 31;
}  // namespace

// --- the text view -----------------------------------------------------------------

void TKTextView::setContentOffset(cg::Point offset, bool animated) {
  if (autoresizesToText_ && !overflowed_) offset = {0, 0};
  ui::TextView::setContentOffset(offset, animated);
}

// --- the internal object --------------------------------------------------------------

bool TKTextEditorInternal::shouldBegin() {
  if (ignoreBeginAndEnd_) return true;
  auto d = delegate();
  return !d || d->textEditorShouldBeginEditing(*textEditor_);
}

bool TKTextEditorInternal::shouldEnd() {
  if (ignoreBeginAndEnd_) return true;
  auto d = delegate();
  return !d || d->textEditorShouldEndEditing(*textEditor_);
}

void TKTextEditorInternal::didBegin() {
  if (ignoreBeginAndEnd_) return;
  textEditor_->didBeginEditing();
  if (auto d = delegate()) d->textEditorDidBeginEditing(*textEditor_);
}

void TKTextEditorInternal::didEnd() {
  if (ignoreBeginAndEnd_) return;
  textEditor_->didEndEditing();
  if (auto d = delegate()) d->textEditorDidEndEditing(*textEditor_);
}

bool TKTextEditorInternal::shouldChangeTextInRange(ui::TextView&, ns::Range range, const std::string& text) {
  auto d = delegate();
  if (text == "\n" && d && !d->textEditorShouldReturn(*textEditor_)) return false;
  return !d || d->shouldChangeTextInRange(*textEditor_, range, text);
}

void TKTextEditorInternal::textViewDidChange(ui::TextView&) { textChanged(); }

void TKTextEditorInternal::textChanged() {
  textEditor_->didChangeText(false);
  if (auto d = delegate()) d->textEditorDidChange(*textEditor_);
}

bool TKTextEditorInternal::shouldChangeCharactersInRange(ui::TextField&, ns::Range range, const std::string& text) {
  if (auto d = delegate(); d && !d->shouldChangeTextInRange(*textEditor_, range, text)) return false;
  // The field takes the change after this answer: the editor hears of it on
  // the next turn of the run loop.
  std::weak_ptr<TKTextEditorInternal> weak = weak_from_this();
  ns::RunLoop::main().post([weak] {
    if (auto self = weak.lock()) self->textChanged();
  });
  return true;
}

bool TKTextEditorInternal::textFieldShouldReturn(ui::TextField&) {
  auto d = delegate();
  if (d && !d->textEditorShouldReturn(*textEditor_)) return false;
  textEditor_->didChangeText(true);
  if (d) d->textEditorDidChange(*textEditor_);
  return true;
}

// --- the editor ---------------------------------------------------------------------------

TKTextEditor::TKTextEditor(cg::Rect frame) : TKView(frame) {
  internal_ = std::make_shared<TKTextEditorInternal>(this);
  textField_ = std::make_shared<ui::TextField>();
  textField_->setDelegate(internal_);
  addSubview(textField_);
}

TKTextEditor::~TKTextEditor() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  textField_->setDelegate({});
  if (textView_) textView_->setDelegate(std::weak_ptr<ui::TextViewDelegate>());
}

void TKTextEditor::setDelegate(std::weak_ptr<TKTextEditorDelegate> delegate) {
  delegate_ = delegate;
  internal_->setDelegate(std::move(delegate));
}

void TKTextEditor::setAutoresizesToText(bool on) {
  autoresizesToText_ = on;
  if (textView_) textView_->setAutoresizesToText(on);
}

ui::View* TKTextEditor::activeInput() const {
  if (textView_ && !textView_->isHidden()) return textView_.get();
  return textField_.get();
}

std::string TKTextEditor::text() const {
  if (textView_ && !textView_->isHidden()) return textView_->text();
  return textField_->text();
}

void TKTextEditor::setText(const std::string& text) {
  if (textView_) textView_->setText(text);
  textField_->setText(text);
  if (autoresizesToText_) constrainToText();
}

bool TKTextEditor::becomeFirstResponder() { return activeInput()->becomeFirstResponder(); }
bool TKTextEditor::resignFirstResponder() { return activeInput()->resignFirstResponder(); }
bool TKTextEditor::isFirstResponder() const { return activeInput()->isFirstResponder(); }

void TKTextEditor::createTextView() {
  if (textView_) return;
  textView_ = std::make_shared<TKTextView>();
  textView_->setDelegate(std::weak_ptr<ui::TextViewDelegate>(internal_));
  textView_->setEditable(true);
  textView_->setBackgroundColor(cg::Color::clear());
  textView_->setOpaque(false);
  textView_->setScrollsToTop(false);
  textView_->setShowsHorizontalScrollIndicator(false);
  textView_->setFont(textField_->font());
  textView_->setTextColor(textField_->textColor());
  textView_->setAutocapitalizationType(textField_->autocapitalizationType());
  textView_->setAutocorrectionType(textField_->autocorrectionType());
  textView_->setEnablesReturnKeyAutomatically(textField_->enablesReturnKeyAutomatically());
  textView_->setKeyboardAppearance(textField_->keyboardAppearance());
  textView_->setKeyboardType(textField_->keyboardType());
  textView_->setReturnKeyType(textField_->returnKeyType());
  textView_->setSecureTextEntry(textField_->secureTextEntry());
  textView_->setAutoresizesToText(autoresizesToText_);
  textView_->setHidden(true);
  addSubview(textView_);
  setNeedsLayout();
}

float TKTextEditor::heightThatFits(bool* overflowed, int* numberOfLines) const {
  float L = ui::TKLineHeight(font());
  float minimum = float(minNumberOfLines_) * L, maximum = float(maxNumberOfLines_) * L;
  std::string shown = text();
  float width = std::max(0.0f, frame().width() - kTextMargins);
  float measured = ui::sizeWithFont(shown.empty() ? "M" : shown, font(),
                                    {width, std::numeric_limits<float>::max()}, ui::LineBreakMode::WordWrap)
                       .height;
  float h = measured;
  if (!shown.empty() && shown.back() == '\n') h += L;
  if (showsExtraLine_) h += L;
  if (overflowed) *overflowed = maximum != 0 && h > maximum;
  // Lines are counted in the measurer's own line height: the platform's
  // lines need not be the font's line height high.
  if (numberOfLines) {
    float oneLine = ui::sizeWithFont("M", font(), {width, std::numeric_limits<float>::max()},
                                     ui::LineBreakMode::WordWrap)
                        .height;
    *numberOfLines = oneLine > 0 ? std::max(1, int(std::lround(measured / oneLine))) : 1;
  }
  h = std::max(h, minimum);
  if (maximum != 0) h = std::min(h, maximum);
  return h + kPaddingBelow;
}

cg::Size TKTextEditor::sizeThatFits(cg::Size size) const { return {size.width, heightThatFits()}; }

void TKTextEditor::switchInputs(bool toTextView, const std::string& text) {
  if (toTextView) createTextView();
  ui::View* from = toTextView ? static_cast<ui::View*>(textField_.get()) : textView_.get();
  ui::View* to = toTextView ? static_cast<ui::View*>(textView_.get()) : textField_.get();
  bool wasEditing = from->isFirstResponder() || editing_;
  from->setHidden(true);
  to->setHidden(false);
  if (toTextView) textView_->setText(text);
  else textField_->setText(text);
  internal_->setIgnoresBeginAndEnd(true);
  if (wasEditing) to->becomeFirstResponder();
  // The begin and end the move itself causes may arrive up to the next turn.
  ns::RunLoop::main().performAfter(this, "stopIgnoringBeginAndEnd", 0, [this] { stopIgnoringBeginAndEnd(); });
}

void TKTextEditor::stopIgnoringBeginAndEnd() { internal_->setIgnoresBeginAndEnd(false); }

void TKTextEditor::constrainToText() {
  float oldHeight = frame().height();
  bool overflowed = false;
  int lines = 1;
  float newHeight = heightThatFits(&overflowed, &lines);
  overflowed_ = overflowed;
  if (lines > 1 && !textField_->isHidden()) switchInputs(true, textField_->text());
  else if (lines == 1 && textField_->isHidden()) switchInputs(false, textView_->text());
  if (textView_) {
    textView_->setOverflowed(overflowed_);
    textView_->setScrollEnabled(overflowed_);
  }
  float change = newHeight - oldHeight;
  if (oldHeight == 0 || change == 0) return;
  if (auto d = delegate(); d && !d->shouldResizeBy(*this, change)) return;
  cg::Rect f = frame();
  setFrame(cg::Rect(f.x(), f.y(), f.width(), f.height() + change));
}

void TKTextEditor::didChangeText(bool insertNewline) {
  if (insertNewline) switchInputs(true, textField_->text() + "\n ");
  if (autoresizesToText_) constrainToText();
}

void TKTextEditor::layoutSubviews() {
  float W = frame().width(), H = frame().height();
  if (textView_) textView_->setFrame(cg::Rect(0, 2, W - 16, H));
  textField_->setFrame(cg::Rect(7, 10, W - 23, H - 8));
}

void TKTextEditor::scrollContainerToCursor(ui::ScrollView& container) {
  if (!textView_ || textView_->text().empty()) return;
  float content = container.contentSize().height;
  if (content > container.frame().height()) {
    ns::Range selection = textView_->selectedRange();
    if (selection.location == ns::length16(textView_->text()))
      container.scrollRectToVisible(cg::Rect(0, content - 1, 1, 1), false);
  } else {
    container.scrollRectToVisible(cg::Rect(0, 0, 1, 1), false);
  }
}
