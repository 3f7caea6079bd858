// Text fields: typing, an input method's composition, selection, copy and
// paste, right-to-left text, and the keyboard that follows the first responder.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "WindowFixture.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/Label.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"

using namespace ui;
using testpixels::inkBox;

namespace {

const cg::RGBA kWhite{255, 255, 255, 255};
// Alef, then five beh: the alef rises above the others, so its column tells
// which end the first letter was drawn at.
const std::string kAlefBeh = "\xD8\xA7\xD8\xA8\xD8\xA8\xD8\xA8\xD8\xA8\xD8\xA8";
const std::string kKaf = "\xDA\xA9";
const std::string kTeh = "\xD8\xAA";

class TextInputTest : public WindowFixture {
 protected:
  std::shared_ptr<TextField> addField(cg::Rect frame) {
    auto field = std::make_shared<TextField>(frame);
    field->setFont(Font::systemFontOfSize(20));
    window->addSubview(field);
    return field;
  }
};

// Records the keyboard notifications and their frames.
struct KeyboardLog {
  std::vector<std::string> names;
  std::vector<cg::Rect> ends;
  ns::Value last;
  std::vector<ns::Observer> observers;
  KeyboardLog() {
    for (const char* name : {KeyboardWillShowNotification, KeyboardDidShowNotification,
                             KeyboardWillHideNotification, KeyboardDidHideNotification}) {
      observers.push_back(ns::NotificationCenter::defaultCenter().addObserver(name, [this, name](const ns::Value& info) {
        names.push_back(name);
        ends.push_back(keyboardRect(info, KeyboardFrameEndUserInfoKey));
        last = info;
      }));
    }
  }
};

// The horizontal middle of the columns that have ink above `top` inside `box`.
float tallInkCentre(const cg::Image& image, cg::Rect box, float top) {
  float sum = 0;
  int n = 0;
  for (int x = int(box.minX()); x < int(box.maxX()); ++x)
    for (int y = int(box.minY()); y < int(top); ++y)
      if (!testpixels::near(image.pixelAt(x, y), kWhite, 60)) {
        sum += float(x);
        ++n;
        break;
      }
  return n ? sum / float(n) : -1;
}

}  // namespace

TEST_F(TextInputTest, TypingGoesToTheFieldThatIsFirstResponder) {
  auto a = addField(cg::Rect(10, 10, 300, 30));
  auto b = addField(cg::Rect(10, 50, 300, 30));
  type("lost");
  tap({20, 20});
  EXPECT_TRUE(a->isEditing());
  cg::Rect before = a->textInputRect();
  type("one");
  // The input method's place follows the caret, in window coordinates.
  cg::Rect after = a->textInputRect();
  EXPECT_GT(after.x(), before.x() + 20);
  EXPECT_TRUE(a->frame().contains({after.x(), after.midY()}));
  tap({20, 60});
  type("two");
  key("BackSpace");
  EXPECT_EQ(a->text(), "one");
  EXPECT_EQ(b->text(), "tw");
  EXPECT_FALSE(a->isEditing());
}

// A composition shows underlined at the caret without entering the text;
// committing enters it; ending it empty enters nothing.
TEST_F(TextInputTest, AnInputMethodsPreeditShowsUnderlinedAndCommitInserts) {
  auto field = addField(cg::Rect(10, 10, 400, 40));
  tap({20, 20});
  type("ab");
  window->sendMarkedText("xx", 2);
  EXPECT_EQ(field->text(), "ab");
  EXPECT_EQ(field->markedText(), "xx");
  clock->advance(0.5);  // the caret blinks off
  EXPECT_FALSE(field->isCaretVisible());
  cg::Rect withPreedit = inkBox(*picture(), field->frame(), kWhite);
  key("BackSpace");  // the input method's, not the field's
  EXPECT_EQ(field->text(), "ab");

  window->sendMarkedText(kKaf + kTeh, 1);
  EXPECT_EQ(field->markedText(), kKaf + kTeh);
  type(kKaf + kTeh);  // the commit
  EXPECT_EQ(field->text(), "ab" + kKaf + kTeh);
  EXPECT_EQ(field->markedText(), "");
  EXPECT_EQ(field->selectedRange(), (ns::Range{4, 0}));

  field->setText("ab");
  window->sendMarkedText("xx", 2);
  window->sendMarkedText("", 0);  // given up
  EXPECT_EQ(field->text(), "ab");
  clock->advance(0.5);
  cg::Rect plain = inkBox(*picture(), field->frame(), kWhite);
  EXPECT_GT(withPreedit.maxY(), plain.maxY() + 0.5f);  // the underline below the letters
  EXPECT_GT(withPreedit.width(), plain.width());

  // A composition replaces the selection; resigning keeps what was composed.
  key("Left", KeyModifierShift);
  window->sendMarkedText("q", 1);
  EXPECT_EQ(field->text(), "a");
  field->resignFirstResponder();
  EXPECT_EQ(field->text(), "aq");
}

