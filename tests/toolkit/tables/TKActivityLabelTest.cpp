// The activity label's seven looks and its layout, and the searchlight
// label's glint, on the virtual clock; both with Arabic text.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Application.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKActivityLabel.h"
#include "toolkit/tables/TKSearchlightLabel.h"

namespace {

// The columns and rows that hold ink darker or lighter than the background.
struct Ink {
  int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
  bool any() const { return maxX >= 0; }
};
Ink inkOf(const cg::Image& image) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelAt(x, y).a > 60) {
        ink.minX = std::min(ink.minX, x), ink.maxX = std::max(ink.maxX, x);
        ink.minY = std::min(ink.minY, y), ink.maxY = std::max(ink.maxY, y);
      }
  return ink;
}

class TKActivityLabelTest : public ::testing::Test {
 protected:
  void TearDown() override { ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::Portrait); }
  std::shared_ptr<TKActivityLabel> label(TKActivityLabelStyle style, const std::string& text, cg::Size size = {300, 200}) {
    auto l = std::make_shared<TKActivityLabel>(cg::Rect(0, 0, size.width, size.height), style, text);
    l->layoutSubviews();
    return l;
  }
  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
};

TEST_F(TKActivityLabelTest, ABezelIsCentredAroundSpinnerAndText) {
  auto l = label(TKActivityLabelStyle::BlackBezel, "Loading");
  // Spinner 24 high shrinks to the 20-point line: 20 + 6 + 70 wide, 20 high, and 15 around.
  EXPECT_EQ(l->bezelView()->frame(), cg::Rect(87, 75, 126, 50));
  EXPECT_EQ(l->label()->frame(), cg::Rect(41, 15, 70, 20));
  EXPECT_EQ(l->activityIndicator()->frame(), cg::Rect(15, 15, 20, 20));
  EXPECT_TRUE(l->bezelView()->style());
  EXPECT_FALSE(TKActivityLabel(TKActivityLabelStyle::WhiteBox).bezelView()->style());
}

TEST_F(TKActivityLabelTest, ABezelIsNoWiderThanTheScreenAsItIsTurned) {
  std::string wide(120, 'w');
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::Portrait);
  EXPECT_EQ(label(TKActivityLabelStyle::WhiteBezel, wide, {2000, 200})->bezelView()->frame().width(), 768 - 20);
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(label(TKActivityLabelStyle::WhiteBezel, wide, {2000, 200})->bezelView()->frame().width(), 1024 - 20);
}

TEST_F(TKActivityLabelTest, ABoxFillsTheViewAndCutsALongText) {
  auto l = label(TKActivityLabelStyle::WhiteBox, std::string(40, 'x'));
  EXPECT_EQ(l->bezelView()->frame(), cg::Rect(0, 0, 300, 200));
  EXPECT_EQ(l->backgroundColor(), cg::Color::white());
  EXPECT_EQ(l->label()->frame().width(), 300 - 2 * 8 - 26);
  EXPECT_EQ(l->label()->lineBreakMode(), ui::LineBreakMode::TruncateTail);
}

TEST_F(TKActivityLabelTest, AStoppedSpinnerTakesNoRoomAndComesBack) {
  auto l = label(TKActivityLabelStyle::Gray, "Loading");
  l->setIsAnimating(false);
  l->layoutSubviews();
  float left = std::floor(150 - 76 / 2.0f);
  EXPECT_EQ(l->label()->frame().x(), left + 6);
  EXPECT_EQ(l->activityIndicator()->frame().size, cg::Size(0, 0));
  l->setIsAnimating(true);
  l->layoutSubviews();
  EXPECT_EQ(l->activityIndicator()->frame().size, cg::Size(20, 20));
}

TEST_F(TKActivityLabelTest, AProgressBarGoesAboveTheText) {
  for (auto style : {TKActivityLabelStyle::BlackBox, TKActivityLabelStyle::BlackBanner}) {
    auto l = label(style, "Loading");
    EXPECT_EQ(l->progress(), 0);
    l->setProgress(0.5f);
    l->layoutSubviews();
    ASSERT_TRUE(l->progressView());
    float bar = l->progressView()->frame().height();
    cg::Rect f = l->progressView()->frame();
    EXPECT_EQ(f.x(), 6);
    EXPECT_EQ(f.width(), 300 - 12);
    float shift = style == TKActivityLabelStyle::BlackBanner ? 4 : 0;
    EXPECT_EQ(f.y(), 8 + std::floor(92 - (20 + bar + 6) / 2) + shift) << int(style);
    EXPECT_EQ(l->label()->frame().y(), f.y() + bar + 5);
    EXPECT_EQ(l->progress(), 0.5f);
  }
}

TEST_F(TKActivityLabelTest, TheSizeIsALineAndTheStylesPadding) {
  ui::Font font = ui::Font::systemFontOfSize(17);
  TKActivityLabel bezel(TKActivityLabelStyle::WhiteBezel), plain(TKActivityLabelStyle::Gray);
  bezel.setFont(font);
  plain.setFont(font);
  EXPECT_EQ(bezel.sizeThatFits({123, 5}), cg::Size(123, ui::TKLineHeight(font) + 30));
  EXPECT_EQ(plain.sizeThatFits({123, 5}), cg::Size(123, ui::TKLineHeight(font) + 16));
}

