#pragma once
// A text input that starts as a one-line text field and turns into a
// multi-line text view when its text needs more than one line (or return is
// pressed), growing its own height a line at a time between a minimum and a
// maximum number of lines, and turning back into the field when the text fits
// one line again. Its internal object is the platform delegate of both inputs
// and passes their events on to the editor and to the editor's own delegate;
// the begin and end of editing that the switch itself causes are not passed
// on. Main thread only.
#include <memory>
#include <string>

#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "toolkit/tables/TKView.h"

class TKTextEditor;

// The editor's multi-line input: while it sizes itself to its text and all
// of it shows, its content stays at the top.
class TKTextView : public ui::TextView {
 public:
  using ui::TextView::TextView;
  using ui::TextView::setContentOffset;
  bool autoresizesToText() const { return autoresizesToText_; }
  void setAutoresizesToText(bool on) { autoresizesToText_ = on; }
  bool overflowed() const { return overflowed_; }
  void setOverflowed(bool on) { overflowed_ = on; }
  void setContentOffset(cg::Point offset, bool animated) override;

 private:
  bool autoresizesToText_ = false;
  bool overflowed_ = false;
};

// Every call is optional.
class TKTextEditorDelegate {
 public:
  virtual ~TKTextEditorDelegate() = default;
  virtual bool textEditorShouldBeginEditing(TKTextEditor&) { return true; }
  virtual bool textEditorShouldEndEditing(TKTextEditor&) { return true; }
  virtual void textEditorDidBeginEditing(TKTextEditor&) {}
  virtual void textEditorDidEndEditing(TKTextEditor&) {}
  virtual bool textEditorShouldReturn(TKTextEditor&) { return true; }
  virtual bool shouldChangeTextInRange(TKTextEditor&, ns::Range range, const std::string& text) {
    (void)range, (void)text;
    return true;
  }
  virtual void textEditorDidChange(TKTextEditor&) {}
  // False keeps the editor's frame as it is.
  virtual bool shouldResizeBy(TKTextEditor&, float height) {
    (void)height;
    return true;
  }
};

// Stands between both inputs and the editor.
class TKTextEditorInternal : public ui::TextFieldDelegate,
                             public ui::TextViewDelegate,
                             public std::enable_shared_from_this<TKTextEditorInternal> {
 public:
  explicit TKTextEditorInternal(TKTextEditor* editor) : textEditor_(editor) {}
  void setDelegate(std::weak_ptr<TKTextEditorDelegate> delegate) { delegate_ = std::move(delegate); }
  bool ignoresBeginAndEnd() const { return ignoreBeginAndEnd_; }
  void setIgnoresBeginAndEnd(bool on) { ignoreBeginAndEnd_ = on; }

  bool textFieldShouldBeginEditing(ui::TextField&) override { return shouldBegin(); }
  bool textFieldShouldEndEditing(ui::TextField&) override { return shouldEnd(); }
  void textFieldDidBeginEditing(ui::TextField&) override { didBegin(); }
  void textFieldDidEndEditing(ui::TextField&) override { didEnd(); }
  bool shouldChangeCharactersInRange(ui::TextField&, ns::Range range, const std::string& text) override;
  bool textFieldShouldReturn(ui::TextField&) override;

  bool textViewShouldBeginEditing(ui::TextView&) override { return shouldBegin(); }
  bool textViewShouldEndEditing(ui::TextView&) override { return shouldEnd(); }
  void textViewDidBeginEditing(ui::TextView&) override { didBegin(); }
  void textViewDidEndEditing(ui::TextView&) override { didEnd(); }
  bool shouldChangeTextInRange(ui::TextView&, ns::Range range, const std::string& text) override;
  void textViewDidChange(ui::TextView&) override;

 private:
  bool shouldBegin();
  bool shouldEnd();
  // The text of either input changed.
  void textChanged();
  void didBegin();
  void didEnd();
  std::shared_ptr<TKTextEditorDelegate> delegate() const { return delegate_.lock(); }

  TKTextEditor* textEditor_;  // owns this object
  std::weak_ptr<TKTextEditorDelegate> delegate_;
  bool ignoreBeginAndEnd_ = false;
};

class TKTextEditor : public TKView {
 public:
  static constexpr float kPaddingBelow = 18;

  explicit TKTextEditor(cg::Rect frame = {});
  ~TKTextEditor() override;

