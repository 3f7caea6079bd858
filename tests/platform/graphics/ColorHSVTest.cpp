// Hue, saturation and value of colours, both ways.
#include <gtest/gtest.h>

#include "platform/graphics/ColorHSV.h"

namespace {

TEST(ColorHSV, ReadsHueSaturationValue) {
  struct Case {
    cg::Color color;
    float h, s, v;
  } cases[] = {
      {cg::Color(1, 0, 0), 0, 1, 1},          {cg::Color(0, 1, 0), 120, 1, 1},
      {cg::Color(0, 0, 1), 240, 1, 1},        {cg::Color::gray(0.5f), 0, 0, 0.5f},
      {cg::Color(1, 0, 1), 300, 1, 1},        {cg::Color(0.5f, 0.25f, 0.25f), 0, 0.5f, 0.5f},
  };
  for (const auto& c : cases) {
    cg::HSV got = cg::hsvOfColor(c.color);
    EXPECT_NEAR(got.hue, c.h, 1e-3);
    EXPECT_NEAR(got.saturation, c.s, 1e-3);
    EXPECT_NEAR(got.value, c.v, 1e-3);
  }
}

TEST(ColorHSV, RoundTripsAndClampsAndKeepsAlpha) {
  cg::Color c = cg::Color::fromRGB255(119, 140, 168, 0.5f);
  cg::HSV x = cg::hsvOfColor(c);
  cg::Color back = cg::colorWithHSV(x.hue, x.saturation, x.value, c.a);
  EXPECT_NEAR(back.r, c.r, 1e-4);
  EXPECT_NEAR(back.g, c.g, 1e-4);
  EXPECT_NEAR(back.b, c.b, 1e-4);
  EXPECT_FLOAT_EQ(cg::multiplyHSV(c, 1, 1, 1).a, 0.5f);
  // Value 1.2 times a light colour is clamped to 1.
  EXPECT_NEAR(cg::hsvOfColor(cg::multiplyHSV(cg::Color::gray(0.9f), 1, 1, 1.2f)).value, 1, 1e-4);
  EXPECT_NEAR(cg::hsvOfColor(cg::addHSV(cg::Color::gray(0.1f), 0, 0, 0.2f)).value, 0.3f, 1e-4);
}

}  // namespace