TEST_F(TextInputTest, SelectionWithKeysAndMouseCopiesCutsAndPastes) {
  auto field = addField(cg::Rect(10, 10, 400, 40));
  tap({20, 20});
  type("hello world");
  for (int i = 0; i < 5; ++i) key("Left", KeyModifierShift);
  EXPECT_EQ(field->selectedRange(), (ns::Range{6, 5}));
  key("C", KeyModifierControl);
  EXPECT_EQ(Pasteboard::generalPasteboard().string(), "world");
  key("End");
  key("V", KeyModifierControl);
  EXPECT_EQ(field->text(), "hello worldworld");
  key("Home");
  key("Right", KeyModifierShift);
  key("X", KeyModifierControl);
  EXPECT_EQ(field->text(), "ello worldworld");
  EXPECT_EQ(Pasteboard::generalPasteboard().string(), "h");

  // A drag from the left end across the text selects from its start.
  cg::Rect r = field->textRectForBounds(field->bounds());
  clock->advance(1);  // not a second tap
  touch(TouchPhase::Began, {10 + r.x() + 1, 30});
  EXPECT_EQ(field->selectedRange(), (ns::Range{0, 0}));
  touch(TouchPhase::Moved, {300, 30});
  touch(TouchPhase::Ended, {300, 30});
  EXPECT_EQ(field->selectedRange().location, 0u);
  EXPECT_GT(field->selectedRange().length, 5u);
  key("A", KeyModifierControl);
  type("new");
  EXPECT_EQ(field->text(), "new");
}

TEST_F(TextInputTest, TheDelegateHearsEditingAndMayRefuseChanges) {
  struct Delegate : TextFieldDelegate {
    std::vector<std::string> calls;
    bool mayEnd = true;
    bool shouldChangeCharactersInRange(TextField&, ns::Range r, const std::string& s) override {
      calls.push_back("change " + std::to_string(r.location) + "+" + std::to_string(r.length) + " " + s);
      return s.find('9') == std::string::npos;
    }
    void textFieldDidBeginEditing(TextField&) override { calls.push_back("begin"); }
    bool textFieldShouldEndEditing(TextField&) override { return mayEnd; }
    void textFieldDidEndEditing(TextField&) override { calls.push_back("end"); }
    bool textFieldShouldReturn(TextField& f) override {
      calls.push_back("return");
      f.resignFirstResponder();
      return true;
    }
  };
  auto delegate = std::make_shared<Delegate>();
  auto field = addField(cg::Rect(10, 10, 400, 40));
  field->setDelegate(delegate);
  int changed = 0;
  field->addTarget(this, [&](Control&) { ++changed; }, ControlEventEditingChanged);
  EXPECT_TRUE(field->becomeFirstResponder());
  type("a9");
  type("ab");
  key("BackSpace");
  delegate->mayEnd = false;
  EXPECT_FALSE(field->resignFirstResponder());
  delegate->mayEnd = true;
  key("Return");
  EXPECT_EQ(field->text(), "a");
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"begin", "change 0+0 a9", "change 0+0 ab", "change 1+1 ",
                                                      "return", "end"}));
}

// Arabic runs right to left: the first letter (the tall alef) is drawn at the
// right end, in a label and in a field; left and right alignment are the
// screen's whichever way the text runs.
TEST_F(TextInputTest, ArabicIsDrawnRightToLeftInLabelsAndFields) {
  struct Case {
    TextAlignment alignment;
    bool inkAtRight;
  } cases[] = {{TextAlignment::Left, false}, {TextAlignment::Right, true}};
  for (const auto& c : cases) {
    auto label = std::make_shared<Label>(cg::Rect(10, 100, 400, 60));
    label->setFont(Font::fontWithName("GeezaPro", 30));
    label->setTextAlignment(c.alignment);
    label->setText(kAlefBeh);
    auto field = addField(cg::Rect(10, 200, 400, 60));
    field->setFont(Font::fontWithName("GeezaPro", 30));
    field->setTextAlignment(c.alignment);
    field->setText(kAlefBeh);
    window->addSubview(label);
    auto image = picture();
    for (View* v : {static_cast<View*>(label.get()), static_cast<View*>(field.get())}) {
      cg::Rect box = inkBox(*image, v->frame(), kWhite);
      ASSERT_FALSE(box.isEmpty());
      float alef = tallInkCentre(*image, box, box.minY() + box.height() * 0.3f);
      EXPECT_GT(alef, box.midX()) << "alef not at the right end";
      if (c.inkAtRight) EXPECT_GT(box.maxX(), v->frame().maxX() - 20);
      else EXPECT_LT(box.minX(), v->frame().minX() + 20);
    }
    label->removeFromSuperview();
    field->removeFromSuperview();
  }
}

