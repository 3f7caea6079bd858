// The verse canvas hands its drawing to its delegate; the image cache keeps
// at most 50 images.
#include <gtest/gtest.h>

#include "Classes/glyphs/ImageCacher.h"
#include "Classes/glyphs/VerseCanvas.h"
#include "platform/graphics/Context.h"

namespace {

struct RecordingDelegate : VerseCanvasDelegate {
  int calls = 0;
  VerseCanvas* canvas = nullptr;
  void drawArabicVerseInCanvas(cg::Context& context, VerseCanvas& c) override {
    ++calls;
    canvas = &c;
    context.setFillColor(cg::Color::black());
    context.fillRect(cg::Rect(0, 0, 4, 4));
  }
};

cg::RGBA renderPixel(VerseCanvas& canvas, int x, int y) {
  auto ctx = cg::Context::bitmap(canvas.bounds().width(), canvas.bounds().height());
  canvas.renderTree(ctx, true);
  return ctx.makeImage()->pixelAt(x, y);
}

TEST(VerseCanvas, WithoutDelegateDrawsOnlyTheBackground) {
  auto canvas = std::make_shared<VerseCanvas>(cg::Rect(0, 0, 20, 10));
  canvas->setBackgroundColor(cg::Color::white());
  EXPECT_EQ(renderPixel(*canvas, 1, 1), (cg::RGBA{255, 255, 255, 255}));
}

TEST(VerseCanvas, DelegateDrawsIntoTheCanvasPass) {
  auto canvas = std::make_shared<VerseCanvas>(cg::Rect(0, 0, 20, 10));
  canvas->setBackgroundColor(cg::Color::white());
  auto delegate = std::make_shared<RecordingDelegate>();
  canvas->setDelegate(delegate);
  EXPECT_EQ(renderPixel(*canvas, 1, 1), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_EQ(renderPixel(*canvas, 10, 8), (cg::RGBA{255, 255, 255, 255}));
  EXPECT_EQ(delegate->calls, 2);
  EXPECT_EQ(delegate->canvas, canvas.get());
  delegate.reset();
  EXPECT_EQ(canvas->delegate(), nullptr) << "the canvas does not keep its delegate alive";
}

std::shared_ptr<ui::Image> anImage() {
  return ui::Image::imageWithCGImage(cg::Context::bitmap(1, 1).makeImage());
}

TEST(ImageCacher, FullCacheGivesUpTheSmallestTag) {
  struct Case {
    const char* name;
    int firstTag;
    int newTag;
    int evicted;
  } cases[] = {
      {"tags 1 to 50, a 51st", 1, 51, 1},
      {"tags 1000 to 1049, a new one", 1000, 5000, 1000},
      {"tags 1001 to 1050: still bounded", 1001, 2000, 1001},
  };
  for (const auto& c : cases) {
    ImageCacher cache;
    for (int t = c.firstTag; t < c.firstTag + 50; ++t) cache.insertIntoCache(anImage(), t);
    cache.insertIntoCache(anImage(), c.newTag);
    EXPECT_EQ(cache.count(), 50u) << c.name;
    EXPECT_EQ(cache.getFromCache(c.evicted), nullptr) << c.name;
    EXPECT_NE(cache.getFromCache(c.newTag), nullptr) << c.name;
  }
}

TEST(ImageCacher, ReplacingRemovingClearingAndMemoryWarning) {
  ImageCacher cache;
  cache.insertIntoCache(nullptr, 3);
  EXPECT_EQ(cache.count(), 0u);
  for (int t = 1; t <= 5; ++t) cache.insertIntoCache(anImage(), t);
  auto replacement = anImage();
  cache.insertIntoCache(replacement, 5);
  EXPECT_EQ(cache.getFromCache(5), replacement);
  cache.memoryWarning();
  EXPECT_EQ(cache.count(), 3u);
  EXPECT_EQ(cache.getFromCache(1), nullptr);
  EXPECT_EQ(cache.getFromCache(2), nullptr);
  cache.removeFromCache(3);
  EXPECT_EQ(cache.count(), 2u);
  cache.clearCache();
  EXPECT_EQ(cache.count(), 0u);
}

TEST(ImageCacher, SharedInstancesLiveUntilReleased) {
  auto portrait = ImageCacher::GetSharedImageCache();
  EXPECT_EQ(ImageCacher::GetSharedImageCache(), portrait);
  EXPECT_NE(ImageCacher::GetSharedImageCacheLandscape(), portrait);
  ImageCacher::ReleaseSharedImageCache();
  EXPECT_NE(ImageCacher::GetSharedImageCache(), portrait);
  ImageCacher::ReleaseSharedImageCacheLandscape();
}

}  // namespace
