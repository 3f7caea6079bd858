// The styled-text label: pressing links, sizes, redraws on arriving pictures,
// and pictures of what it draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Layer.h"
#include "platform/services/URLOpener.h"
#include "toolkit/core/TKNavigator.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Window.h"
#include "tests/platform/foundation/TempDir.h"
#include "tests/platform/graphics/Pixels.h"
#include "tests/support/LoopbackServer.h"
#include "tests/toolkit/core/TKLoadingTestSupport.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/styled/HighlightTextStyleSheet.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/styled/TKStyledFrame.h"
#include "toolkit/styled/TKStyledNode.h"
#include "toolkit/styled/TKStyledTextLabel.h"

namespace {

using ui::TouchPhase;

std::vector<TKStyledInlineFrame*> pieces(TKStyledFrame* f) {
  std::vector<TKStyledInlineFrame*> out;
  for (; f; f = f->nextFrame().get()) {
    if (auto* p = dynamic_cast<TKStyledInlineFrame*>(f)) out.push_back(p);
  }
  return out;
}

class TKStyledTextLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::URLOpener::setLauncher([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
    // Links go through the shared navigator; here it hands web links on, so
    // that what a press opens can be seen.
    TKNavigator::navigator().setOpensExternalURLs(true);
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 320, 200));
    window->makeKeyAndVisible();
    label = std::make_shared<TKStyledTextLabel>(cg::Rect(0, 0, 80, 100));
    window->addSubview(label);
  }
  void TearDown() override {
    TKNavigator::navigator().setOpensExternalURLs(false);
    ui::URLOpener::setLauncher(nullptr);
    TKStyleSheet::setGlobalStyleSheet(nullptr);
  }
  void touch(TouchPhase phase, cg::Point p) { window->sendTouch(0, phase, p); }
  std::shared_ptr<TKStyle> link(unsigned state) {
    return TKStyleSheet::globalStyleSheet()->styleWithSelector("linkText:", state);
  }

  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  std::vector<std::string> opened;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<TKStyledTextLabel> label;
};

TEST_F(TKStyledTextLabelTest, PressAndLiftOnAWrappedLink) {
  label->setHtml("aaa <a href=\"http://x.y\">bbb ccc</a> ddd");
  label->layoutIfNeeded();
  auto p = pieces(label->text()->rootFrame());
  ASSERT_EQ(p.size(), 2u);
  touch(TouchPhase::Began, {p[1]->x() + 2, p[1]->y() + 5});
  EXPECT_EQ(p[0]->style, link(1));
  EXPECT_EQ(p[1]->style, link(1));
  ASSERT_NE(label->highlightedNode(), nullptr);
  touch(TouchPhase::Ended, {p[0]->x() + 2, p[0]->y() + 5});
  EXPECT_EQ(p[0]->style, link(0));
  EXPECT_EQ(p[1]->style, link(0));
  EXPECT_EQ(label->highlightedNode(), nullptr);
  EXPECT_EQ(opened, std::vector<std::string>{"http://x.y"});
}

TEST_F(TKStyledTextLabelTest, ALinkActsOnlyWhenTheTouchEndsInsideIt) {
  label->setHtml("aaa <a href=\"http://x.y\">bbb ccc</a> ddd");
  label->layoutIfNeeded();
  auto p = pieces(label->text()->rootFrame());
  ASSERT_EQ(p.size(), 2u);
  touch(TouchPhase::Began, {p[0]->x() + 2, p[0]->y() + 5});
  touch(TouchPhase::Ended, {75, 90});
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(p[0]->style, link(0));
  // A touch taken over by scrolling clears the press and runs nothing.
  touch(TouchPhase::Began, {p[0]->x() + 2, p[0]->y() + 5});
  EXPECT_EQ(p[1]->style, link(1));
  window->cancelAllTouches();
  EXPECT_EQ(p[0]->style, link(0));
  EXPECT_EQ(p[1]->style, link(0));
  EXPECT_EQ(label->highlightedFrame(), nullptr);
  touch(TouchPhase::Ended, {p[0]->x() + 2, p[0]->y() + 5});
  EXPECT_TRUE(opened.empty());
}

