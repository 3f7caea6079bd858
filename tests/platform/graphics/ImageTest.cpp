#include "platform/graphics/Image.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "platform/graphics/Context.h"

#include "Pixels.h"

using namespace cgtest;
using cg::Rect;

TEST(CGImage, PNGRoundTripKeepsPixelsAndSize) {
  auto image = redOverBlue();
  ns::Data png = image->pngData();
  ASSERT_FALSE(png.empty());
  auto back = cg::Image::fromPNGData(png, 2);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width(), 2);
  EXPECT_EQ(back->height(), 2);
  EXPECT_EQ(back->size(), (cg::Size{1, 1}));
  EXPECT_PIXEL(back->pixelAt(1, 0), kRed);
  EXPECT_PIXEL(back->pixelAt(0, 1), kBlue);
  EXPECT_PIXEL(back->pixelAt(2, 0), kNone);  // outside reads as transparent

  std::string path = tempPath("roundtrip.png");
  ASSERT_TRUE(image->writePNG(path));
  auto fromFile = cg::Image::fromFile(path);
  ASSERT_TRUE(fromFile);
  EXPECT_PIXEL(fromFile->pixelAt(0, 0), kRed);
  EXPECT_FALSE(cg::Image::fromFile(tempPath("no-such-file.png")));
}

TEST(CGImage, PixelReadsAreUnpremultiplied) {
  cg::Context ctx = cg::Context::bitmap(1, 1);
  ctx.setFillColor(cg::Color(1, 0, 0, 0.5f));
  ctx.fillRect(cg::Rect(0, 0, 1, 1));
  EXPECT_PIXEL(ctx.makeImage()->pixelAt(0, 0), (cg::RGBA{255, 0, 0, 128}));
}

TEST(CGImage, UndecodableBytesGiveNothing) {
  ns::Data png = redOverBlue()->pngData();
  std::vector<ns::Data> bad = {{}, ns::dataFromString("not a png at all, just text"),
                               ns::Data(png.begin(), png.begin() + 8)};
  // Every truncation of a valid file.
  for (std::size_t n = 1; n < png.size(); n += 3) bad.emplace_back(png.begin(), png.begin() + n);
  // A header claiming an absurd size: refused before anything is allocated.
  ns::Data huge = png;
  huge[16] = 0x7f;  // width 0x7f000002
  bad.push_back(huge);
  ns::Data zero = png;
  zero[20] = zero[21] = zero[22] = zero[23] = 0;  // height 0
  bad.push_back(zero);
  // A damaged compressed body (fails its checksum).
  ns::Data damaged = png;
  damaged[damaged.size() - 20] ^= 0xff;
  bad.push_back(damaged);
  for (const auto& bytes : bad) EXPECT_FALSE(cg::Image::fromPNGData(bytes)) << bytes.size() << " bytes";
}

TEST(CGImage, RandomBytesAfterAValidHeaderNeverCrash) {
  ns::Data png = redOverBlue()->pngData();
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    ns::Data bytes(png.begin(), png.begin() + 33);  // signature and header
    std::size_t extra = rng() % 200;
    for (std::size_t k = 0; k < extra; ++k) bytes.push_back(std::uint8_t(rng()));
    (void)cg::Image::fromPNGData(bytes);
  }
}

TEST(CGImage, OneImageIsDrawnFromSeveralThreadsAtOnce) {
  auto image = redOverBlue();
  std::vector<std::shared_ptr<cg::Image>> results(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      cg::Context ctx = cg::Context::bitmap(16, 16);
      for (int i = 0; i < 200; ++i) ctx.drawImage(*image, Rect(i % 8, i % 8, 8, 8));
      results[t] = ctx.makeImage();
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 1; t < 4; ++t) EXPECT_EQ(results[t]->pngData(), results[0]->pngData());
}