TEST(TKActivityLabelArabic, ArabicTextIsDrawnJoinedRightToLeft) {
  auto l = std::make_shared<TKActivityLabel>(cg::Rect(0, 0, 300, 60), TKActivityLabelStyle::White, "جارٍ التحميل");
  l->layoutSubviews();
  auto ctx = cg::Context::bitmap(300, 60);
  l->label()->renderTree(ctx, true);
  Ink ink = inkOf(*ctx.makeImage());
  ASSERT_TRUE(ink.any());
  float measured = ui::sizeWithFont(l->text(), l->font()).width;
  EXPECT_NEAR(ink.maxX - ink.minX, measured, 6);
}

class TKSearchlightLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    label = std::make_shared<TKSearchlightLabel>(cg::Rect(0, 0, 300, 40));
    label->setText("Search");
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<TKSearchlightLabel> label;
};

TEST_F(TKSearchlightLabelTest, TheGlintSweepsAndPausesOnTheRunLoopsClock) {
  EXPECT_EQ(label->textColor(), cg::Color::gray(0.25f));
  label->startAnimating();
  label->startAnimating();
  EXPECT_TRUE(label->isAnimating());
  EXPECT_TRUE(label->hasMask());
  EXPECT_EQ(label->spotlightPoint(), -0.5f);
  int redraws = 0;
  for (int tick = 1; tick <= 62; ++tick) {
    auto ctx = cg::Context::bitmap(300, 40);
    label->renderTree(ctx, true);  // clears the redraw request
    clock->advance(TKSearchlightLabel::kTick);
    if (label->needsDisplay()) ++redraws;
  }
  // One timer: 62 ticks make one sweep back to the start; the 12 ticks with
  // the glint past the text redraw nothing.
  EXPECT_EQ(label->spotlightPoint(), -0.5f);
  EXPECT_EQ(redraws, 50);
  label->stopAnimating();
  EXPECT_FALSE(label->isAnimating());
  EXPECT_FALSE(label->hasMask());
  clock->advance(1);
  // Stopping a label that is not animating still redraws it.
  auto ctx = cg::Context::bitmap(300, 40);
  label->renderTree(ctx, true);
  label->stopAnimating();
  EXPECT_TRUE(label->needsDisplay());
}

TEST_F(TKSearchlightLabelTest, TheTextKeepsToItsAlignmentInAnyScript) {
  for (const char* text : {"Search", "ابحث في القرآن"}) {
    label->setText(text);
    label->setTextAlignment(2);
    auto ctx = cg::Context::bitmap(300, 40);
    label->renderTree(ctx, true);
    Ink ink = inkOf(*ctx.makeImage());
    ASSERT_TRUE(ink.any()) << text;
    EXPECT_NEAR(ink.maxX, 299, 3) << text;
    float measured = label->sizeThatFits({}).width;
    EXPECT_NEAR(ink.maxX - ink.minX, measured, 6) << text;
    // Centred down the view by its capitals.
    EXPECT_NEAR((ink.minY + ink.maxY) / 2.0f, 20, 6) << text;
  }
}

TEST_F(TKSearchlightLabelTest, ArabicLettersAreDrawnJoined) {
  // The ink of the label's text, and pango's own shaped width for it.
  auto drawn = [&](const std::string& text) {
    label->setText(text);
    auto ctx = cg::Context::bitmap(300, 40);
    label->renderTree(ctx, true);
    Ink ink = inkOf(*ctx.makeImage());
    return ink.maxX - ink.minX + 1;
  };
  auto shaped = [&](const std::string& text) {
    auto ctx = cg::Context::bitmap(300, 40);
    PangoLayout* layout = pango_cairo_create_layout(ctx.cairo());
    pango_layout_set_font_description(layout, label->font().pangoDescription());
    pango_layout_set_text(layout, text.c_str(), -1);
    PangoRectangle ink;
    pango_layout_get_pixel_extents(layout, &ink, nullptr);
    g_object_unref(layout);
    return ink.width;
  };
  label->setFont(ui::Font::systemFontOfSize(20));
  const std::string joined = "بحث سهل";
  // The same letters kept apart by zero-width non-joiners take their
  // isolated forms, which are wider.
  const std::string apart = "ب\u200cح\u200cث س\u200cه\u200cل";
  int joinedInk = drawn(joined), apartInk = drawn(apart);
  EXPECT_NEAR(joinedInk, shaped(joined), 2);
  EXPECT_NEAR(apartInk, shaped(apart), 2);
  EXPECT_GT(apartInk, joinedInk + 8);
}

TEST_F(TKSearchlightLabelTest, TheGlintColoursTheTextUnderIt) {
  label->setFont(ui::Font::boldSystemFontOfSize(30));
  label->setText("MMMMMMMMMM");
  label->setTextColor(cg::Color::black());
  label->setSpotlightColor(cg::Color::red());
  label->startAnimating();
  for (int i = 0; i < 25; ++i) clock->advance(TKSearchlightLabel::kTick);  // the glint near the middle
  auto ctx = cg::Context::bitmap(300, 40);
  label->renderTree(ctx, true);
  auto image = ctx.makeImage();
  int red = 0, black = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 300; ++x) {
      cg::RGBA p = image->pixelAt(x, y);
      if (p.a > 200 && p.r > 200 && p.g < 60) ++red;
      if (p.a > 200 && p.r < 40) ++black;
    }
  EXPECT_GT(red, 20);
  EXPECT_GT(black, 20);
}

}  // namespace
