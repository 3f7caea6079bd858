// The styled button: per-state titles, images and styles with the normal
// state's values as the fallback, the font it draws in, its size, and where
// the image part of its style goes.
#include <gtest/gtest.h>

#include <functional>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/tables/TKButton.h"

namespace {

using ui::ControlStateDisabled;
using ui::ControlStateHighlighted;
using ui::ControlStateNormal;
using ui::ControlStateSelected;

TEST(TKButtons, StatesFallBackToNormal) {
  TKButton button;
  auto normal = TKSolidFillStyle::styleWithColor(cg::Color::red(), nullptr);
  auto pressed = TKSolidFillStyle::styleWithColor(cg::Color::blue(), nullptr);
  button.setTitle("Normal", ControlStateNormal);
  button.setStyle(normal, ControlStateNormal);
  std::function<void(TKButton&)> states[] = {[](TKButton& b) { b.setHighlighted(true); },
                                             [](TKButton& b) { b.setSelected(true); },
                                             [](TKButton& b) { b.setEnabled(false); }};
  for (const auto& set : states) {
    TKButton other;
    other.setTitle("Normal", ControlStateNormal);
    other.setStyle(normal, ControlStateNormal);
    set(other);
    EXPECT_EQ(other.titleForCurrentState(), "Normal");
    EXPECT_EQ(other.styleForCurrentState(), normal);
  }
  // A highlighted style without a highlighted title draws the normal title with it.
  button.setStyle(pressed, ControlStateHighlighted);
  button.setHighlighted(true);
  EXPECT_EQ(button.styleForCurrentState(), pressed);
  EXPECT_EQ(button.titleForCurrentState(), "Normal");
}

TEST(TKButtons, CombinedStatesAreKeyedAndDrawnInTheirOwnOrders) {
  EXPECT_EQ(TKButton::keyForState(ControlStateHighlighted | ControlStateSelected), "highlighted");
  EXPECT_EQ(TKButton::keyForState(ControlStateSelected | ControlStateDisabled), "selected");
  EXPECT_EQ(TKButton::keyForState(ControlStateDisabled), "disabled");
  EXPECT_EQ(TKButton::keyForState(ControlStateNormal), "normal");
  TKButton button;
  button.setTitle("both", ControlStateHighlighted | ControlStateSelected);
  EXPECT_EQ(button.titleForState(ControlStateHighlighted), "both");
  button.setTitle("selected", ControlStateSelected);
  button.setSelected(true);
  button.setHighlighted(true);
  EXPECT_EQ(button.titleForCurrentState(), "selected");
  button.setImage("bundle://icon.png", ControlStateNormal);
  EXPECT_EQ(button.imageForState(ControlStateNormal), "bundle://icon.png");
}

TEST(TKButtons, FontsAndSizes) {
  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  TKButton button;
  EXPECT_EQ(button.sizeThatFits({33, 44}), cg::Size(33, 44));  // no style: the size offered
  EXPECT_EQ(button.fontForCurrentState(), TKStyleSheet::globalStyleSheet()->buttonFont());
  ui::Font styled = ui::Font::systemFontOfSize(9), explicitFont = ui::Font::boldSystemFontOfSize(30);
  button.setStyle(TKBoxStyle::styleWithPadding({5, 7, 5, 7}, TKTextStyle::styleWithFont(styled, nullptr)),
                  ControlStateNormal);
  EXPECT_EQ(button.fontForCurrentState(), styled);
  button.setTitle("Cancel", ControlStateNormal);
  EXPECT_EQ(button.sizeThatFits({}), cg::Size(60 + 14, 20 + 10));
  button.setFont(explicitFont);
  EXPECT_EQ(button.fontForCurrentState(), explicitFont);
}

TEST(TKButtons, TheImagePartGoesBesideTheText) {
  auto red = tktables::filledImage(20, 20, cg::Color::red());
  TKButton button(cg::Rect(0, 0, 100, 40));
  auto imagePart = TKPartStyle::styleWithName(
      "image", TKBoxStyle::styleWithMargin({0, 8, 0, 0}, TKImageStyle::styleWithImage(red, nullptr)), nullptr);
  imagePart->setNext(TKContentStyle::styleWithNext(nullptr));
  struct Probe : TKStyle {
    cg::Rect seen;
    void draw(TKStyleContext& c) override {
      seen = c.contentFrame();
      drawNext(c);
    }
  };
  auto probe = std::make_shared<Probe>();
  probe->setNext(imagePart);
  button.setStyle(probe, ControlStateNormal);
  auto ctx = cg::Context::bitmap(100, 40);
  button.drawRect(ctx, button.bounds());
  EXPECT_EQ(probe->seen.x(), 20);
  EXPECT_EQ(probe->seen.width(), 80);
  auto image = ctx.makeImage();
  EXPECT_EQ(image->pixelAt(30, 10).r, 255);  // the image at 20 + 8
  EXPECT_EQ(image->pixelAt(24, 10).a, 0);
  EXPECT_EQ(image->pixelAt(50, 10).a, 0);
}

TEST(TKButtons, ANamedStyleGivesEveryState) {
  auto button = TKButton::buttonWithStyle("blackToolbarButton:", "Cancel");
  EXPECT_EQ(button->titleForState(ControlStateNormal), "Cancel");
  for (unsigned state : {ControlStateNormal, ControlStateHighlighted})
    EXPECT_TRUE(button->styleForState(state)) << state;
  EXPECT_GT(button->sizeThatFits({}).width, 0);
}

TEST(TKButtons, CachedImagesAreTakenAtOnce) {
  auto cached = tktables::filledImage(4, 4, cg::Color::green());
  TKURLCache::sharedCache().storeImage(cached, "http://button.invalid/i.png");
  TKButton button;
  button.setImage("http://button.invalid/i.png", ControlStateNormal);
  EXPECT_EQ(button.imageForCurrentState(), cached);
  button.setImage("", ControlStateNormal);
  EXPECT_FALSE(button.imageForCurrentState());
}

}  // namespace