// The keyboard shows while a field is first responder, with the tablet's
// keyboard frame; moving between fields keeps it; resigning hides it.
TEST_F(TextInputTest, BecomingAndResigningFirstResponderPostsTheKeyboardNotifications) {
  KeyboardLog log;
  auto a = addField(cg::Rect(10, 10, 300, 30));
  auto b = addField(cg::Rect(10, 50, 300, 30));
  EXPECT_TRUE(a->becomeFirstResponder());
  EXPECT_EQ(log.names, (std::vector<std::string>{KeyboardWillShowNotification}));
  EXPECT_EQ(log.ends[0], cg::Rect(0, 416, 1024, 352));
  EXPECT_EQ(keyboardRect(log.last, KeyboardFrameBeginUserInfoKey), cg::Rect(0, 768, 1024, 352));
  EXPECT_EQ(keyboardRect(log.last, KeyboardBoundsUserInfoKey), cg::Rect(0, 0, 1024, 352));
  EXPECT_EQ(keyboardPoint(log.last, KeyboardCenterEndUserInfoKey), (cg::Point{512, 592}));
  EXPECT_DOUBLE_EQ(log.last[KeyboardAnimationDurationUserInfoKey].doubleValue(), 0.3);
  EXPECT_EQ(log.last[KeyboardAnimationCurveUserInfoKey].intValue(), int(AnimationCurve::EaseInOut));
  clock->advance(0.29);
  EXPECT_EQ(log.names.size(), 1u);
  clock->advance(0.02);
  EXPECT_EQ(log.names.back(), KeyboardDidShowNotification);
  EXPECT_TRUE(Keyboard::shared().isVisible());

  EXPECT_TRUE(b->becomeFirstResponder());
  clock->advance(1);
  EXPECT_EQ(log.names.size(), 2u);

  EXPECT_TRUE(b->resignFirstResponder());
  EXPECT_EQ(log.names.back(), KeyboardWillHideNotification);
  EXPECT_EQ(log.ends.back(), cg::Rect(0, 768, 1024, 352));
  clock->advance(0.3);
  EXPECT_EQ(log.names.back(), KeyboardDidHideNotification);
  EXPECT_FALSE(Keyboard::shared().isVisible());

  // A field leaving the window while editing takes the keyboard with it.
  EXPECT_TRUE(a->becomeFirstResponder());
  a->removeFromSuperview();
  EXPECT_FALSE(a->isEditing());
  EXPECT_EQ(log.names.back(), KeyboardWillHideNotification);
}

TEST_F(TextInputTest, ThePortraitKeyboardAndAnAccessoryViewAboveIt) {
  Screen::main().setBounds(cg::Rect(0, 0, 768, 1024));
  KeyboardLog log;
  auto field = addField(cg::Rect(10, 10, 300, 30));
  field->becomeFirstResponder();
  EXPECT_EQ(log.ends.back(), cg::Rect(0, 760, 768, 264));
  field->resignFirstResponder();
  Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));

  auto bar = std::make_shared<View>(cg::Rect(0, 0, 1024, 44));
  field->setInputAccessoryView(bar);
  field->becomeFirstResponder();
  EXPECT_EQ(log.ends.back(), cg::Rect(0, 372, 1024, 396));
  EXPECT_EQ(bar->superview(), window.get());
  clock->advance(0.5);
  EXPECT_EQ(bar->presentationFrame(), cg::Rect(0, 372, 1024, 44));
  field->resignFirstResponder();
  clock->advance(0.5);
  EXPECT_EQ(bar->superview(), nullptr);
}

TEST_F(TextInputTest, SearchBarTellsItsDelegateOfEditingSearchAndCancel) {
  struct Delegate : SearchBarDelegate {
    std::vector<std::string> calls;
    void searchBarTextDidBeginEditing(SearchBar&) override { calls.push_back("begin"); }
    void searchBarTextDidEndEditing(SearchBar&) override { calls.push_back("end"); }
    void textDidChange(SearchBar&, const std::string& t) override { calls.push_back("text " + t); }
    void searchBarSearchButtonClicked(SearchBar& bar) override {
      calls.push_back("search");
      bar.resignFirstResponder();
    }
    void searchBarCancelButtonClicked(SearchBar&) override { calls.push_back("cancel"); }
  };
  auto delegate = std::make_shared<Delegate>();
  auto bar = std::make_shared<SearchBar>(cg::Rect(0, 100, 400, 0));
  bar->setDelegate(delegate);
  bar->setPlaceholder("Search");
  bar->setShowsCancelButton(true);
  window->addSubview(bar);
  EXPECT_EQ(bar->frame().height(), SearchBar::kHeight);
  EXPECT_EQ(bar->subviews().front().get(), bar->backgroundView());

  EXPECT_TRUE(bar->becomeFirstResponder());
  EXPECT_TRUE(bar->isFirstResponder());
  type("good");
  bar->setText(bar->text() + " OR ");
  TextField& field = *bar->searchField();
  cg::Rect clear = field.convertRectToView(field.clearButtonRect(), nullptr);
  ASSERT_FALSE(clear.isEmpty());
  tap({clear.midX(), clear.midY()});
  EXPECT_EQ(bar->text(), "");
  EXPECT_TRUE(field.clearButtonRect().isEmpty());  // nothing left to clear
  type("x");
  key("Return");
  EXPECT_FALSE(bar->isFirstResponder());
  cg::Rect cancel = bar->cancelButton()->frame();
  tap({cancel.midX(), 100 + cancel.midY()});
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"begin", "text good", "text good OR ", "text ", "text x",
                                                      "search", "end", "cancel"}));
}

