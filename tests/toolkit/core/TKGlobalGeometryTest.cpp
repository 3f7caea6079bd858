// The toolkit's global functions: orientation and screen geometry, the bars'
// and keyboard's heights as our own bars and keyboard notifications give
// them, the string table in the interface language, and the view additions.
#include <gtest/gtest.h>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Layer.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Screen.h"
#include "platform/foundation/Clock.h"
#include "platform/ui/Toolbar.h"
#include "tests/toolkit/core/TKTestClasses.h"
#include "toolkit/core/Image+TKCategory.h"
#include "toolkit/core/Toolbar+TKCategory.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/View+TKCategory.h"

namespace {

void postKeyboard(const char* name, float height) {
  ns::NotificationCenter::defaultCenter().postNotificationName(
      name, ns::Value(ns::Dictionary{{"KeyboardFrameEndUserInfoKey", ns::Array{0, 768 - height, 1024, height}},
                                     {TKKeyboardBoundsUserInfoKey, ns::Array{0, 0, 1024, height}}}));
}

class TKGlobalGeometryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ui::Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));
    ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeRight);
    postKeyboard(TKKeyboardWillHideNotification, 0);
  }
};

TEST_F(TKGlobalGeometryTest, ScreenBoundsAndBarsFollowTheInterfaceOrientation) {
  ui::Screen::main().setBounds(cg::Rect(0, 0, 768, 1024));
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_EQ(TKOrientedScreenBounds(), cg::Rect(0, 0, 1024, 768));
  EXPECT_EQ(TKFrameBelowOneBar(), cg::Rect(0, 0, 1024, 748 - ui::NavigationBar::kHeight));
  EXPECT_EQ(TKCurrentDeviceOrientation(), 3);

  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::Portrait);
  EXPECT_EQ(TKOrientedScreenBounds(), cg::Rect(0, 0, 768, 1024));
  // The tablet's bar is as tall on its side as upright.
  EXPECT_EQ(TKFrameBelowOneBar(), cg::Rect(0, 0, 768, 1004 - ui::NavigationBar::kHeight));
  EXPECT_LT(TKFrameBelowTwoBars().height(), TKFrameBelowOneBar().height());

  EXPECT_EQ(TKRectShrinkSize(cg::Rect(1, 2, 30, 40), 5, 10), cg::Rect(1, 2, 25, 30));
  EXPECT_EQ(TKRectApplyInsets(cg::Rect(0, 0, 100, 50), {1, 2, 3, 4}), cg::Rect(2, 1, 94, 46));
}

TEST_F(TKGlobalGeometryTest, TheKeyboardIsKnownFromItsNotifications) {
  auto view = std::make_shared<ui::View>(cg::Rect(0, 100, 1024, 600));
  EXPECT_FALSE(TKKeyboardIsShown());
  EXPECT_EQ(ui::frameWithKeyboardSubtracted(*view, 0), view->frame());

  postKeyboard(TKKeyboardWillShowNotification, 352);
  EXPECT_TRUE(TKKeyboardIsShown());
  EXPECT_EQ(TKKeyboardHeightForOrientation(), 352);
  // 100 + 600 reaches 284 points below the keyboard's top edge at 416; a
  // margin of 10 takes ten more.
  EXPECT_EQ(ui::frameWithKeyboardSubtracted(*view, 10), cg::Rect(0, 100, 1024, 306));

  postKeyboard(TKKeyboardWillHideNotification, 352);
  EXPECT_FALSE(TKKeyboardIsShown());
  EXPECT_EQ(ui::frameWithKeyboardSubtracted(*view, 10), view->frame());
}

TEST(TKGlobalTest, ToolkitTextsComeInTheInterfaceLanguage) {
  tktest::useTemporaryDefaults("language");
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.setObject(ns::Array{"ar"}, "AppleLanguages");
  EXPECT_EQ(TKLibraryLocalizedString("Today"), "\xD8\xA7\xD9\x84\xD9\x8A\xD9\x88\xD9\x85");
  EXPECT_EQ(TKLibraryLocalizedString("h:mm a"), "h:mm a");  // no translation: the key
  EXPECT_EQ(TKLibraryLocalizedString("Unknown key"), "Unknown key");
  defaults.setObject(ns::Array{"xx"}, "AppleLanguages");  // a language without a table
  EXPECT_EQ(TKLibraryLocalizedString("Today"), "Today");
  defaults.resetForTesting();

  EXPECT_TRUE(TKHasBundleScheme("bundle://"));
  EXPECT_FALSE(TKHasBundleScheme("bundle:/"));
  EXPECT_FALSE(TKHasBundleScheme("Bundle://x"));
}

