// The ruled note pad: where its lines fall, how the ruling grows with the
// text and follows its scrolling, and a delegate that answers only some calls.
#include <gtest/gtest.h>

#include <set>

#include "Classes/notes/DTNotePadView.h"
#include "platform/graphics/Context.h"
#include "tests/platform/ui/WindowFixture.h"

namespace {

// The pixel rows a lines view of the size draws on, on white.
std::set<int> ruledRows(cg::Size size) {
  LinesView lines(cg::Rect(0, 0, size.width, size.height));
  cg::Context ctx = cg::Context::bitmap(size.width, size.height);
  ctx.setFillColor(cg::Color::white());
  ctx.fillRect(cg::Rect(0, 0, size.width, size.height));
  lines.drawRect(ctx, lines.bounds());
  auto image = ctx.makeImage();
  std::set<int> rows;
  for (int y = 0; y < int(size.height); ++y)
    if (image->pixelAt(int(size.width) / 2, y).r < 250) rows.insert(y);
  return rows;
}

// A ruled row for the line at y: cairo puts a one-point line, unsmoothed, on
// the pixel row at or just above it.
bool isLineRow(int row, int y) { return row == y || row == y - 1; }

TEST(DTNotePadView, RulesLinesEveryNineteenPointsFromTwentyFour) {
  auto rows = ruledRows({120, 100});
  std::vector<int> expected = {24, 43, 62, 81};
  ASSERT_EQ(rows.size(), expected.size());
  size_t i = 0;
  for (int row : rows) EXPECT_TRUE(isLineRow(row, expected[i++])) << row;

  auto tall = ruledRows({40, 700});
  ASSERT_EQ(tall.size(), 36u);  // 24 + 19k below 700: k = 0 .. 35
  EXPECT_TRUE(isLineRow(*tall.rbegin(), 689));
}

TEST(DTNotePadView, RulingCoversTheTextAndTwoPadHeightsAndScrollsWithIt) {
  auto pad = DTNotePadView::create(cg::Rect(0, 0, 300, 100));
  EXPECT_EQ(pad->textView()->frame(), cg::Rect(24, 0, 276, 100));
  EXPECT_EQ(pad->linesView()->frame().y(), 8);

  pad->contentSizeDidChange(cg::Size{276, 500});
  EXPECT_EQ(pad->linesView()->frame(), cg::Rect(0, 8, 300, 700));

  std::string many;
  for (int i = 0; i < 40; ++i) many += "line\n";
  pad->textView()->setText(many);
  float content = pad->textView()->contentSize().height;
  EXPECT_GT(content, 100);
  EXPECT_EQ(pad->linesView()->frame().height(), content + 200);

  float rest = pad->textView()->minimumContentOffset().y;  // the top inset shows
  pad->textView()->setContentOffset(cg::Point{0, rest});
  EXPECT_EQ(pad->linesView()->transform().ty, 0);
  pad->textView()->setContentOffset(cg::Point{0, rest + 57});
  EXPECT_EQ(pad->linesView()->transform().ty, -57);
  EXPECT_EQ(pad->linesView()->frame().y(), 8);  // moved by the transform only
}

class NotePadInWindow : public WindowFixture {};

TEST_F(NotePadInWindow, FollowsTheKeyboardWhenAClientAsksAndReturns) {
  auto pad = DTNotePadView::create(cg::Rect(100, 200, 400, 500));
  window->addSubview(pad);
  ns::Value shown(ns::Dictionary{
      {ui::KeyboardFrameEndUserInfoKey, ns::Value(ns::Array{0.0, 416.0, 1024.0, 352.0})},
      {ui::KeyboardAnimationDurationUserInfoKey, 0.0},
      {ui::KeyboardAnimationCurveUserInfoKey, 0}});
  pad->liftMainViewWhenKeybordAppears(shown);
  ui::Animator::finishAll();
  EXPECT_EQ(pad->textView()->frame(), cg::Rect(24, 0, 376, 216));  // keyboard top 416 - pad top 200
  pad->returnMainViewToInitialposition(shown);
  ui::Animator::finishAll();
  EXPECT_EQ(pad->textView()->frame(), cg::Rect(24, 0, 376, 500));
}

struct ChangeOnly : DTNotePadViewDelegate {
  void notePadViewDidChange(DTNotePadView&) override { ++changes; }
  int changes = 0;
};

TEST_F(NotePadInWindow, EditsWithAPartialDelegateOrNone) {
  auto pad = DTNotePadView::create(cg::Rect(0, 0, 300, 100));
  window->addSubview(pad);
  ASSERT_TRUE(pad->textView()->becomeFirstResponder());
  pad->textView()->insertText("no delegate");
  auto delegate = std::make_shared<ChangeOnly>();
  pad->setDelegate(delegate);
  pad->textView()->insertText("x");
  EXPECT_EQ(delegate->changes, 1);
  delegate.reset();
  pad->textView()->insertText("y");  // the delegate went away
  EXPECT_EQ(pad->textView()->text(), "no delegatexy");
}

}  // namespace
