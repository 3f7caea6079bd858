#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/graphics/Layer.h"

using namespace cg;

namespace {

std::shared_ptr<Image> twoColourImage() {
  auto layer = Layer::create({40, 20});
  layer->context().setFillColor(Color(1, 0, 0, 1));
  layer->context().fillRect({0, 0, 20, 20});
  layer->context().setFillColor(Color(0, 0, 1, 1));
  layer->context().fillRect({20, 0, 20, 20});
  return layer->makeImage();
}

bool near(RGBA a, RGBA b) {
  return std::abs(a.r - b.r) < 12 && std::abs(a.g - b.g) < 12 && std::abs(a.b - b.b) < 12 && a.a == b.a;
}

TEST(JPEG, EncodesAndDecodesKeepingSizeAndColours) {
  ns::Data jpeg = twoColourImage()->jpegData(0.9f);
  ASSERT_GT(jpeg.size(), 100u);
  auto back = Image::fromData(jpeg, 2);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width(), 40);
  EXPECT_EQ(back->height(), 20);
  EXPECT_EQ(back->size().width, 20);
  EXPECT_TRUE(near(back->pixelAt(5, 10), RGBA{255, 0, 0, 255}));
  EXPECT_TRUE(near(back->pixelAt(35, 10), RGBA{0, 0, 255, 255}));
  // A lower quality gives fewer bytes.
  EXPECT_LT(twoColourImage()->jpegData(0.1f).size(), jpeg.size());
}

TEST(JPEG, TransparentPixelsBecomeWhite) {
  auto layer = Layer::create({4, 4});
  ns::Data jpeg = layer->makeImage()->jpegData(1);
  auto back = Image::fromJPEGData(jpeg);
  ASSERT_TRUE(back);
  EXPECT_TRUE(near(back->pixelAt(1, 1), RGBA{255, 255, 255, 255}));
}

TEST(JPEG, BadBytesGiveNoImage) {
  ns::Data good = twoColourImage()->jpegData(0.75f);
  ns::Data truncatedHeader(good.begin(), good.begin() + 40);
  ns::Data garbage = {0xFF, 0xD8, 0xFF, 0x00, 0x13, 0x37};
  ns::Data huge = good;
  // The frame header (SOF0) carries height and width; claim 60000 x 60000.
  for (std::size_t i = 0; i + 9 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0xEA, huge[i + 6] = 0x60, huge[i + 7] = 0xEA, huge[i + 8] = 0x60;
      break;
    }
  }
  for (const ns::Data& bad : {ns::Data{}, truncatedHeader, garbage, huge}) {
    EXPECT_FALSE(Image::fromJPEGData(bad));
    EXPECT_FALSE(Image::fromData(bad));
  }
  // Random bytes behind a JPEG signature never crash the decoder.
  std::srand(7);
  for (int n = 0; n < 200; ++n) {
    ns::Data noise = good;
    for (int k = 0; k < 8; ++k) noise[20 + std::rand() % (noise.size() - 20)] = std::uint8_t(std::rand());
    Image::fromData(noise);
  }
}

}  // namespace
