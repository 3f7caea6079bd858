#pragma once
// A multi-line editor that scrolls its own text: font, colour, alignment,
// editable, a content inset around the text, content offset and size as a
// scroll view has them (the bounds' origin is the offset), and a delegate
// told of editing, changes and scrolling. The text is laid out a paragraph at
// a time and only where it is seen, so a megabyte of text stays usable. A tap
// begins editing; while editing a drag selects, otherwise it scrolls.
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/text/Font.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/TextEditing.h"
#include "platform/ui/View.h"

namespace ui {

class TextView;

// Every call is optional; the defaults allow everything.
class TextViewDelegate {
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
  // The content offset moved.
  virtual void scrollViewDidScroll(TextView&) {}
};

class TextView : public View {
 public:
  explicit TextView(cg::Rect frame = {});
  ~TextView() override;

  std::string text() const { return editor_.text(); }
  void setText(const std::string& text);
  const Font& font() const { return editor_.font(); }
  void setFont(const Font& font);
  cg::Color textColor() const { return textColor_; }
  void setTextColor(cg::Color color) { textColor_ = color; setNeedsDisplay(); }
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  bool isEditable() const { return editable_; }
  void setEditable(bool editable);
  ns::Range selectedRange() const { return editor_.selectedRange(); }
  void setSelectedRange(ns::Range range);
  const std::string& markedText() const { return editor_.markedText(); }

  void setDelegate(std::weak_ptr<TextViewDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<TextViewDelegate> delegate() const { return delegate_.lock(); }
  void setInputAccessoryView(std::shared_ptr<View> view) { accessory_ = std::move(view); }
  std::shared_ptr<View> inputAccessoryView() const override { return accessory_; }

  // Scrolling, as a scroll view's.
  cg::Point contentOffset() const { return bounds().origin; }
  void setContentOffset(cg::Point offset, bool animated = false);
  cg::Size contentSize() const { return contentSize_; }
  cg::EdgeInsets contentInset() const { return contentInset_; }
  void setContentInset(cg::EdgeInsets inset);
  bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
  void setAlwaysBounceVertical(bool on) { alwaysBounceVertical_ = on; }
  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool on) { scrollEnabled_ = on; }
  void scrollRangeToVisible(ns::Range range);
  // Told with the new content size whenever it changes (one observer).
  void setContentSizeObserver(std::function<void(cg::Size)> observer) { contentSizeObserver_ = std::move(observer); }

  // The caret in the view's bounds coordinates.
  cg::Rect caretRect();

  bool canBecomeFirstResponder() const override;
  bool canResignFirstResponder() const override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;
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

 private:
  cg::Point toText(cg::Point p) const { return {p.x - kTextPadding, p.y - kTextPadding}; }
  cg::Point clampedOffset(cg::Point p) const;
  void applyOffset(cg::Point p);
  void updateContentSize();
  void scrollCaretToVisible();
  void changed();
  void caretMoved();
  void restartBlink();

  TextEditing editor_;
  cg::Color textColor_ = cg::Color::black();
  TextAlignment alignment_ = TextAlignment::Left;
  bool editable_ = true;
  bool editing_ = false;
  CaretBlink blink_;
  cg::Size contentSize_;
  cg::EdgeInsets contentInset_;
  bool alwaysBounceVertical_ = false;
  bool scrollEnabled_ = true;
  std::function<void(cg::Size)> contentSizeObserver_;
  std::weak_ptr<TextViewDelegate> delegate_;
  std::shared_ptr<View> accessory_;
  ns::Timer scroller_;
  // A touch in flight: where it began and whether it selects or scrolls.
  cg::Point touchStart_;
  cg::Point offsetAtTouch_;
  bool touchSelects_ = false;
  bool touchMoved_ = false;
};

}  // namespace ui
