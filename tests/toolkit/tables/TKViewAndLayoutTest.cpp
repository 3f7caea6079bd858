// The styled base view, the flow and grid layouts, the error view and the
// style-drawn label: the numbers their rules give.
#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/tables/TKErrorView.h"
#include "toolkit/tables/TKLabel.h"
#include "toolkit/tables/TKLayout.h"
#include "toolkit/tables/TKView.h"

namespace {

std::shared_ptr<ui::View> box(float w, float h) { return std::make_shared<ui::View>(cg::Rect(0, 0, w, h)); }

// A view that answers the height it is asked about, whatever the width.
struct FixedHeightView : ui::View {
  explicit FixedHeightView(float h) : height(h) {}
  cg::Size sizeThatFits(cg::Size size) const override { return {size.width, height}; }
  float height;
};

std::vector<cg::Rect> frames(const ui::View& view) {
  std::vector<cg::Rect> out;
  for (const auto& sub : view.subviews()) out.push_back(sub->frame());
  return out;
}

TEST(TKLayouts, FlowSetsSubviewsInRowsLikeWords) {
  auto view = std::make_shared<TKView>(cg::Rect(0, 0, 140, 200));
  for (int i = 0; i < 3; ++i) view->addSubview(box(50, 20));
  TKFlowLayout flow;
  flow.setPadding(10);
  flow.setSpacing(5);
  cg::Size size = flow.layoutSubviews(view->subviews(), *view);
  EXPECT_EQ(frames(*view), (std::vector<cg::Rect>{{10, 10, 50, 20}, {65, 10, 50, 20}, {10, 35, 50, 20}}));
  EXPECT_EQ(size, cg::Size(130, 65));
}

TEST(TKLayouts, GridSetsSubviewsInEqualColumns) {
  auto view = std::make_shared<TKView>(cg::Rect(0, 0, 200, 300));
  for (int i = 0; i < 4; ++i) view->addSubview(std::make_shared<FixedHeightView>(30));
  auto grid = std::make_shared<TKGridLayout>();
  grid->setColumnCount(2);
  grid->setPadding(10);
  grid->setSpacing(5);
  cg::Size size = grid->layoutSubviews(view->subviews(), *view);
  EXPECT_EQ(frames(*view), (std::vector<cg::Rect>{{10, 15, 90, 30}, {105, 15, 90, 30}, {10, 50, 90, 30},
                                                   {105, 50, 90, 30}}));
  EXPECT_EQ(size, cg::Size(210, 90));
  // The view runs its layout on every layout pass.
  view->subviews()[0]->setFrame(cg::Rect());
  view->setLayout(grid);
  view->layoutSubviews();
  EXPECT_EQ(view->subviews()[0]->frame(), cg::Rect(10, 15, 90, 30));
}

TEST(TKLayouts, EmptyListsAndImpossibleColumnCounts) {
  auto view = std::make_shared<TKView>(cg::Rect(0, 0, 200, 100));
  TKFlowLayout flow;
  flow.setPadding(7);
  TKGridLayout grid;
  grid.setPadding(7);
  EXPECT_EQ(flow.layoutSubviews({}, *view), cg::Size(7, 14));
  EXPECT_EQ(grid.layoutSubviews({}, *view), cg::Size(7, 14));
  EXPECT_EQ(TKLayout().layoutSubviews({box(5, 5)}, *view), cg::Size());
  // The width is divided by the count: 0 or less is one column.
  for (int count : {0, -3}) {
    grid.setColumnCount(count);
    EXPECT_EQ(grid.columnCount(), 1);
  }
  view->addSubview(std::make_shared<FixedHeightView>(10));
  EXPECT_EQ(grid.layoutSubviews(view->subviews(), *view).width, 200);
}

// Counts the content drawn; a content step of the style draws it too.
struct CountingView : TKView {
  int drawn = 0;
  bool answersDrawLayer() const override { return true; }
  void drawLayer(TKStyleContext&, TKStyle&) override { ++drawn; }
  void drawContent(cg::Context&, cg::Rect) override { ++drawn; }
};

TEST(TKViews, TheContentIsDrawnOnceAndAViewWithoutStyleNeedsNoRoom) {
  auto ctx = cg::Context::bitmap(20, 20);
  CountingView plain;
  plain.setFrame(cg::Rect(0, 0, 20, 20));
  plain.drawRect(ctx, plain.bounds());
  EXPECT_EQ(plain.drawn, 1);
  EXPECT_EQ(plain.sizeThatFits({300, 300}), cg::Size());

  CountingView styled;
  styled.setFrame(cg::Rect(0, 0, 20, 20));
  styled.setStyle(TKSolidFillStyle::styleWithColor(cg::Color::red(), TKContentStyle::styleWithNext(nullptr)));
  styled.drawRect(ctx, styled.bounds());
  EXPECT_EQ(styled.drawn, 1);  // by the content step, not again after it
  EXPECT_EQ(styled.contentMode(), ui::ContentMode::Redraw);
}

TEST(TKViews, ALabelIsDrawnAndSizedByItsStyleAlone) {
  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  TKLabel label("hello");
  EXPECT_EQ(label.sizeThatFits({100, 100}), cg::Size());
  auto ctx = cg::Context::bitmap(60, 30);
  label.setFrame(cg::Rect(0, 0, 60, 30));
  label.drawRect(ctx, label.bounds());
  EXPECT_EQ(ctx.makeImage()->pixelAt(5, 15).a, 0);  // nothing without a style

  label.setStyle(TKTextStyle::styleWithColor(cg::Color::black(), nullptr));
  EXPECT_EQ(label.sizeThatFits({100, 100}), cg::Size(50, 20));
  // The same text again asks for no redraw.
  label.renderTree(ctx, true);
  ASSERT_FALSE(label.needsDisplay());
  label.setText("hello");
  EXPECT_FALSE(label.needsDisplay());
  label.setText("other");
  EXPECT_TRUE(label.needsDisplay());
}

class TKErrorViewTest : public ::testing::Test {
 protected:
  // Lines 20 points high for the title, 15 for the subtitle: each label's
  // font size sets the fixed measurer's line height.
  void SetUp() override {
    view = std::make_shared<TKErrorView>("Title", "Sub", tktables::filledImage(100, 100));
    view->titleView()->setFont(ui::Font::systemFontOfSize(20));
    view->subtitleView()->setFont(ui::Font::systemFontOfSize(15));
  }
  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 0)};
  std::shared_ptr<TKErrorView> view;
};

