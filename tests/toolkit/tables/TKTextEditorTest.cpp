// The text editor: the height rule, the switch between its one-line field
// and its text view, return, overflow, password entry, and what its delegate
// hears.
#include <gtest/gtest.h>

#include "platform/text/TextMeasure.h"
#include "tests/platform/ui/Pixels.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/tables/TKTextEditor.h"

namespace {

struct EditorLog : TKTextEditorDelegate {
  std::vector<std::string> log;
  bool allowReturn = true, allowResize = true;
  void textEditorDidBeginEditing(TKTextEditor&) override { log.push_back("begin"); }
  void textEditorDidEndEditing(TKTextEditor&) override { log.push_back("end"); }
  bool textEditorShouldReturn(TKTextEditor&) override { return allowReturn; }
  void textEditorDidChange(TKTextEditor&) override { log.push_back("change"); }
  bool shouldResizeBy(TKTextEditor&, float h) override {
    log.push_back("resize " + std::to_string(int(h)));
    return allowResize;
  }
};

class TKTextEditorTest : public tktables::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    editor = std::make_shared<TKTextEditor>(cg::Rect(10, 100, 331, 0));
    editor->setFont(ui::Font::systemFontOfSize(16));
    L = ui::TKLineHeight(editor->font());
    measurer = std::make_unique<ui::ScopedMeasurer>(std::make_shared<ui::FixedAdvanceMeasurer>(10, L));
    editor->setDelegate(delegate);
    window->addSubview(editor);
    editor->setFrame(cg::Rect(10, 100, 331, editor->heightThatFits()));
    window->layoutIfNeeded();
  }
  void typeLine(const std::string& text) {
    for (char c : text) {
      window->sendKey({"", std::string(1, c), 0});
      ns::RunLoop::main().runUntilIdle();
    }
  }
  std::shared_ptr<TKTextEditor> editor;
  std::shared_ptr<EditorLog> delegate = std::make_shared<EditorLog>();
  std::unique_ptr<ui::ScopedMeasurer> measurer;
  float L = 0;
};

TEST_F(TKTextEditorTest, AnEmptyEditorIsOneLineHigh) {
  EXPECT_EQ(editor->heightThatFits(), L + 18);
  editor->setShowsExtraLine(true);
  EXPECT_EQ(editor->heightThatFits(), 2 * L + 18);
  editor->setShowsExtraLine(false);
  editor->setMinNumberOfLines(3);
  EXPECT_EQ(editor->heightThatFits(), 3 * L + 18);
  EXPECT_EQ(editor->sizeThatFits({200, 0}), cg::Size(200, 3 * L + 18));
  EXPECT_FALSE(editor->textView());
}

TEST_F(TKTextEditorTest, ItGrowsIntoATextViewAndStopsAtItsMaximum) {
  editor->setMaxNumberOfLines(3);
  editor->becomeFirstResponder();
  typeLine(std::string(25, 'a'));
  EXPECT_FALSE(editor->textView());  // one line of 30 holds it
  typeLine(std::string(10, 'b'));    // 35 characters: two lines
  ASSERT_TRUE(editor->textView());
  EXPECT_FALSE(editor->textView()->isHidden());
  EXPECT_TRUE(editor->textField()->isHidden());
  EXPECT_TRUE(editor->textView()->isFirstResponder());
  EXPECT_EQ(editor->text(), std::string(25, 'a') + std::string(10, 'b'));
  EXPECT_EQ(editor->frame().height(), 2 * L + 18);
  EXPECT_FALSE(editor->textView()->isScrollEnabled());

  typeLine(std::string(70, 'c'));  // 105 characters: four lines
  EXPECT_EQ(editor->frame().height(), 3 * L + 18);
  EXPECT_TRUE(editor->overflowed());
  EXPECT_TRUE(editor->textView()->overflowed());
  EXPECT_TRUE(editor->textView()->isScrollEnabled());

  for (int i = 0; i < 20; ++i) window->sendKey({"BackSpace", "", 0});
  EXPECT_FALSE(editor->overflowed());
  EXPECT_FALSE(editor->textView()->isScrollEnabled());
  // Back to one line: the field again, the editing going on there.
  editor->setText("short");
  EXPECT_TRUE(editor->textView()->isHidden());
  EXPECT_FALSE(editor->textField()->isHidden());
  EXPECT_EQ(editor->frame().height(), L + 18);
  ns::RunLoop::main().runUntilIdle();
  // The switches between the inputs are not the delegate's business.
  EXPECT_EQ(std::count(delegate->log.begin(), delegate->log.end(), "begin"), 1);
  EXPECT_EQ(std::count(delegate->log.begin(), delegate->log.end(), "end"), 0);
}

