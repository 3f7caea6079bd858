// The desktop's text-editing habits in every field and text view: undo and
// redo with typing run together into words, moving and deleting by words,
// the ends of the line and the text, select all, and password fields.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "WindowFixture.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

using namespace ui;

namespace {

constexpr unsigned kCtrl = KeyModifierControl, kShift = KeyModifierShift;

class TextEditingHabitsTest : public WindowFixture {
 protected:
  std::shared_ptr<TextField> field() {
    auto f = std::make_shared<TextField>(cg::Rect(10, 10, 400, 40));
    f->setFont(Font::systemFontOfSize(20));
    window->addSubview(f);
    tap({20, 20});
    return f;
  }
  std::shared_ptr<TextView> textView() {
    auto v = std::make_shared<TextView>(cg::Rect(10, 100, 400, 300));
    window->addSubview(v);
    tap({100, 200});
    return v;
  }
  // Types as a person does: one character at a time.
  void typeEach(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
      std::size_t n = 1;
      while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
      type(text.substr(i, n));
      i += n;
    }
  }
};

TEST_F(TextEditingHabitsTest, TypingIsUndoneAWordAtATimeAndRedone) {
  auto f = field();
  typeEach("hello world");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "hello ");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "");
  EXPECT_FALSE(f->canUndo());
  key("Z", kCtrl | kShift);
  EXPECT_EQ(f->text(), "hello ");
  key("Y", kCtrl);
  EXPECT_EQ(f->text(), "hello world");
  EXPECT_EQ(f->selectedRange(), (ns::Range{11, 0}));
  EXPECT_FALSE(f->canRedo());
  // A new edit after an undo leaves nothing to redo.
  key("Z", kCtrl);
  typeEach("there");
  EXPECT_EQ(f->text(), "hello there");
  EXPECT_FALSE(f->canRedo());
  // Moving the caret ends the run of typing.
  key("Left");
  key("Right");
  typeEach("!!");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "hello there");
}

TEST_F(TextEditingHabitsTest, ASelectAllAndTypeIsOneUndoAway) {
  auto v = textView();
  std::string note = "The reader's note\nوفيها سطر بالعربية\nand a last line";
  v->setText(note);
  EXPECT_FALSE(v->canUndo());  // text given by the program is not undone
  key("A", kCtrl);
  typeEach("oops");
  EXPECT_EQ(v->text(), "oops");
  key("Z", kCtrl);
  EXPECT_EQ(v->text(), note);
  EXPECT_EQ(v->selectedRange(), (ns::Range{0, ns::length16(note)}));
  key("Y", kCtrl);
  EXPECT_EQ(v->text(), "oops");
}

TEST_F(TextEditingHabitsTest, DeletingRunsTogetherAndEveryEditCanBeUndone) {
  auto f = field();
  typeEach("one two three");
  for (int i = 0; i < 7; ++i) key("BackSpace");  // "three" and the space before it, then "o"
  EXPECT_EQ(f->text(), "one tw");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "one two ");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "one two three");
  // Cut and paste are steps of their own.
  key("Home");
  key("Right", kShift | kCtrl);
  key("X", kCtrl);
  EXPECT_EQ(f->text(), " two three");
  key("End");
  key("V", kCtrl);
  EXPECT_EQ(f->text(), " two threeone");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), " two three");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "one two three");
  EXPECT_EQ(f->selectedRange(), (ns::Range{0, 3}));
}

