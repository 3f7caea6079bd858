// The image view: the cache first, a load through the request queue from the
// loopback server otherwise, the default image meanwhile, what its delegate
// hears, and the size it takes from the image.
#include <gtest/gtest.h>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "tests/toolkit/core/TKLoadingTestSupport.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/tables/TKImageView.h"

namespace {

using testing_support::LoopbackServer;
using tktables::filledImage;

struct Recorder : TKImageViewDelegate {
  std::vector<std::string> events;
  std::vector<std::shared_ptr<ui::Image>> images;
  std::vector<bool> errors;  // whether each failure carried an error
  void imageViewDidStartLoad(TKImageView&) override { events.push_back("start"); }
  void imageViewDidLoadImage(TKImageView&, const std::shared_ptr<ui::Image>& image) override {
    events.push_back("load");
    images.push_back(image);
  }
  void imageViewDidFailLoadWithError(TKImageView&, const ns::Error* error) override {
    events.push_back("fail");
    errors.push_back(error != nullptr);
  }
};

class TKImageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_shared<TKImageView>(cg::Rect(0, 0, 100, 0));
    view->setDelegate(recorder);
    server.on("/pic.png", LoopbackServer::ok(ns::stringFromData(filledImage(50, 20)->cgImage()->pngData())));
    LoopbackServer::Answer slow = LoopbackServer::ok("x");
    slow.stallMs = 3000;
    server.on("/slow.png", slow);
  }
  void TearDown() override { view.reset(); }
  bool waitFor(const std::function<bool()>& done) { return ns::RunLoop::main().runUntil(done, 10); }

  tktest::FreshURLLoading loading;
  std::shared_ptr<TKURLCache>& cache = loading.cache;
  LoopbackServer server;
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
  std::shared_ptr<TKImageView> view;
};

TEST_F(TKImageViewTest, ACachedImageShowsAtOnceWithoutALoad) {
  auto cached = filledImage(40, 10);
  cache->storeImage(cached, "http://cached.invalid/a.png");
  view->setURL("http://cached.invalid/a.png");
  EXPECT_EQ(view->image(), cached);
  EXPECT_FALSE(view->isLoading());
  EXPECT_TRUE(view->isLoaded());
  EXPECT_EQ(recorder->events, std::vector<std::string>{"load"});
  EXPECT_EQ(view->frame().size, cg::Size(100, 25));
}

TEST_F(TKImageViewTest, ALoadShowsTheDefaultMeanwhileAndReportsTheArrival) {
  auto fallback = filledImage(10, 10, cg::Color::blue());
  view->setDefaultImage(fallback);
  view->setFrame(cg::Rect(0, 0, 100, 30));
  view->setURL(server.url("/pic.png"));
  EXPECT_EQ(view->image(), fallback);  // not reported: it is the default
  EXPECT_FALSE(view->isLoaded());
  ASSERT_TRUE(waitFor([&] { return view->isLoaded(); }));
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"start", "load"}));
  EXPECT_EQ(view->image()->size(), cg::Size(50, 20));
  EXPECT_EQ(view->frame().size, cg::Size(100, 30));  // both sides set: the frame stays
  EXPECT_FALSE(view->isLoading());

  // The same URL with an image shown costs nothing.
  view->setURL(server.url("/pic.png"));
  EXPECT_EQ(recorder->events.size(), 2u);
  // No URL: the default shows again, unreported.
  view->setURL("");
  EXPECT_EQ(view->image(), fallback);
  EXPECT_EQ(recorder->events.size(), 2u);
}

TEST_F(TKImageViewTest, StoppingALoadReportsAFailureWithoutAnError) {
  view->setURL(server.url("/slow.png"));
  ASSERT_TRUE(waitFor([&] { return view->isLoading(); }));
  view->setURL("");
  ASSERT_TRUE(waitFor([&] { return !recorder->errors.empty(); }));
  EXPECT_EQ(recorder->errors, std::vector<bool>{false});
  EXPECT_FALSE(view->isLoading());
  EXPECT_FALSE(view->image());

  // A failed load reports its error and keeps what was shown.
  view->setURL(server.url("/missing.png"));
  ASSERT_TRUE(waitFor([&] { return recorder->errors.size() == 2; }));
  EXPECT_EQ(recorder->errors.back(), true);
  EXPECT_FALSE(view->image());
}

TEST_F(TKImageViewTest, TheFrameFollowsTheImageWhereASideIsOpen) {
  auto image = filledImage(50, 20);
  struct Case {
    cg::Size frame;
    bool autoresizes;
    std::shared_ptr<ui::Image> image;
    cg::Size expected;
  } cases[] = {
      {{100, 0}, false, image, {100, 40}},
      {{0, 30}, false, image, {75, 30}},
      {{0, 0}, false, image, {50, 20}},
      {{100, 30}, false, image, {100, 30}},
      {{100, 30}, true, image, {50, 20}},
      // No image: 0 / 0 would be the ratio; the frame stays.
      {{100, 0}, false, nullptr, {100, 0}},
      {{0, 30}, false, nullptr, {0, 30}},
      {{0, 0}, false, nullptr, {0, 0}},
  };
  for (const auto& c : cases) {
    auto v = std::make_shared<TKImageView>(cg::Rect(5, 5, c.frame.width, c.frame.height));
    v->setAutoresizesToImage(c.autoresizes);
    if (!c.image) v->setImage(filledImage(1, 1));  // so that none is a change
    v->setFrame(cg::Rect(5, 5, c.frame.width, c.frame.height));
    v->setImage(c.image);
    EXPECT_EQ(v->frame(), cg::Rect(cg::Point(5, 5), c.expected)) << c.frame.width << "x" << c.frame.height;
  }
}

TEST_F(TKImageViewTest, NoImageWithoutADefaultIsReported) {
  view->setImage(filledImage(2, 2));
  recorder->images.clear();
  view->setImage(nullptr);
  ASSERT_EQ(recorder->images.size(), 1u);
  EXPECT_FALSE(recorder->images[0]);
}

TEST_F(TKImageViewTest, AStyleDrawsTheImageInsideItsShape) {
  view->setFrame(cg::Rect(0, 0, 40, 40));
  view->setImage(filledImage(40, 40));
  EXPECT_TRUE(view->showsImageDirectly());
  auto plain = cg::Context::bitmap(40, 40);
  view->drawRect(plain, view->bounds());
  EXPECT_EQ(plain.makeImage()->pixelAt(1, 1).r, 255);  // the bitmap over the whole bounds

  view->setStyle(TKShapeStyle::styleWithShape(TKRoundedRectangleShape::shapeWithRadius(20),
                                              TKContentStyle::styleWithNext(nullptr)));
  EXPECT_FALSE(view->showsImageDirectly());
  auto styled = cg::Context::bitmap(40, 40);
  view->drawRect(styled, view->bounds());
  EXPECT_EQ(styled.makeImage()->pixelAt(1, 1).a, 0);    // clipped away at the round corner
  EXPECT_EQ(styled.makeImage()->pixelAt(20, 20).r, 255);
  view->setStyle(nullptr);
  EXPECT_TRUE(view->showsImageDirectly());
}

}  // namespace