TEST_F(TKStyledTextLabelTest, PlainTextAndStatelessClassesAreNotPressable) {
  TKStyleSheet::setGlobalStyleSheet(std::make_shared<HighlightTextStyleSheet>());
  for (const char* html : {"just plain words here", "a <span class=\"yellowBox\">hit</span> b"}) {
    label->setHtml(html);
    label->layoutIfNeeded();
    for (float y : {5.f, 25.f}) {
      for (float x = 1; x < 80; x += 9) {
        touch(TouchPhase::Began, {x, y});
        EXPECT_EQ(label->highlightedFrame(), nullptr) << html;
        touch(TouchPhase::Ended, {x, y});
      }
    }
  }
  EXPECT_TRUE(opened.empty());
}

TEST_F(TKStyledTextLabelTest, SizesFontsAndDocuments) {
  label->setContentInset({1, 2, 3, 4});
  label->setHtml("aaa bbb ccc");
  label->setFrame({0, 0, 100, 10});
  label->layoutIfNeeded();
  for (cg::Size proposed : {cg::Size{1, 1}, cg::Size{500, 500}}) {
    cg::Size s = label->sizeThatFits(proposed);
    EXPECT_FLOAT_EQ(s.width, 100);
    EXPECT_FLOAT_EQ(s.height, label->text()->height() + 4);
  }
  auto doc = label->text();
  TKStyledFrame* root = doc->rootFrame();
  label->setFont(label->font());
  EXPECT_EQ(doc->rootFrame(), root);
  label->setFont(ui::Font::systemFontOfSize(20));
  EXPECT_TRUE(doc->needsLayout());
  label->setHtml("other");
  EXPECT_EQ(doc->delegate(), nullptr);
  EXPECT_EQ(label->text()->delegate(), label.get());
  label->setHtml("");
  EXPECT_EQ(label->text(), nullptr);
  EXPECT_EQ(label->sizeThatFits({}), (cg::Size{6, 4}));
}

// --- pictures from the network -----------------------------------------------------------

struct Redraws : TKStyledTextDelegate {
  int count = 0;
  void styledTextNeedsDisplay(TKStyledText&) override { ++count; }
};

std::shared_ptr<ui::Image> picture(float w, float h) {
  auto layer = cg::Layer::create({w, h});
  layer->context().setFillColor(cg::Color::red());
  layer->context().fillRect({0, 0, w, h});
  return ui::Image::imageWithCGImage(layer->makeImage());
}

class TKStyledTextImagesTest : public ::testing::Test {
 protected:
  tktest::FreshURLLoading loading;
  std::shared_ptr<TKURLCache>& cache = loading.cache;
  testing_support::LoopbackServer server;
};

TEST_F(TKStyledTextImagesTest, EachArrivalRedrawsOnceAndCachedPicturesOnceInAll) {
  server.on("/a.png", testing_support::LoopbackServer::ok(ns::stringFromData(picture(4, 4)->cgImage()->pngData())));
  auto doc = TKStyledText::textFromXHTML("x<img src=\"" + server.url("/a.png") + "\"/>");
  doc->setWidth(100);
  doc->layoutIfNeeded();
  ASSERT_EQ(doc->invalidImages().size(), 1u);
  Redraws redraws;
  doc->setDelegate(&redraws);
  auto* node = dynamic_cast<TKStyledImageNode*>(doc->rootNode()->nextSibling().get());
  ASSERT_TRUE(node);
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return node->image != nullptr; }, 10));
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(redraws.count, 1);
  EXPECT_EQ(doc->pendingImageRequestCount(), 0u);

  cache->storeImage(picture(2, 2), "bundle://one.png");
  cache->storeImage(picture(2, 2), "bundle://two.png");
  auto cached = TKStyledText::textFromXHTML("<img src=\"bundle://one.png\"/><img src=\"bundle://two.png\"/>");
  // Nodes made while the cache had the pictures take them at once.
  EXPECT_NE(dynamic_cast<TKStyledImageNode*>(cached->rootNode().get())->image, nullptr);
  auto late = std::make_shared<TKStyledText>();
  auto one = std::make_shared<TKStyledImageNode>("bundle://late1.png");
  auto two = std::make_shared<TKStyledImageNode>("bundle://late2.png");
  late->addChild(one);
  late->addChild(two);
  late->layoutIfNeeded();
  cache->storeImage(picture(2, 2), "bundle://late1.png");
  cache->storeImage(picture(2, 2), "bundle://late2.png");
  Redraws lateRedraws;
  late->setDelegate(&lateRedraws);
  EXPECT_EQ(lateRedraws.count, 1);
  EXPECT_NE(one->image, nullptr);
  EXPECT_NE(two->image, nullptr);
}

