// The multi-line text view: editing, its delegate, content size and scrolling.
#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "platform/ui/TextView.h"

using namespace ui;

namespace {

struct Recorder : TextViewDelegate {
  std::vector<std::string> calls;
  int scrolls = 0;
  void textViewDidBeginEditing(TextView&) override { calls.push_back("begin"); }
  void textViewDidChange(TextView& v) override { calls.push_back("change " + v.text()); }
  void textViewDidEndEditing(TextView&) override { calls.push_back("end"); }
  bool shouldChangeTextInRange(TextView&, ns::Range, const std::string& t) override { return t != "!"; }
  void scrollViewDidScroll(ScrollView*) override { ++scrolls; }
};

class TextViewTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    view = std::make_shared<TextView>(cg::Rect(100, 100, 300, 120));
    view->setFont(Font::fontWithName("Helvetica", 15));
    view->setDelegate(recorder);
    window->addSubview(view);
  }
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
  std::shared_ptr<TextView> view;
};

}  // namespace

TEST_F(TextViewTest, ATapBeginsEditingAndTheDelegateHearsEachChange) {
  tap({150, 110});
  EXPECT_TRUE(view->isFirstResponder());
  type("ab");
  type("!");
  key("Return");
  type("c");
  key("BackSpace");
  view->resignFirstResponder();
  EXPECT_EQ(view->text(), "ab\n");
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"begin", "change ab", "change ab\n", "change ab\nc",
                                                       "change ab\n", "end"}));
}

TEST_F(TextViewTest, ArrowsMoveByCharacterAndLineAndShiftSelects) {
  view->becomeFirstResponder();
  type("abcdef\nxyz");
  key("Up");
  EXPECT_EQ(view->selectedRange(), (ns::Range{3, 0}));  // below "d", as the column was
  key("End");
  EXPECT_EQ(view->selectedRange(), (ns::Range{6, 0}));
  key("Down", KeyModifierShift);
  EXPECT_EQ(view->selectedRange(), (ns::Range{6, 4}));
  key("Right");
  key("Home");
  EXPECT_EQ(view->selectedRange(), (ns::Range{7, 0}));
  key("Left");
  key("Delete");
  EXPECT_EQ(view->text(), "abcdefxyz");
  key("Tab");
  EXPECT_EQ(view->text(), "abcdef\txyz");
}

// The content grows with the text, its observer hears each new size, and the
// caret is kept in view by scrolling.
TEST_F(TextViewTest, ContentSizeFollowsTheTextAndTheCaretStaysInView) {
  std::vector<cg::Size> sizes;
  view->setContentSizeObserver([&](cg::Size s) { sizes.push_back(s); });
  view->becomeFirstResponder();
  for (int i = 0; i < 20; ++i) {
    type("line " + std::to_string(i));
    key("Return");
  }
  ASSERT_FALSE(sizes.empty());
  EXPECT_GT(sizes.back().height, 20 * 15);
  EXPECT_EQ(sizes.back().width, 300);
  EXPECT_GT(view->contentOffset().y, 0);
  EXPECT_GT(recorder->scrolls, 0);
  cg::Rect caret = view->caretRect();
  EXPECT_GE(caret.minY(), view->contentOffset().y);
  EXPECT_LE(caret.maxY(), view->contentOffset().y + 120);

  // Scrolled back to the top of the inset, animated on the clock.
  view->setContentInset({8, 0, 0, 0});
  float from = view->contentOffset().y;
  view->setContentOffset({0, -8}, true);
  clock->advance(0.1);
  EXPECT_GT(view->contentOffset().y, -8);
  EXPECT_LT(view->contentOffset().y, from);
  clock->advance(1);
  EXPECT_EQ(view->contentOffset(), (cg::Point{0, -8}));
}

TEST_F(TextViewTest, ADragScrollsWhileNotEditingAndSelectsWhileEditing) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "row " + std::to_string(i) + "\n";
  view->setText(text);
  script().drag({200, 200}, {200, 150}, 0.2);
  clock->advance(1);
  float scrolled = view->contentOffset().y;
  EXPECT_GT(scrolled, 30);  // less the distance that tells a drag from a tap
  EXPECT_FALSE(view->isFirstResponder());

  view->becomeFirstResponder();
  script().drag({115, 115}, {300, 170}, 0.2);
  clock->advance(1);
  EXPECT_EQ(view->contentOffset().y, scrolled);
  EXPECT_GT(view->selectedRange().length, 10u);
  EXPECT_TRUE(view->isScrollEnabled());
}

// A megabyte of text: set, drawn, edited at the end and scrolled through,
// with only what is seen laid out.
TEST_F(TextViewTest, AMegabyteOfTextStaysEditable) {
  std::string paragraph(100, 'x');
  for (int i = 10; i < 100; i += 10) paragraph[std::size_t(i)] = ' ';
  std::string text;
  while (text.size() < (1 << 20)) text += paragraph + "\n";
  view->setText(text);
  EXPECT_GT(view->contentSize().height, 10000 * 15);
  picture();
  view->becomeFirstResponder();
  std::size_t end = ns::length16(text);
  view->setSelectedRange({end, 0});
  type("!");  // refused by the delegate
  type("?");
  EXPECT_EQ(view->text().size(), text.size() + 1);
  EXPECT_GT(view->contentOffset().y, view->contentSize().height - 400);
  picture();
  view->setContentOffset({0, 0});
  picture();
  key("Up");  // to the paragraph before, and back into view
  EXPECT_LT(view->selectedRange().location, end - 1);
  EXPECT_GT(view->selectedRange().location, end - 101);
  EXPECT_GT(view->contentOffset().y, view->contentSize().height - 400);
}

// Page keys scroll by the view's height less a line and carry the caret along.
TEST_F(TextViewTest, PageKeysScrollAScreenAndCarryTheCaret) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i) + "\n";
  view->setText(text);
  view->becomeFirstResponder();
  view->setSelectedRange({0, 0});
  view->setContentOffset({0, 0});
  key("PageDown");
  float page = view->contentOffset().y;
  EXPECT_GT(page, 80);
  EXPECT_LT(page, 120);
  EXPECT_GT(view->selectedRange().location, 20u);
  EXPECT_GE(view->caretRect().minY(), page);
  key("PageDown", KeyModifierShift);
  EXPECT_GT(view->selectedRange().length, 20u);
  key("PageUp");
  key("PageUp");
  key("PageUp");
  EXPECT_EQ(view->contentOffset().y, view->minimumContentOffset().y);
  EXPECT_EQ(view->selectedRange().location, 0u);
}

// On ruled paper every line is the ruling's height, wrapped lines included,
// and the caret steps down by it.
TEST_F(TextViewTest, AFixedLineHeightSpacesEveryLineAlike) {
  view->setLineHeight(19);
  view->setText("one\ntwo\nthree");
  float three = view->contentSize().height;
  view->setText("one\ntwo\nthree\nfour");
  EXPECT_NEAR(view->contentSize().height - three, 19, 0.5);
  view->setText("w");
  float one = view->contentSize().height;
  view->setText(std::string(200, 'w'));  // wraps over several lines
  float extra = view->contentSize().height - one;
  EXPECT_GT(extra, 19);
  EXPECT_NEAR(std::fmod(extra + 0.25f, 19.0f), 0.25f, 0.5f) << extra;
  view->becomeFirstResponder();
  view->setText("a");
  float first = view->caretRect().minY();
  view->setText("a\nb");
  EXPECT_NEAR(view->caretRect().minY() - first, 19, 0.5);
}