TEST_F(TKTextEditorTest, ReturnInTheFieldOpensALine) {
  editor->becomeFirstResponder();
  typeLine("hello");
  window->sendKey({"Return", "", 0});
  ASSERT_TRUE(editor->textView());
  EXPECT_FALSE(editor->textView()->isHidden());
  EXPECT_EQ(editor->text(), "hello\n ");
  EXPECT_EQ(editor->frame().height(), 2 * L + 18);

  auto other = std::make_shared<TKTextEditor>(cg::Rect(10, 300, 331, 40));
  auto refusing = std::make_shared<EditorLog>();
  refusing->allowReturn = false;
  other->setDelegate(refusing);
  window->addSubview(other);
  other->becomeFirstResponder();
  typeLine("hello");
  window->sendKey({"Return", "", 0});
  EXPECT_FALSE(other->textView());
  EXPECT_EQ(other->text(), "hello");
}

TEST_F(TKTextEditorTest, ADelegateMayKeepTheFrameWhileTheInputsSwitch) {
  delegate->allowResize = false;
  cg::Rect before = editor->frame();
  editor->setText(std::string(45, 'x'));
  EXPECT_EQ(editor->frame(), before);
  ASSERT_TRUE(editor->textView());
  EXPECT_FALSE(editor->textView()->isHidden());
  EXPECT_EQ(delegate->log.back(), "resize " + std::to_string(int(L)));
}

TEST_F(TKTextEditorTest, ContentStaysAtTheTopWhileItAllShows) {
  editor->setText(std::string(45, 'x'));
  editor->textView()->setContentSize({300, 500});
  editor->textView()->setContentOffset({0, 40}, false);
  EXPECT_EQ(editor->textView()->contentOffset().y, 0);
  editor->textView()->setOverflowed(true);
  editor->textView()->setContentOffset({0, 40}, false);
  EXPECT_EQ(editor->textView()->contentOffset().y, 40);
}

TEST_F(TKTextEditorTest, APasswordIsBulletsInTheFieldAndInTheTextViewItGrowsInto) {
  window->setBackgroundColor(cg::Color::white());
  editor->setBackgroundColor(cg::Color::white());
  // The ink of the editor's text: bullets are as wide for "W" as for "i".
  auto ink = [&](const std::string& text) {
    editor->setText(text);
    window->layoutIfNeeded();
    return testpixels::inkBox(*window->snapshot(), editor->frame(), {255, 255, 255, 255});
  };
  cg::Rect plainW = ink(std::string(8, 'W')), plainI = ink(std::string(8, 'i'));
  EXPECT_GT(plainW.width(), plainI.width() + 20);  // the measure tells them apart

  editor->setSecureTextEntry(true);
  EXPECT_TRUE(editor->textField()->secureTextEntry());
  cg::Rect oneW = ink(std::string(8, 'W')), oneI = ink(std::string(8, 'i'));
  EXPECT_FALSE(editor->textView());
  EXPECT_GT(oneW.width(), 10);
  EXPECT_NEAR(oneW.width(), oneI.width(), 1);
  // Forty characters take two lines: the text view made for them masks too.
  cg::Rect twoW = ink(std::string(40, 'W'));
  ASSERT_TRUE(editor->textView());
  EXPECT_FALSE(editor->textView()->isHidden());
  EXPECT_TRUE(editor->textView()->secureTextEntry());
  cg::Rect twoI = ink(std::string(40, 'i'));
  EXPECT_GT(twoW.width(), oneW.width());
  EXPECT_NEAR(twoW.width(), twoI.width(), 1);
  EXPECT_NEAR(twoW.height(), twoI.height(), 1);
  EXPECT_EQ(editor->text(), std::string(40, 'i'));
}

}  // namespace
