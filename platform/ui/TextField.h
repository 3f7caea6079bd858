#pragma once
// A single-line editable text: placeholder, font, colour, screen alignment, a
// border style or background image, a caret that blinks on the run loop's
// clock, selection with the mouse and Shift with the arrows, copy and paste,
// and an input method's composition shown underlined. Becoming first
// responder begins editing (and raises the keyboard); resigning ends it.
#include <memory>
#include <string>

#include "platform/text/Font.h"
#include "platform/ui/Control.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/TextEditing.h"
#include "platform/ui/TextInputTraits.h"

namespace ui {

class TextField;

// Every call is optional; the defaults allow everything.
class TextFieldDelegate {
 public:
  virtual ~TextFieldDelegate() = default;
  virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
  virtual void textFieldDidBeginEditing(TextField&) {}
  virtual bool textFieldShouldEndEditing(TextField&) { return true; }
  virtual void textFieldDidEndEditing(TextField&) {}
  // The range (UTF-16) about to be replaced by the string.
  virtual bool shouldChangeCharactersInRange(TextField&, ns::Range range, const std::string& replacement) {
    (void)range, (void)replacement;
    return true;
  }
  virtual bool textFieldShouldReturn(TextField&) { return true; }
  // The clear button was tapped; false keeps the text.
  virtual bool textFieldShouldClear(TextField&) { return true; }
};

// The platform's numbering.
enum class TextBorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
// When an overlay such as the clear button shows.
enum class TextFieldViewMode { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };


class TextField : public Control, public TextInputTraits {
 public:
  explicit TextField(cg::Rect frame = {});

  std::string text() const { return editor_.text(); }
  void setText(const std::string& text);
  const std::string& placeholder() const { return placeholder_; }
  void setPlaceholder(const std::string& placeholder) { placeholder_ = placeholder; setNeedsDisplay(); }
  const Font& font() const { return editor_.font(); }
  void setFont(const Font& font);
  cg::Color textColor() const { return textColor_; }
  void setTextColor(cg::Color color) { textColor_ = color; setNeedsDisplay(); }
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; setNeedsDisplay(); }
  TextBorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(TextBorderStyle style) { borderStyle_ = style; setNeedsDisplay(); }
  const std::shared_ptr<Image>& background() const { return background_; }
  void setBackground(std::shared_ptr<Image> image) { background_ = std::move(image); setNeedsDisplay(); }
  bool clearsOnBeginEditing() const { return clearsOnBeginEditing_; }
  void setClearsOnBeginEditing(bool on) { clearsOnBeginEditing_ = on; }
  TextFieldViewMode clearButtonMode() const { return clearButtonMode_; }
  void setClearButtonMode(TextFieldViewMode mode) { clearButtonMode_ = mode; setNeedsDisplay(); }
  // Where the clear button is drawn (empty while it is not shown).
  cg::Rect clearButtonRect() const;
  // A view at the left of the text (a search field's magnifier), shown by its mode.
  const std::shared_ptr<View>& leftView() const { return leftView_; }
  void setLeftView(std::shared_ptr<View> view);
  TextFieldViewMode leftViewMode() const { return leftViewMode_; }
  void setLeftViewMode(TextFieldViewMode mode);


  void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<TextFieldDelegate> delegate() const { return delegate_.lock(); }
  void setInputAccessoryView(std::shared_ptr<View> view) { accessory_ = std::move(view); }
  std::shared_ptr<View> inputAccessoryView() const override { return accessory_; }

  bool isEditing() const { return editing_; }
  ns::Range selectedRange() const { return editor_.selectedRange(); }
  void setSelectedRange(ns::Range range);
  const std::string& markedText() const { return editor_.markedText(); }

  // Where the text goes within the bounds.
  virtual cg::Rect textRectForBounds(cg::Rect bounds) const;
  // The caret in the field's coordinates (also while not drawn).
  cg::Rect caretRect();
  bool isCaretVisible() const { return blink_.isOn(); }

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
  bool hasKeyboardInput() const override { return true; }
  void keyDown(const KeyEvent& key) override;
  void insertText(const std::string& text) override;
  void setMarkedText(const std::string& text, int cursor) override;

  void drawRect(cg::Context& context, cg::Rect rect) override;
  void layoutSubviews() override;

 protected:
  bool beginTracking(const Touch& touch) override;
  bool continueTracking(const Touch& touch) override;

 private:
  cg::Point textOrigin();
  cg::Point toText(cg::Point p);
  void drawBorder(cg::Context& context) const;
  void drawClearButton(cg::Context& context) const;
  bool showsClearButton() const;
  bool showsLeftView() const;
  // The border's inset of the text from the sides.
  float borderInset() const;
  void clear();
  void edited();
  void restartBlink();

  TextEditing editor_;
  std::string placeholder_;
  cg::Color textColor_ = cg::Color::black();
  TextAlignment alignment_ = TextAlignment::Left;
  TextBorderStyle borderStyle_ = TextBorderStyle::None;
  std::shared_ptr<Image> background_;
  bool clearsOnBeginEditing_ = false;
  TextFieldViewMode clearButtonMode_ = TextFieldViewMode::Never;
  std::shared_ptr<View> leftView_;
  TextFieldViewMode leftViewMode_ = TextFieldViewMode::Never;
  bool editing_ = false;
  float scrollX_ = 0;
  CaretBlink blink_;
  std::weak_ptr<TextFieldDelegate> delegate_;
  std::shared_ptr<View> accessory_;
};

}  // namespace ui
