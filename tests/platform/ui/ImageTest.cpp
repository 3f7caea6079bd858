#include "platform/ui/Image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"

namespace {

std::shared_ptr<cg::Image> solid(int w, int h, cg::Color c) {
  cg::Context ctx = cg::Context::bitmap(w, h);
  ctx.setFillColor(c);
  ctx.fillRect(cg::Rect(0, 0, w, h));
  return ctx.makeImage();
}

// A resource folder of our own for the duration of a test.
struct ResourceFolder {
  std::string dir;
  std::string saved;
  bool hadSaved = false;
  ResourceFolder() {
    const char* tmp = std::getenv("ZARVEL_TEST_TMP");
    dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/ui-image-resources";
    std::filesystem::create_directories(dir + "/images");
    if (const char* old = std::getenv("ZARVEL_RESOURCES")) { saved = old; hadSaved = true; }
    setenv("ZARVEL_RESOURCES", dir.c_str(), 1);
  }
  ~ResourceFolder() {
    if (hadSaved) setenv("ZARVEL_RESOURCES", saved.c_str(), 1);
    else unsetenv("ZARVEL_RESOURCES");
  }
};

}  // namespace

TEST(UIImage, ImageNamedPrefersTheDoubleScaleFileOnADoubleScaleScreen) {
  ResourceFolder res;
  ASSERT_TRUE(solid(4, 2, cg::Color::red())->writePNG(res.dir + "/images/bar.png"));
  ASSERT_TRUE(solid(8, 4, cg::Color::blue())->writePNG(res.dir + "/images/bar@2x.png"));
  ASSERT_TRUE(solid(3, 3, cg::Color::green())->writePNG(res.dir + "/images/only1x.png"));

  auto one = ui::Image::imageNamed("bar", 1);
  auto two = ui::Image::imageNamed("bar.png", 2);
  auto fallback = ui::Image::imageNamed("only1x", 2);
  ASSERT_TRUE(one && two && fallback);
  EXPECT_EQ(one->scale(), 1);
  EXPECT_EQ(two->scale(), 2);
  EXPECT_EQ(one->size(), (cg::Size{4, 2}));
  EXPECT_EQ(two->size(), (cg::Size{4, 2}));
  EXPECT_EQ(fallback->scale(), 1);
  EXPECT_EQ(ui::Image::imageNamed("bar", 1), one);  // loaded once, shared
  ui::Screen::main().setScale(2);
  EXPECT_EQ(ui::Image::imageNamed("bar"), two);  // the main screen's scale
  ui::Screen::main().setScale(1);

  for (const char* bad : {"missing", "", "../images/bar.png", "/etc/passwd", "a//b"})
    EXPECT_FALSE(ui::Image::imageNamed(bad)) << bad;
}

TEST(UIImage, AMissingImageIsLoggedOncePerName) {
  ResourceFolder res;
  ns::LogCapture log;
  log.setEcho(false);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(ui::Image::imageNamed("never-drawn.png", 1));
    EXPECT_FALSE(ui::Image::imageNamed("never-drawn.png", 2));
  }
  EXPECT_FALSE(ui::Image::imageNamed("also-missing.png", 1));
  EXPECT_EQ(log.count("\"never-drawn.png\""), 1);
  EXPECT_EQ(log.count("\"also-missing.png\""), 1);
}

TEST(UIImage, ANamedImageIsDecodedWhenFirstDrawnAndABrokenOneDrawsNothing) {
  ResourceFolder res;
  ASSERT_TRUE(solid(6, 4, cg::Color::red())->writePNG(res.dir + "/images/lazy.png"));
  ns::Data png = solid(6, 4, cg::Color::red())->pngData();
  png.resize(40);  // the header, then nothing
  ASSERT_TRUE(ns::writeFileAtomically(res.dir + "/images/cut.png", png));
  ns::LogCapture log;
  log.setEcho(false);
  for (const char* name : {"lazy", "cut"}) {
    SCOPED_TRACE(name);
    auto image = ui::Image::imageNamed(name, 1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (cg::Size{6, 4}));
    EXPECT_FALSE(image->isDecoded());
    cg::Context ctx = cg::Context::bitmap(6, 4);
    image->stretchableImage(2, 0)->drawInRect(ctx, cg::Rect(0, 0, 6, 4));  // a copy shares the pixels
    EXPECT_TRUE(image->isDecoded());
    EXPECT_EQ(ctx.makeImage()->pixelAt(3, 2), name == std::string("lazy") ? (cg::RGBA{255, 0, 0, 255}) : cg::RGBA{});
  }
  EXPECT_EQ(log.count("cut.png could not be decoded"), 1);
}