TEST(TKViewCategoryTest, ImageRectsForEveryContentMode) {
  cg::Rect r(10, 20, 400, 100);
  struct Case {
    int mode;
    cg::Size image;
    cg::Rect expected;
    bool clipped;
  } cases[] = {
      {0, {200, 100}, r, false},
      {3, {200, 100}, r, false},
      {13, {200, 100}, r, false},                              // an unknown mode fills
      {1, {200, 100}, cg::Rect(110, 20, 200, 100), false},     // fit: the smaller ratio (1)
      {2, {200, 100}, cg::Rect(10, -30, 400, 200), false},     // fill: the larger ratio (2)
      {1, {100, 200}, cg::Rect(185, 20, 50, 100), false},
      {2, {100, 200}, cg::Rect(10, -330, 400, 800), false},
      {4, {20, 10}, cg::Rect(200, 65, 20, 10), false},
      {5, {20, 10}, cg::Rect(200, 20, 20, 10), true},
      {6, {20, 10}, cg::Rect(200, 110, 20, 10), true},
      {7, {20, 10}, cg::Rect(10, 65, 20, 10), true},
      {8, {20, 10}, cg::Rect(390, 65, 20, 10), true},
      {9, {20, 10}, cg::Rect(10, 20, 20, 10), true},
      {10, {20, 10}, cg::Rect(390, 20, 20, 10), true},
      {11, {20, 10}, cg::Rect(10, 110, 20, 10), true},
      {12, {20, 10}, cg::Rect(390, 110, 20, 10), true},
      {1, {400, 100}, r, false},                               // the same size: drawn as it is
      {1, {0, 0}, r, false},                                   // an empty image: no division by zero
  };
  for (const auto& c : cases) {
    bool clipped = false;
    EXPECT_EQ(ui::TKImageRectForContentMode(c.image, r, c.mode, &clipped), c.expected) << "mode " << c.mode;
    EXPECT_EQ(clipped, c.clipped) << "mode " << c.mode;
  }
  // A bottom-right image in a rect of fractional size sits at the corner; a
  // bottom one floors its vertical offset.
  cg::Rect odd(0, 0, 15.5f, 15.5f);
  EXPECT_EQ(ui::TKImageRectForContentMode({10, 10}, odd, 12), cg::Rect(5.5f, 5.5f, 10, 10));
  EXPECT_EQ(ui::TKImageRectForContentMode({10, 10}, odd, 6).y(), 5);
}

TEST(TKViewCategoryTest, ClippedModesDrawOnlyInsideTheRect) {
  auto source = cg::Layer::create({20, 20});
  source->context().setFillColor(cg::Color(1, 0, 0, 1));
  source->context().fillRect({0, 0, 20, 20});
  auto image = ui::Image::imageWithCGImage(source->makeImage());
  auto target = cg::Layer::create({40, 40});
  ui::drawInRect(*image, target->context(), cg::Rect(10, 10, 10, 10), 12);
  auto pixels = target->makeImage();
  EXPECT_EQ(pixels->pixelAt(15, 15).r, 255);
  EXPECT_EQ(pixels->pixelAt(5, 5).a, 0);  // the image's top left lies outside the rect
}

TEST(TKViewCategoryTest, TreeAndFrameHelpers) {
  auto root = std::make_shared<ui::View>(cg::Rect(5, 5, 100, 100));
  std::vector<std::shared_ptr<ui::View>> kids;
  for (int i = 0; i < 3; ++i) {
    kids.push_back(std::make_shared<ui::View>(cg::Rect(10, 0, 30, 20)));
    root->addSubview(kids.back());
  }
  EXPECT_EQ(ui::screenX(*kids[0]), 15);
  EXPECT_EQ(ui::offsetFromView(*kids[0], root.get()), (cg::Point{10, 0}));
  ui::setRight(*kids[0], 100);
  EXPECT_EQ(kids[0]->frame().x(), 70);
  EXPECT_EQ(ui::ancestorOrSelfWithClass<ui::View>(*kids[1]), kids[1].get());

  std::vector<ui::View*> removed;
  struct Watching : ui::View {
    std::vector<ui::View*>* log;
    void willRemoveSubview(ui::View* v) override { log->push_back(v); }
  };
  auto watcher = std::make_shared<Watching>();
  watcher->log = &removed;
  for (auto& k : kids) watcher->addSubview(k);
  ui::removeAllSubviews(*watcher);
  EXPECT_EQ(removed, (std::vector<ui::View*>{kids[2].get(), kids[1].get(), kids[0].get()}));
  ui::removeAllSubviews(*watcher);  // nothing left: nothing happens
}