TEST_F(TKStyledTextImagesTest, ANewRootStopsTheOldLoads) {
  testing_support::LoopbackServer::Answer slow = testing_support::LoopbackServer::ok("x");
  slow.pauseMs = 2000;
  slow.chunks = {"a", "b"};
  server.on("/slow.png", slow);
  auto doc = TKStyledText::textFromXHTML("<img src=\"" + server.url("/slow.png") + "\"/>");
  Redraws redraws;
  doc->layoutIfNeeded();
  doc->setDelegate(&redraws);
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return doc->pendingImageRequestCount() == 1; }, 5));
  doc->setRootNode(std::make_shared<TKStyledTextNode>("plain"));
  EXPECT_EQ(doc->pendingImageRequestCount(), 0u);
  EXPECT_TRUE(doc->invalidImages().empty());
  EXPECT_TRUE(doc->needsLayout());
  EXPECT_EQ(redraws.count, 0);
}

// --- pictures to look at ---------------------------------------------------------------------

std::string picturePath(const std::string& name) {
  // Under the build's scratch folder, never the folder the test runs from.
  const char* tmp = std::getenv("ZARVEL_TEST_TMP");
  std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/styled";
  std::filesystem::create_directories(dir);
  return dir + "/" + name + ".png";
}

// The box holding every pixel darker than the threshold (ink on white).
cg::Rect inkBox(const cg::Image& image, int threshold = 160) {
  int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      cg::RGBA p = image.pixelAt(x, y);
      if (p.a > 0 && (p.r + p.g + p.b) / 3 < threshold) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    }
  }
  if (x1 < 0) return {};
  return cg::Rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

std::shared_ptr<cg::Image> render(TKStyledTextLabel& label) {
  label.layoutIfNeeded();
  cg::Context ctx = cg::Context::bitmap(label.frame().width(), label.frame().height());
  ctx.setFillColor(*label.backgroundColor());
  ctx.fillRect(label.bounds());
  label.drawRect(ctx, label.bounds());
  return ctx.makeImage();
}

TEST(TKStyledTextPictures, TransliterationLineWithBoldAndItalicRuns) {
  TKStyledTextLabel label(cg::Rect(0, 0, 420, 30));
  label.setFont(ui::Font::fontWithName("Helvetica", 15));
  label.setHtml("Bismi <b>Allahi</b> alrrahmani <i>alrraheemi</i>");
  auto image = render(label);
  image->writePNG(picturePath("transliteration"));
  cg::Rect ink = inkBox(*image);
  EXPECT_NEAR(ink.x(), 1, 2);
  EXPECT_GT(ink.width(), 200);
  EXPECT_LT(ink.width(), 400);
  EXPECT_LT(ink.height(), 22);  // one line
  EXPECT_FLOAT_EQ(label.text()->height(), std::ceil(label.text()->height()));
  // Four runs on one line: plain, bold, plain, italic; the bold one inked more heavily.
  std::vector<TKStyledTextFrame*> runs;
  for (TKStyledFrame* f = label.text()->rootFrame(); f; f = f->nextFrame().get()) {
    if (auto* t = dynamic_cast<TKStyledTextFrame*>(f)) runs.push_back(t);
  }
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_TRUE(runs[1]->font()->isBold());
  EXPECT_TRUE(runs[3]->font()->isItalic());
  auto density = [&](const TKStyledFrame* f) {
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = int(f->x()); x < int(f->x() + f->width()); ++x) dark += image->pixelAt(x, y).r < 100;
    }
    return double(dark) / f->width();
  };
  EXPECT_GT(density(runs[1]), density(runs[2]) * 1.2);
  for (auto* r : runs) EXPECT_FLOAT_EQ(r->y() + r->height(), runs[1]->y() + runs[1]->height());
}