// A double tap selects the word under it, in Latin and Arabic alike; between
// words it leaves the caret there.
TEST_F(TextInputTest, ADoubleTapSelectsTheWordUnderIt) {
  auto field = addField(cg::Rect(10, 10, 600, 40));
  field->becomeFirstResponder();
  struct Case {
    std::string text;
    float at;  // where to tap, as a share of the text's drawn width
    ns::Range selected;
  } cases[] = {
      {"alpha beta gamma", 0.5f, {6, 4}},
      {"alpha beta gamma", 0.05f, {0, 5}},
      {"alpha beta gamma", 0.98f, {11, 5}},
      {kKaf + kTeh + " " + kAlefBeh, 0.05f, {3, 6}},  // right to left: the last word is at the left
  };
  for (const auto& c : cases) {
    field->setText(c.text);
    clock->advance(0.5);
    cg::Rect ink = inkBox(*picture(), field->frame().insetBy(1, 1), kWhite);
    cg::Point p{ink.minX() + ink.width() * c.at, field->frame().midY()};
    tap(p);
    tap(p);
    EXPECT_EQ(field->selectedRange(), c.selected) << c.text << " at " << c.at;
    clock->advance(1);  // the next tap is a first one again
  }
}

// A delegate may move first responder on while editing ends: the field passed
// over never begins or ends, and the keyboard stays up for the last one.
TEST_F(TextInputTest, ADelegateMovingFirstResponderOnWhileEditingEnds) {
  struct Delegate : TextFieldDelegate {
    std::vector<std::string> calls;
    std::shared_ptr<TextField> next;
    void textFieldDidBeginEditing(TextField& f) override { calls.push_back("begin " + f.placeholder()); }
    void textFieldDidEndEditing(TextField& f) override {
      calls.push_back("end " + f.placeholder());
      if (next) std::exchange(next, nullptr)->becomeFirstResponder();
    }
  };
  auto delegate = std::make_shared<Delegate>();
  std::vector<std::shared_ptr<TextField>> fields;
  for (const char* name : {"a", "b", "c"}) {
    fields.push_back(addField(cg::Rect(10, 10 + 40 * float(fields.size()), 300, 30)));
    fields.back()->setPlaceholder(name);
    fields.back()->setDelegate(delegate);
  }
  KeyboardLog log;
  fields[0]->becomeFirstResponder();
  delegate->next = fields[2];
  fields[1]->becomeFirstResponder();
  EXPECT_TRUE(fields[2]->isFirstResponder());
  EXPECT_FALSE(fields[1]->isEditing());
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"begin a", "end a", "begin c"}));
  EXPECT_TRUE(Keyboard::shared().isVisible());
  EXPECT_EQ(log.names, (std::vector<std::string>{KeyboardWillShowNotification}));
}

// Turned with the keyboard up, the keyboard is shown again at the new size.
TEST_F(TextInputTest, TurningTheScreenShowsTheKeyboardAgainAtItsNewSize) {
  KeyboardLog log;
  auto field = addField(cg::Rect(10, 10, 300, 30));
  field->becomeFirstResponder();
  clock->advance(0.5);
  ASSERT_TRUE(window->rotateToInterfaceOrientation(InterfaceOrientation::Portrait, false));
  EXPECT_EQ(log.names.back(), KeyboardWillShowNotification);
  EXPECT_EQ(keyboardRect(log.last, KeyboardFrameBeginUserInfoKey), cg::Rect(0, 416, 1024, 352));
  EXPECT_EQ(log.ends.back(), cg::Rect(0, 760, 768, 264));
  clock->advance(0.5);
  EXPECT_EQ(log.names.back(), KeyboardDidShowNotification);
  window->rotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight, false);
  EXPECT_EQ(Screen::main().bounds(), cg::Rect(0, 0, 1024, 768));
}
