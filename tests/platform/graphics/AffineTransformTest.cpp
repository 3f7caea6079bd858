#include "platform/graphics/AffineTransform.h"

#include <gtest/gtest.h>

#include <numbers>

using cg::AffineTransform;
using cg::Point;

TEST(AffineTransform, AppliesInvertsAndConcatenatesInOrder) {
  struct Case { AffineTransform t; Point in, out; };
  const float quarter = std::numbers::pi_v<float> / 2;
  const Case cases[] = {
      {AffineTransform::identity(), {3, 4}, {3, 4}},
      {AffineTransform::translation(1, 2), {3, 4}, {4, 6}},
      {AffineTransform::scaling(2, -1), {3, 4}, {6, -4}},
      {AffineTransform::rotation(quarter), {1, 0}, {0, 1}},  // +x turns towards +y
      // translate, then scale: the point is scaled first, as with a context.
      {AffineTransform::translation(10, 0).scaled(2, 2), {1, 1}, {12, 2}},
      {AffineTransform::scaling(2, 2).concat(AffineTransform::translation(10, 0)), {1, 1}, {12, 2}},
  };
  for (const Case& c : cases) {
    Point p = c.t.apply(c.in);
    EXPECT_NEAR(p.x, c.out.x, 1e-5);
    EXPECT_NEAR(p.y, c.out.y, 1e-5);
    auto inv = c.t.inverted();
    ASSERT_TRUE(inv);
    Point back = inv->apply(p);
    EXPECT_NEAR(back.x, c.in.x, 1e-5);
    EXPECT_NEAR(back.y, c.in.y, 1e-5);
  }
  EXPECT_FALSE(AffineTransform::scaling(0, 1).inverted());
  cg::Rect box = AffineTransform::rotation(quarter).apply(cg::Rect(0, 0, 2, 1));
  EXPECT_NEAR(box.x(), -1, 1e-5);
  EXPECT_NEAR(box.width(), 1, 1e-5);
  EXPECT_NEAR(box.height(), 2, 1e-5);
}