TEST(TKViewCategoryTest, ElementFramesNeedFourNumbers) {
  struct Case {
    const char* answer;
    cg::Rect frame;
  } cases[] = {
      {"1,2,3,4", cg::Rect(1, 2, 3, 4)}, {"1.5, 2 ,3,4", cg::Rect(1.5f, 2, 3, 4)},
      {"", {}}, {"1,2,3", {}}, {"1,2,3,4,5", {}}, {"a,b,c,d", {}}, {"1,2,3,", {}}, {"1,2,3,nan", {}},
      {"1,2,3,1e99", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::frameOfElementFromAnswer(c.answer), c.frame) << c.answer;
  std::string seen;
  auto frame = ui::frameOfElement([&](const std::string& script) { seen = script; return "7,8,9,10"; },
                                  "document.getElementById('x')");
  EXPECT_EQ(frame, cg::Rect(7, 8, 9, 10));
  EXPECT_NE(seen.find("var target = document.getElementById('x');"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(TKGlobalGeometryTest, AViewPresentedLikeTheKeyboardAnnouncesItself) {
  auto clock = ns::VirtualClock::install();
  auto container = std::make_shared<ui::View>(cg::Rect(0, 0, 1024, 768));
  auto panel = std::make_shared<ui::View>(cg::Rect(0, 0, 1024, 200));
  std::vector<ns::Value> shows;
  ns::Observer watch = ns::NotificationCenter::defaultCenter().addObserver(
      TKKeyboardWillShowNotification, [&](const ns::Value& info) { shows.push_back(info); });

  ui::presentAsKeyboardInView(panel, *container);
  EXPECT_EQ(panel->superview(), container.get());
  EXPECT_EQ(panel->frame().y(), 568);
  EXPECT_TRUE(shows.empty());  // told when the slide ends
  clock->advance(ui::kPresentAsKeyboardDuration + 0.1);
  ASSERT_EQ(shows.size(), 1u);
  EXPECT_TRUE(TKKeyboardIsShown());
  EXPECT_EQ(TKKeyboardHeightForOrientation(), 200);
  const ns::Value& end = shows[0][TKKeyboardCenterEndUserInfoKey];
  EXPECT_EQ((cg::Point{end[std::size_t(0)].floatValue(), end[1].floatValue()}), (cg::Point{0, 668}));
  EXPECT_EQ(shows[0][TKKeyboardCenterBeginUserInfoKey][1].floatValue(), 868);

  ui::dismissAsKeyboard(panel, true);
  EXPECT_FALSE(TKKeyboardIsShown());
  EXPECT_EQ(panel->superview(), container.get());
  clock->advance(ui::kPresentAsKeyboardDuration + 0.1);
  EXPECT_EQ(panel->superview(), nullptr);
}

TEST(TKToolbarCategoryTest, ItemsByTag) {
  ui::Toolbar bar(cg::Rect(0, 0, 300, 44));
  auto a = std::make_shared<ui::BarButtonItem>("A", ui::BarButtonItemStyle::Plain);
  auto b = std::make_shared<ui::BarButtonItem>("B", ui::BarButtonItemStyle::Plain);
  a->setTag(1);
  b->setTag(2);
  bar.setItems({a, b});
  EXPECT_EQ(ui::itemWithTag(bar, 2), b);
  EXPECT_EQ(ui::itemWithTag(bar, 3), nullptr);
  auto c = std::make_shared<ui::BarButtonItem>("C", ui::BarButtonItemStyle::Plain);
  ui::replaceItemWithTag(bar, 2, c);
  ui::replaceItemWithTag(bar, 9, a);  // no such tag: nothing happens
  EXPECT_EQ(bar.items(), (std::vector<std::shared_ptr<ui::BarButtonItem>>{a, c}));
}

}  // namespace