// Named images stay while a view holds them; small ones a while after that,
// until a memory warning; large ones not at all.
TEST(UIImage, NamedImagesNothingHoldsAreLetGo) {
  ResourceFolder res;
  ASSERT_TRUE(solid(8, 8, cg::Color::red())->writePNG(res.dir + "/images/small.png"));
  ASSERT_TRUE(solid(1024, 768, cg::Color::blue())->writePNG(res.dir + "/images/large.png"));
  auto view = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 10, 10));
  view->setImage(ui::Image::imageNamed("large", 1));
  std::weak_ptr<ui::Image> large = view->image(), small = ui::Image::imageNamed("small", 1);
  EXPECT_EQ(ui::Image::imageNamed("large", 1), view->image());
  EXPECT_FALSE(small.expired());
  view->setImage(nullptr);
  EXPECT_TRUE(large.expired());

  // A stretchable copy in use keeps the pixels: asked again, the name gives them.
  auto copy = ui::Image::imageNamed("large", 1)->stretchableImage(4, 4);
  auto pixels = copy->cgImage().get();
  EXPECT_EQ(ui::Image::imageNamed("large", 1)->cgImage().get(), pixels);
  copy.reset();

  ui::Application::shared().receiveMemoryWarning();
  EXPECT_TRUE(small.expired());
  EXPECT_TRUE(ui::Image::imageNamed("small", 1));
}

TEST(UIImage, ImageWithDataAndDrawing) {
  EXPECT_FALSE(ui::Image::imageWithData(ns::dataFromString("nonsense")));
  auto image = ui::Image::imageWithData(solid(4, 4, cg::Color::red())->pngData(), 2);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), (cg::Size{2, 2}));

  cg::Context ctx = cg::Context::bitmap(4, 4, 2);
  image->drawAtPoint(ctx, {2, 2});
  auto out = ctx.makeImage();
  EXPECT_EQ(out->pixelAt(3, 3).a, 0);
  EXPECT_EQ(out->pixelAt(4, 4), (cg::RGBA{255, 0, 0, 255}));
  EXPECT_EQ(out->pixelAt(7, 7), (cg::RGBA{255, 0, 0, 255}));
}

TEST(UIImage, StretchableImageKeepsItsCapsAndStretchesTheMiddle) {
  // Columns: red | green | blue; one row.
  cg::Context src = cg::Context::bitmap(3, 1);
  const cg::Color cols[] = {cg::Color::red(), cg::Color::green(), cg::Color::blue()};
  for (int x = 0; x < 3; ++x) {
    src.setFillColor(cols[x]);
    src.fillRect(cg::Rect(x, 0, 1, 1));
  }
  auto image = ui::Image::imageWithCGImage(src.makeImage())->stretchableImage(1, 0);
  EXPECT_EQ(image->leftCapWidth(), 1);

  cg::Context ctx = cg::Context::bitmap(10, 2);
  image->drawInRect(ctx, cg::Rect(0, 0, 10, 2));
  auto out = ctx.makeImage();
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(out->pixelAt(0, y), (cg::RGBA{255, 0, 0, 255}));
    for (int x = 1; x < 9; ++x) EXPECT_EQ(out->pixelAt(x, y), (cg::RGBA{0, 255, 0, 255})) << x;
    EXPECT_EQ(out->pixelAt(9, y), (cg::RGBA{0, 0, 255, 255}));
  }
}
