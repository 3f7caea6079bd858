#include "platform/ui/Image+Normalize.h"

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"

TEST(ImageNormalize, CopyWithColorKeepsTheAlphaAndReplacesTheColour) {
  // Opaque blue, half-transparent green, fully transparent.
  cg::Context src = cg::Context::bitmap(3, 2);
  src.setFillColor(cg::Color::blue());
  src.fillRect(cg::Rect(0, 0, 1, 2));
  src.setFillColor(cg::Color(0, 1, 0, 0.5f));
  src.fillRect(cg::Rect(1, 0, 1, 2));
  auto image = ui::Image::imageWithCGImage(src.makeImage());

  const cg::Color tint = cg::Color::fromRGB255(182, 0, 0);
  auto tinted = ui::copyImageWithColor(*image, tint);
  ASSERT_TRUE(tinted);
  EXPECT_EQ(tinted->size(), image->size());
  EXPECT_EQ(tinted->scale(), 1);
  auto out = tinted->cgImage();
  for (int y = 0; y < 2; ++y) {  // upright: both rows alike, no flip
    EXPECT_EQ(out->pixelAt(0, y), (cg::RGBA{182, 0, 0, 255}));
    cg::RGBA half = out->pixelAt(1, y);
    EXPECT_NEAR(half.r, 182, 2);
    EXPECT_EQ(half.a, 128);
    EXPECT_EQ(out->pixelAt(2, y), (cg::RGBA{0, 0, 0, 0}));
  }
}

TEST(ImageNormalize, CopyWithColorIsUprightForAnAsymmetricShape) {
  cg::Context src = cg::Context::bitmap(2, 2);
  src.fillRect(cg::Rect(0, 0, 2, 1));  // top row only
  auto tinted = ui::copyImageWithColor(*ui::Image::imageWithCGImage(src.makeImage()), cg::Color::red());
  EXPECT_EQ(tinted->cgImage()->pixelAt(0, 0).a, 255);
  EXPECT_EQ(tinted->cgImage()->pixelAt(0, 1).a, 0);
}

TEST(ImageNormalize, NormalizeRedrawsAtTheScale) {
  cg::Context src = cg::Context::bitmap(10, 10);
  src.setFillColor(cg::Color::red());
  src.fillRect(cg::Rect(0, 0, 10, 10));
  auto image = ui::Image::imageWithCGImage(src.makeImage());
  auto doubled = ui::normalize(*image, 2);
  ASSERT_TRUE(doubled);
  EXPECT_EQ(doubled->cgImage()->width(), 20);
  EXPECT_EQ(doubled->cgImage()->height(), 20);
  EXPECT_EQ(doubled->scale(), 2);
  EXPECT_EQ(doubled->size(), (cg::Size{10, 10}));
  EXPECT_EQ(doubled->cgImage()->pixelAt(19, 19), (cg::RGBA{255, 0, 0, 255}));
  EXPECT_FALSE(ui::normalize(*image, 0));
}
