#pragma once
// A multi-line editor in a scroll view: font, colour, alignment, editable,
// a content size that follows the text (with an observer), and a delegate
// told of editing, changes and scrolling. The text is laid out a paragraph at
// a time and only where it is seen, so a megabyte of text stays usable. A tap
// begins editing; while editing a drag selects, otherwise it scrolls.
#include <functional>
#include <memory>
#include <string>

#include "platform/text/Font.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/TextEditing.h"
#include "platform/ui/TextInputTraits.h"

namespace ui {

class TextView;

// Every call is optional; the defaults allow everything. Scrolling is told
// through the scroll view's calls.
class TextViewDelegate : public ScrollViewDelegate {
 public:
  virtual ~TextViewDelegate() = default;
  virtual bool textViewShouldBeginEditing(TextView&) { return true; }
  virtual bool textViewShouldEndEditing(TextView&) { return true; }
  virtual void textViewDidBeginEditing(TextView&) {}
  virtual void textViewDidEndEditing(TextView&) {}
  // The range (UTF-16) about to be replaced by the text.
  virtual bool shouldChangeTextInRange(TextView&, ns::Range range, const std::string& text) {
    (void)range, (void)text;
    return true;
  }
  virtual void textViewDidChange(TextView&) {}
  virtual void textViewDidChangeSelection(TextView&) {}
};

class TextView : public ScrollView, public TextInputTraits {
 public:
  explicit TextView(cg::Rect frame = {});

  std::string text() const { return editor_.text(); }
  void setText(const std::string& text);
  const Font& font() const { return editor_.font(); }
  void setFont(const Font& font);
  // Every line this many points high (0: the font's own), as on ruled paper.
  void setLineHeight(float points);
  cg::Color textColor() const { return textColor_; }
  void setTextColor(cg::Color color) { textColor_ = color; setNeedsDisplay(); }
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  bool isEditable() const { return editable_; }
  void setEditable(bool editable);
  ns::Range selectedRange() const { return editor_.selectedRange(); }
  void setSelectedRange(ns::Range range);
  const std::string& markedText() const { return editor_.markedText(); }

  // The delegate hears the scroll view's calls too.
  void setDelegate(std::weak_ptr<TextViewDelegate> delegate);
  std::shared_ptr<TextViewDelegate> delegate() const { return textDelegate_.lock(); }
  void setInputAccessoryView(std::shared_ptr<View> view) { accessory_ = std::move(view); }
  std::shared_ptr<View> inputAccessoryView() const override { return accessory_; }

  void scrollRangeToVisible(ns::Range range);
  // Told with the new content size whenever it changes (one observer).
  void setContentSizeObserver(std::function<void(cg::Size)> observer) { contentSizeObserver_ = std::move(observer); }

  // The caret in the view's bounds coordinates.
  cg::Rect caretRect();

  // Undo and redo of the editing (Control-Z, Control-Shift-Z or Control-Y).
  bool undo();
  bool redo();
  bool canUndo() const { return editor_.canUndo(); }
  bool canRedo() const { return editor_.canRedo(); }
  void setSecureTextEntry(bool secure) override;

  bool canBecomeFirstResponder() const override;
  bool canResignFirstResponder() const override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;
  cg::Rect textInputRect() const override;
  bool hasKeyboardInput() const override { return editable_; }
  void keyDown(const KeyEvent& key) override;
  void insertText(const std::string& text) override;
  void setMarkedText(const std::string& text, int cursor) override;

  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;

  void setFrame(cg::Rect frame) override;
  void layoutSubviews() override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

  // The padding between the content's edge and the text, as the platform's.
  static constexpr float kTextPadding = 8;

 protected:
  void contentOffsetDidChange() override { setNeedsLayout(); }

 private:
  cg::Point toText(cg::Point p) const { return {p.x - kTextPadding, p.y - kTextPadding}; }
  void updateContentSize();
  void scrollCaretToVisible();
  void changed();
  void caretMoved();
  void movePage(int direction, unsigned modifiers);
  void restartBlink();

  TextEditing editor_;
  cg::Color textColor_ = cg::Color::black();
  TextAlignment alignment_ = TextAlignment::Left;
  bool editable_ = true;
  bool editing_ = false;
  CaretBlink blink_;
  std::function<void(cg::Size)> contentSizeObserver_;
  std::weak_ptr<TextViewDelegate> textDelegate_;
  std::shared_ptr<View> accessory_;
  // A touch in flight while editing selects instead of scrolling; the
  // caller's scrolling setting is kept meanwhile.
  bool touchSelects_ = false;
  bool scrollEnabledBeforeTouch_ = true;
  bool touchCancelled_ = false;
};

}  // namespace ui