TEST(TKStyledTextPictures, SnippetWithItsYellowBox) {
  TKStyleSheet::setGlobalStyleSheet(std::make_shared<HighlightTextStyleSheet>());
  TKStyledTextLabel label(cg::Rect(0, 0, 300, 30));
  label.setBackgroundColor(cg::Color::fromRGB255(200, 170, 60));
  label.setContentInset({4, 6, 4, 6});
  label.setText(TKStyledText::textFromXHTML("and the <span class=\"yellowBox\">mercy</span> of", false, false));
  auto image = render(label);
  image->writePNG(picturePath("snippet"));
  TKStyledFrame* box = label.text()->getFrameForNode(label.text()->getElementByClassName("yellowBox"));
  ASSERT_TRUE(box);
  cg::Rect b = box->bounds.offsetBy(6, 4);
  // The fill reaches a point past the box on the left and two below it.
  EXPECT_PIXEL(image->pixelAt(int(b.midX()), int(b.maxY()) + 1), cgtest::kWhite);
  EXPECT_PIXEL(image->pixelAt(int(b.x()), int(b.midY())), cgtest::kWhite);
  // Left of the fill, below the previous word's letters, the background shows.
  EXPECT_PIXEL(image->pixelAt(int(b.x()) - 3, int(b.maxY())), (cg::RGBA{200, 170, 60, 255}));
  cg::Rect ink = inkBox(*image, 100);
  EXPECT_GT(ink.width(), 60);
  TKStyleSheet::setGlobalStyleSheet(nullptr);
}

TEST(TKStyledTextPictures, DefaultToolkitStyles) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  cg::Context ctx = cg::Context::bitmap(320, 90);
  ctx.setFillColor(cg::Color::white());
  ctx.fillRect({0, 0, 320, 90});
  auto draw = [&](const std::shared_ptr<TKStyle>& style, cg::Rect r) {
    TKStyleContext context(&ctx);
    context.setFrame(r);
    context.setContentFrame(r);
    style->draw(context);
    EXPECT_EQ(ctx.saveDepth(), 0);
  };
  draw(sheet->styleWithSelector("toolbarButton:"), {10, 10, 70, 30});
  draw(sheet->styleWithSelector("blackToolbarButton:"), {90, 10, 70, 30});
  draw(sheet->styleWithSelector("badge"), {170, 10, 40, 30});
  auto bubble = TKShapeStyle::styleWithShape(
      TKSpeechBubbleShape::shapeWithRadius(6, 270, 270, {12, 8}),
      TKSolidFillStyle::styleWithColor(cg::Color::fromRGB255(87, 107, 149),
                                       TKSolidBorderStyle::styleWithColor(cg::Color::black(), 1, nullptr)));
  draw(bubble, {220, 10, 90, 50});
  auto image = ctx.makeImage();
  image->writePNG(picturePath("toolkit-styles"));
  // The two tints give two different bodies, the badge is red, the bubble's tail hangs below.
  cg::RGBA blueBody = image->pixelAt(45, 30), blackBody = image->pixelAt(125, 30);
  EXPECT_GT(blueBody.b, blueBody.r + 20);
  EXPECT_LT(blackBody.r + blackBody.g + blackBody.b, 150);
  cg::RGBA badge = image->pixelAt(190, 18);
  EXPECT_GT(badge.r, 150);
  EXPECT_LT(badge.g, 80);
  EXPECT_LT(image->pixelAt(265, 56).r, 120);   // the tail below the box (box ends at 52)
  EXPECT_PIXEL(image->pixelAt(235, 56), cgtest::kWhite);
}

}  // namespace

namespace {

TEST_F(TKStyledTextLabelTest, CopyPutsThePlainTextOnThePasteboard) {
  label->setHtml("In <b>bold</b>, <i>italic</i> and <a href=\"http://x.y\">a link</a> &amp; more");
  label->copy();
  EXPECT_EQ(ui::Pasteboard::generalPasteboard().string(), "In bold, italic and a link & more");
  label->setHtml("");
  label->copy();
  EXPECT_EQ(ui::Pasteboard::generalPasteboard().string(), "");
}

}  // namespace