TEST_F(TextEditingHabitsTest, WordsInLatinAndArabic) {
  auto f = field();
  typeEach("alpha beta gamma");
  key("Left", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{11, 0}));
  key("Left", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{6, 0}));
  key("Right", kCtrl | kShift);
  EXPECT_EQ(f->selectedRange(), (ns::Range{6, 4}));
  key("Right", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{10, 0}));  // a selection collapses to its end first
  key("BackSpace", kCtrl);
  EXPECT_EQ(f->text(), "alpha  gamma");
  key("Delete", kCtrl);
  EXPECT_EQ(f->text(), "alpha ");
  key("Home", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{0, 0}));
  key("End", kCtrl | kShift);
  EXPECT_EQ(f->selectedRange(), (ns::Range{0, 6}));

  // In a right-to-left line, left is forward: the next word on the screen.
  f->setText("بسم الله الرحمن");  // 3 + 1 + 4 + 1 + 6 units
  key("Home");
  key("Left", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{3, 0}));
  key("Left", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{8, 0}));
  key("Right", kCtrl);
  EXPECT_EQ(f->selectedRange(), (ns::Range{4, 0}));
  key("BackSpace", kCtrl);
  EXPECT_EQ(f->text(), "الله الرحمن");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "بسم الله الرحمن");
}

TEST_F(TextEditingHabitsTest, WordsAcrossLinesOfATextView) {
  auto v = textView();
  v->setText("first line\nsecond");
  v->setSelectedRange({11, 0});  // the start of the second line
  key("Left", kCtrl);
  EXPECT_EQ(v->selectedRange(), (ns::Range{10, 0}));
  key("Left", kCtrl);
  EXPECT_EQ(v->selectedRange(), (ns::Range{6, 0}));
  key("Right", kCtrl);
  key("Right", kCtrl);
  EXPECT_EQ(v->selectedRange(), (ns::Range{11, 0}));
  key("Right", kCtrl);
  EXPECT_EQ(v->selectedRange(), (ns::Range{17, 0}));
}

// Refuses every change: undo must not go around it.
struct Refusing : TextFieldDelegate {
  bool refuse = false;
  bool shouldChangeCharactersInRange(TextField&, ns::Range, const std::string&) override { return !refuse; }
};

TEST_F(TextEditingHabitsTest, UndoAsksTheDelegateLikeAnyChange) {
  auto f = field();
  auto d = std::make_shared<Refusing>();
  f->setDelegate(d);
  typeEach("abc");
  d->refuse = true;
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "abc");
  EXPECT_TRUE(f->canUndo());
  d->refuse = false;
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "");
}

TEST_F(TextEditingHabitsTest, ACompositionOverASelectionIsOneStepWithWhatItCommits) {
  auto f = field();
  typeEach("keep this");
  key("A", kCtrl);
  window->sendMarkedText("x", 1);
  type("xy");
  EXPECT_EQ(f->text(), "xy");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "keep this");
}

TEST_F(TextEditingHabitsTest, APasswordFieldShowsBulletsAndGivesNothingAway) {
  auto f = field();
  f->setSecureTextEntry(true);
  typeEach("WWWW");
  clock->advance(0.5);  // the caret blinks off
  cg::Rect wide = testpixels::inkBox(*picture(), f->frame(), {255, 255, 255, 255});
  f->setText("iiii");
  clock->advance(1);
  cg::Rect narrow = testpixels::inkBox(*picture(), f->frame(), {255, 255, 255, 255});
  EXPECT_NEAR(wide.width(), narrow.width(), 1);  // four bullets either way
  EXPECT_GT(wide.width(), 10);
  EXPECT_EQ(f->text(), "iiii");
  Pasteboard::generalPasteboard().setString("before");
  key("A", kCtrl);
  key("C", kCtrl);
  key("X", kCtrl);
  EXPECT_EQ(Pasteboard::generalPasteboard().string(), "before");
  EXPECT_EQ(f->text(), "iiii");
  // Moving and deleting by words goes to the ends: there are no words to see.
  key("End");
  key("BackSpace", kCtrl);
  EXPECT_EQ(f->text(), "");
  key("Z", kCtrl);
  EXPECT_EQ(f->text(), "iiii");
  // The caret follows the bullets.
  f->setSelectedRange({2, 0});
  float mid = f->caretRect().x();
  f->setSelectedRange({4, 0});
  EXPECT_GT(f->caretRect().x(), mid + 5);
  f->setSecureTextEntry(false);
  clock->advance(1);
  cg::Rect shown = testpixels::inkBox(*picture(), f->frame(), {255, 255, 255, 255});
  EXPECT_LT(shown.width(), wide.width());
}

}  // namespace