TEST_F(TKErrorViewTest, TheBlockIsCentredWithTwentyPointGaps) {
  view->setFrame(cg::Rect(0, 0, 320, 300));
  view->layoutSubviews();
  EXPECT_FALSE(view->imageView()->isHidden());
  EXPECT_EQ(view->imageView()->frame(), cg::Rect(110, 62, 100, 100));
  EXPECT_EQ(view->titleView()->frame().y(), 182);
  EXPECT_EQ(view->subtitleView()->frame().y(), 222);
  EXPECT_EQ(view->titleView()->frame().x(), 135);  // 50 wide, centred
}

TEST_F(TKErrorViewTest, TooLowForTheImageItIsLeftOut) {
  view->setFrame(cg::Rect(0, 0, 320, 170));
  view->layoutSubviews();
  EXPECT_TRUE(view->imageView()->isHidden());
  EXPECT_EQ(view->titleView()->frame().y(), 57);
  EXPECT_EQ(view->subtitleView()->frame().y(), 97);
}

TEST_F(TKErrorViewTest, ASubtitleAloneIsCentredAndALongOneWraps) {
  view->setImage(nullptr);
  view->setTitle("");
  view->setFrame(cg::Rect(0, 0, 320, 300));
  view->layoutSubviews();
  EXPECT_EQ(view->subtitleView()->frame().y(), std::floor(150 - 7.5f));
  view->setSubtitle(std::string(60, 'x') + " " + std::string(20, 'y'));
  view->layoutSubviews();
  EXPECT_LE(view->subtitleView()->frame().width(), 300);
  EXPECT_EQ(view->subtitleView()->frame().height(), 45);  // three lines of 30 characters at most
}

}  // namespace