  // The text of the input that shows; setting it sets both.
  std::string text() const;
  void setText(const std::string& text);

  // The field's; the text view takes copies when it is made.
  std::string placeholder() const { return textField_->placeholder(); }
  void setPlaceholder(const std::string& text) { textField_->setPlaceholder(text); }
  const ui::Font& font() const { return textField_->font(); }
  void setFont(const ui::Font& font) { textField_->setFont(font); }
  cg::Color textColor() const { return textField_->textColor(); }
  void setTextColor(cg::Color color) { textField_->setTextColor(color); }
  ui::TextAutocapitalizationType autocapitalizationType() const { return textField_->autocapitalizationType(); }
  void setAutocapitalizationType(ui::TextAutocapitalizationType t) { textField_->setAutocapitalizationType(t); }
  ui::TextAutocorrectionType autocorrectionType() const { return textField_->autocorrectionType(); }
  void setAutocorrectionType(ui::TextAutocorrectionType t) { textField_->setAutocorrectionType(t); }
  bool enablesReturnKeyAutomatically() const { return textField_->enablesReturnKeyAutomatically(); }
  void setEnablesReturnKeyAutomatically(bool on) { textField_->setEnablesReturnKeyAutomatically(on); }
  ui::KeyboardAppearance keyboardAppearance() const { return textField_->keyboardAppearance(); }
  void setKeyboardAppearance(ui::KeyboardAppearance a) { textField_->setKeyboardAppearance(a); }
  ui::KeyboardType keyboardType() const { return textField_->keyboardType(); }
  void setKeyboardType(ui::KeyboardType t) { textField_->setKeyboardType(t); }
  ui::ReturnKeyType returnKeyType() const { return textField_->returnKeyType(); }
  void setReturnKeyType(ui::ReturnKeyType t) { textField_->setReturnKeyType(t); }
  bool secureTextEntry() const { return textField_->secureTextEntry(); }
  void setSecureTextEntry(bool on) { textField_->setSecureTextEntry(on); }

  std::shared_ptr<TKTextEditorDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<TKTextEditorDelegate> delegate);
  bool autoresizesToText() const { return autoresizesToText_; }
  void setAutoresizesToText(bool on);
  int minNumberOfLines() const { return minNumberOfLines_; }
  void setMinNumberOfLines(int lines) { minNumberOfLines_ = lines; }
  // 0: no limit.
  int maxNumberOfLines() const { return maxNumberOfLines_; }
  void setMaxNumberOfLines(int lines) { maxNumberOfLines_ = lines; }
  bool showsExtraLine() const { return showsExtraLine_; }
  void setShowsExtraLine(bool on) { showsExtraLine_ = on; }
  bool editing() const { return editing_; }
  bool overflowed() const { return overflowed_; }

  ui::TextField* textField() const { return textField_.get(); }
  TKTextView* textView() const { return textView_.get(); }
  // The input that shows.
  ui::View* activeInput() const;

  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  bool isFirstResponder() const override;

  // The given width, as high as the height rule says.
  cg::Size sizeThatFits(cg::Size size) const override;
  // The lines the text needs (between the minimum and the maximum) and 18
  // points below them; tells whether the text needs more than the maximum,
  // and how many lines it measures.
  float heightThatFits(bool* overflowed = nullptr, int* numberOfLines = nullptr) const;
  // Brings the caret into the containing scroll view when the selection is at the text's end.
  void scrollContainerToCursor(ui::ScrollView& container);
  void layoutSubviews() override;

 private:
  friend class TKTextEditorInternal;
  void createTextView();
  void constrainToText();
  // Moves the text and the first responder to the other input, without the
  // begin and end of editing that the move causes.
  void switchInputs(bool toTextView, const std::string& text);
  void stopIgnoringBeginAndEnd();
  void didBeginEditing() { editing_ = true; }
  void didEndEditing() { editing_ = false; }
  void didChangeText(bool insertNewline);

  std::weak_ptr<TKTextEditorDelegate> delegate_;
  std::shared_ptr<TKTextEditorInternal> internal_;
  std::shared_ptr<ui::TextField> textField_;
  std::shared_ptr<TKTextView> textView_;
  int minNumberOfLines_ = 0, maxNumberOfLines_ = 0;
  bool editing_ = false;
  bool overflowed_ = false;
  bool autoresizesToText_ = true;
  bool showsExtraLine_ = false;
};
