// Shapes, style chains, fills, shadows and borders, and the style sheets.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/ColorHSV.h"
#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "tests/platform/foundation/TempDir.h"
#include "tests/platform/graphics/Pixels.h"
#include "toolkit/core/TKViewController.h"
#include "toolkit/styled/HighlightTextStyleSheet.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"

namespace {

using cg::Rect;

// Records the frames it is handed, then passes the context on.
struct Recorder : TKStyle {
  using TKStyle::TKStyle;
  Rect frame, content;
  void draw(TKStyleContext& c) override {
    frame = c.frame();
    content = c.contentFrame();
    drawNext(c);
  }
};

struct TextDelegate : TKStyleDelegate {
  std::string text;
  bool answersTextForLayer() const override { return true; }
  std::optional<std::string> textForLayerWithStyle(TKStyle&) override { return text; }
};

void expectRect(const Rect& got, const Rect& want) {
  EXPECT_FLOAT_EQ(got.x(), want.x());
  EXPECT_FLOAT_EQ(got.y(), want.y());
  EXPECT_FLOAT_EQ(got.width(), want.width());
  EXPECT_FLOAT_EQ(got.height(), want.height());
}

// Fills the shape's outline in red on a transparent bitmap.
cg::Context fillShape(const TKShape& shape, Rect rect, cg::Size canvas) {
  cg::Context ctx = cg::Context::bitmap(canvas.width, canvas.height);
  shape.addToPath(ctx, rect);
  ctx.setFillColor(cg::Color::red());
  ctx.fillPath();
  return ctx;
}

bool inked(cg::Context& ctx, int x, int y) { return cgtest::px(ctx, x, y).a > 128; }

// --- shapes ---------------------------------------------------------------------

TEST(TKShape, MinusOneRadiusIsHalfTheHeightRounded) {
  EXPECT_FLOAT_EQ(TKShape::resolveRadius(-1, 30), 15);
  EXPECT_FLOAT_EQ(TKShape::resolveRadius(-1, 25), 13);
  EXPECT_FLOAT_EQ(TKShape::resolveRadius(4.5f, 25), 4.5f);
  // A capsule 60 x 30: the corners are cut by a radius of 15.
  auto ctx = fillShape(*TKRoundedRectangleShape::shapeWithRadius(-1), Rect(0, 0, 60, 30), {60, 30});
  EXPECT_FALSE(inked(ctx, 2, 2));
  EXPECT_FALSE(inked(ctx, 3, 26));
  EXPECT_TRUE(inked(ctx, 15, 1));
  EXPECT_TRUE(inked(ctx, 1, 15));
  EXPECT_TRUE(inked(ctx, 58, 15));
}

TEST(TKShape, ZeroRadiusTracesThePlainRectangle) {
  auto ctx = fillShape(*TKRoundedRectangleShape::shapeWithRadius(0), Rect(2, 3, 20, 10), {30, 20});
  EXPECT_TRUE(inked(ctx, 2, 3));
  EXPECT_TRUE(inked(ctx, 21, 12));
  EXPECT_FALSE(inked(ctx, 22, 12));
  EXPECT_FALSE(inked(ctx, 1, 3));
}

TEST(TKShape, ArrowPointIsAThirdOfTheHeightDeepAndInsetsThePointedSide) {
  // Height 28: the point is floor(28 / 2.8) = 10 deep.
  auto right = TKRoundedRightArrowShape::shapeWithRadius(-1);
  auto ctx = fillShape(*right, Rect(0, 0, 100, 28), {100, 28});
  EXPECT_TRUE(inked(ctx, 98, 14));   // the tip at mid-height
  EXPECT_FALSE(inked(ctx, 98, 3));   // beside the tip: cut away
  EXPECT_TRUE(inked(ctx, 50, 1));
  struct Case {
    float radius, height;
    cg::EdgeInsets right, left;
  } cases[] = {
      {-1, 28, {0, 0, 0, 5}, {0, 5, 0, 0}},  // floor(roundf(28 / 3 / 2))
      {4.5f, 28, {0, 0, 0, 4}, {0, 4, 0, 0}},
      {-1, 30, {0, 0, 0, 5}, {0, 5, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TKRoundedRightArrowShape::shapeWithRadius(c.radius)->insetsForSize({80, c.height}), c.right);
    EXPECT_EQ(TKRoundedLeftArrowShape::shapeWithRadius(c.radius)->insetsForSize({80, c.height}), c.left);
  }
  auto left = fillShape(*TKRoundedLeftArrowShape::shapeWithRadius(-1), Rect(0, 0, 100, 28), {100, 28});
  EXPECT_TRUE(inked(left, 1, 14));
  EXPECT_FALSE(inked(left, 1, 3));
}

TEST(TKShape, SpeechBubbleMakesRoomForItsTail) {
  auto up = TKSpeechBubbleShape::shapeWithRadius(5, 90, 90, {10, 8});
  expectRect(up->subtractPointFromRect(Rect(7, 9, 100, 50)), Rect(0, 8, 100, 42));
  auto ctx = fillShape(*up, Rect(0, 0, 100, 50), {100, 50});
  EXPECT_TRUE(inked(ctx, 50, 1));   // the tip at (50, 0)
  EXPECT_FALSE(inked(ctx, 30, 4));  // above the box, away from the tail
  EXPECT_TRUE(inked(ctx, 30, 10));

  auto down = TKSpeechBubbleShape::shapeWithRadius(5, 270, 270, {10, 8});
  expectRect(down->subtractPointFromRect(Rect(0, 0, 100, 50)), Rect(0, 0, 100, 42));
  auto d = fillShape(*down, Rect(0, 0, 100, 50), {100, 50});
  EXPECT_TRUE(inked(d, 50, 48));
  EXPECT_FALSE(inked(d, 30, 46));

  // A tail on a side only makes room.
  expectRect(TKSpeechBubbleShape::shapeWithRadius(5, 0, 0, {10, 8})->subtractPointFromRect(Rect(0, 0, 100, 50)),
             Rect(10, 0, 90, 50));
  expectRect(TKSpeechBubbleShape::shapeWithRadius(5, 180, 180, {10, 8})->subtractPointFromRect(Rect(0, 0, 100, 50)),
             Rect(0, 0, 90, 50));
}

TEST(TKShape, InversePathLiesAroundTheRectangleItself) {
  cg::Context ctx = cg::Context::bitmap(80, 80);
  TKRectangleShape::shape()->addInverseToPath(ctx, Rect(20, 30, 20, 10));
  ctx.setFillColor(cg::Color::red());
  ctx.fillPath(cg::FillRule::EvenOdd);
  EXPECT_TRUE(inked(ctx, 16, 26));
  EXPECT_FALSE(inked(ctx, 30, 35));
  EXPECT_FALSE(inked(ctx, 13, 35));
}

TEST(TKShape, CopiesThroughTheArchive) {
  auto bubble = TKSpeechBubbleShape::shapeWithRadius(5, 90, 45, {10, 8});
  auto copy = std::dynamic_pointer_cast<TKSpeechBubbleShape>(bubble->copy());
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), bubble.get());
  EXPECT_EQ(copy->pointAngle, 45);
  EXPECT_EQ(copy->pointSize, (cg::Size{10, 8}));
  EXPECT_EQ(TKRectangleShape::shape()->copy(), TKRectangleShape::shape());
}

// --- the chain ---------------------------------------------------------------------

TEST(TKStyleChain, InsetGrowsTheFrameTheFillReadsAndKeepsTheContentFrame) {
  auto recorder = std::make_shared<Recorder>();
  auto chain = TKShapeStyle::styleWithShape(TKRoundedRectangleShape::shapeWithRadius(2),
                                            TKInsetStyle::styleWithInset({0, -1, -2, -1},
                                                                         TKSolidFillStyle::styleWithColor(cg::Color::red(), recorder)));
  cg::Context ctx = cg::Context::bitmap(80, 50);
  TKStyleContext context(&ctx);
  context.setFrame(Rect(10, 20, 50, 16));
  context.setContentFrame(Rect(10, 20, 50, 16));
  chain->draw(context);
  expectRect(recorder->frame, Rect(9, 20, 52, 18));
  expectRect(recorder->content, Rect(10, 20, 50, 16));
  EXPECT_TRUE(inked(ctx, 9, 28));   // one point left of the box
  EXPECT_TRUE(inked(ctx, 35, 37));  // two points below it
  EXPECT_FALSE(inked(ctx, 8, 28));
  EXPECT_FALSE(context.didDrawContent());
}

TEST(TKStyleChain, SizesAndInsets) {
  TKStyleContext context;
  auto box = TKBoxStyle::styleWithPadding({4, 6, 4, 6}, nullptr);
  EXPECT_EQ(box->addToSize({}, context), (cg::Size{12, 8}));
  // A shape step at the end answers its insets alone.
  auto shape = TKShapeStyle::styleWithShape(TKRoundedRightArrowShape::shapeWithRadius(4.5f), nullptr);
  EXPECT_EQ(shape->addToSize({100, 100}, context), (cg::Size{4, 0}));
  auto chain = TKInsetStyle::styleWithInset({1, 2, 3, 4}, TKShapeStyle::styleWithShape(
                                                             TKRoundedLeftArrowShape::shapeWithRadius(4.5f), nullptr));
  EXPECT_EQ(chain->addToInsets({}, {50, 28}), (cg::EdgeInsets{1, 6, 3, 4}));
}

TEST(TKStyleChain, PartsClassesAndAppending) {
  auto image = TKImageStyle::styleWithImageURL("", nullptr);
  auto chain = TKPartStyle::styleWithName("other", nullptr,
                                          TKBoxStyle::styleWithPadding({}, TKPartStyle::styleWithName("image", image, nullptr)));
  EXPECT_EQ(chain->styleForPart("missing"), nullptr);
  ASSERT_NE(chain->styleForPart("image"), nullptr);
  EXPECT_EQ(chain->styleForPart("image")->style, image);
  EXPECT_NE(chain->firstStyleOfClass<TKBoxStyle>(), nullptr);
  EXPECT_EQ(chain->firstStyleOfClass<TKTextStyle>(), nullptr);
  chain->addStyle(TKTextStyle::styleWithColor(cg::Color::red(), nullptr));
  EXPECT_NE(chain->firstStyleOfClass<TKTextStyle>(), nullptr);
}

TEST(TKStyleChain, TextAlignmentRectangles) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 18));
  ui::Font f = ui::Font::systemFontOfSize(14);
  struct Case {
    int align, valign;
    Rect want;
  } cases[] = {
      {0, 1, Rect(0, 0, 100, 30)},  // left and top: the whole size, unmeasured
      {1, 0, Rect(30, 6, 40, 18)},
      {2, 2, Rect(60, 12, 40, 18)},
      {0, 0, Rect(0, 6, 40, 18)},
  };
  for (const auto& c : cases) {
    auto style = TKTextStyle::styleWithFont(f, std::nullopt, c.align, nullptr);
    style->verticalAlignment = c.valign;
    expectRect(style->rectForText("abcd", {100, 30}, f), c.want);
  }
}

TEST(TKStyleChain, TextStepDrawsTheDelegatesTextAndMeasuresItsLines) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 18));
  TextDelegate delegate;
  delegate.text = "abcd";
  auto style = TKTextStyle::styleWithFont(ui::Font::systemFontOfSize(14), cg::Color::black(), nullptr);
  TKStyleContext measuring;
  measuring.setDelegate(&delegate);
  EXPECT_EQ(style->addToSize({}, measuring), (cg::Size{40, 18}));

  cg::Context ctx = cg::Context::bitmap(130, 50);
  TKStyleContext context(&ctx);
  context.setDelegate(&delegate);
  context.setFrame(Rect(20, 10, 100, 30));
  context.setContentFrame(Rect(20, 10, 100, 30));
  style->draw(context);
  EXPECT_TRUE(context.didDrawContent());
  // The content frame is the text's rectangle where it was drawn, inside the box.
  expectRect(context.contentFrame(), Rect(50, 16, context.contentFrame().width(), context.contentFrame().height()));
}

TEST(TKStyleChain, DeepCopyAndArchiveDefaults) {
  auto chain = TKShapeStyle::styleWithShape(
      TKRoundedRectangleShape::shapeWithRadius(4.5f),
      TKSolidFillStyle::styleWithColor(cg::Color::red(),
                                       TKTextStyle::styleWithFont(ui::Font::boldSystemFontOfSize(13), cg::Color::white(),
                                                                  2, nullptr)));
  auto copy = chain->copy();
  ASSERT_TRUE(copy);
  std::vector<TKStyle*> a, b;
  for (TKStyle* s = chain.get(); s; s = s->next().get()) a.push_back(s);
  for (TKStyle* s = copy.get(); s; s = s->next().get()) b.push_back(s);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_NE(a[i], b[i]);
    EXPECT_EQ(a[i]->className(), b[i]->className());
  }
  auto* text = copy->firstStyleOfClass<TKTextStyle>();
  EXPECT_EQ(text->textAlignment, 2);
  EXPECT_FLOAT_EQ(text->font->pointSize(), 13);
  EXPECT_NE(static_cast<TKShapeStyle*>(copy.get())->shape, static_cast<TKShapeStyle*>(chain.get())->shape);

  ns::Dictionary lacking{{"$class", "TKTextStyle"}};
  auto decoded = std::dynamic_pointer_cast<TKTextStyle>(TKStyle::unarchive(lacking));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->numberOfLines, 1);
  // Only registered class names of plain words decode.
  EXPECT_EQ(TKStyle::unarchive(ns::Dictionary{{"$class", "../TKTextStyle"}}), nullptr);
  EXPECT_EQ(TKStyle::unarchive(ns::Dictionary{{"$class", "NoSuchStyle"}}), nullptr);
}

// --- fills, shadows, borders --------------------------------------------------------

TEST(TKFills, ShadowInsetsAndMeasureAgree) {
  struct Case {
    float blur;
    cg::Size offset;
    cg::EdgeInsets insets;
    cg::Size grown;
  } cases[] = {
      {0, {0, 0}, {0, 0, 0, 0}, {0, 0}},
      {3, {0, 4}, {0, 2, 10, 2}, {4, 10}},    // b = 2: bottom 2 + 4 + 4
      {3, {0, -4}, {10, 2, 0, 2}, {4, 10}},    // a negative offset takes as much room
      {1, {2, 0}, {1, 0, 1, 5}, {5, 2}},
  };
  TKStyleContext context;
  for (const auto& c : cases) {
    auto shadow = TKShadowStyle::styleWithColor(cg::Color::black(), c.blur, c.offset, nullptr);
    EXPECT_EQ(shadow->shadowInsets(), c.insets);
    EXPECT_EQ(shadow->addToSize({}, context), c.grown);
    cg::EdgeInsets e = shadow->shadowInsets();
    EXPECT_FLOAT_EQ(c.grown.width, e.left + e.right);
    EXPECT_FLOAT_EQ(c.grown.height, e.top + e.bottom);
  }
  auto inner = TKInnerShadowStyle::styleWithColor(cg::Color::black(), 3, {0, 4}, nullptr);
  EXPECT_EQ(inner->addToSize({1, 1}, context), (cg::Size{1, 1}));
}

TEST(TKFills, BordersShrinkTheFrame) {
  auto run = [](std::shared_ptr<TKStyle> first) {
    cg::Context ctx = cg::Context::bitmap(50, 20);
    TKStyleContext context(&ctx);
    context.setFrame(Rect(0, 0, 50, 20));
    context.setContentFrame(Rect(0, 0, 50, 20));
    first->draw(context);
    return ctx;
  };
  auto rec = std::make_shared<Recorder>();
  auto ctx = run(TKSolidBorderStyle::styleWithColor(cg::Color::red(), 1, rec));
  expectRect(rec->frame, Rect(1, 1, 48, 18));
  EXPECT_TRUE(inked(ctx, 0, 10));
  EXPECT_FALSE(inked(ctx, 1, 10));

  rec = std::make_shared<Recorder>();
  ctx = run(TKFourBorderStyle::styleWithBottom(cg::Color::red(), 1, rec));
  expectRect(rec->frame, Rect(0, 0, 50, 19));
  EXPECT_TRUE(inked(ctx, 25, 19));
  EXPECT_FALSE(inked(ctx, 25, 0));
  EXPECT_FALSE(inked(ctx, 0, 10));

  rec = std::make_shared<Recorder>();
  run(TKBevelBorderStyle::styleWithHighlight(cg::Color::white(), std::nullopt, 1, 270, rec));
  // At 270 only the top takes the (missing) shadow colour.
  expectRect(rec->frame, Rect(1, 0, 48, 19));
}

TEST(TKFills, BevelSidesFollowTheLightSource) {
  using Sides = std::array<bool, 4>;  // top, right, bottom, left in the light
  EXPECT_EQ(TKBevelBorderStyle::sidesInLight(270), (Sides{false, true, true, true}));
  EXPECT_EQ(TKBevelBorderStyle::sidesInLight(125), (Sides{true, false, false, true}));
  EXPECT_EQ(TKBevelBorderStyle::sidesInLight(0), (Sides{true, true, true, false}));
  EXPECT_EQ(TKBevelBorderStyle::sidesInLight(-5), (Sides{false, false, false, false}));
  EXPECT_EQ(TKBevelBorderStyle::sidesInLight(361), (Sides{false, false, false, false}));
  auto bevel = TKBevelBorderStyle::styleWithColor(cg::Color(0.5f, 0.25f, 0.25f), 2, nullptr);
  EXPECT_EQ(bevel->lightSource, 125);
  EXPECT_NEAR(cg::hsvOfColor(*bevel->highlight).saturation, 0.2f, 1e-4);
  EXPECT_NEAR(cg::hsvOfColor(*bevel->highlight).value, 0.6f, 1e-4);
  EXPECT_NEAR(cg::hsvOfColor(*bevel->shadow).value, 0.3f, 1e-4);
}

TEST(TKFills, ReflectiveColours) {
  auto [top, middle] = TKReflectiveFillStyle::reflectionColors(cg::Color::gray(0.5f));
  EXPECT_NEAR(cg::hsvOfColor(top).value, 0.6f, 1e-4);
  EXPECT_NEAR(cg::hsvOfColor(middle).value, 0.55f, 1e-4);
  EXPECT_NEAR(cg::hsvOfColor(top).saturation, 0, 1e-4);
  auto [btop, bmiddle] = TKReflectiveFillStyle::reflectionColors(cg::Color::black());
  EXPECT_NEAR(cg::hsvOfColor(btop).value, 0.25f, 1e-4);
  EXPECT_NEAR(cg::hsvOfColor(bmiddle).value, 0.1f, 1e-4);
}

TEST(TKFills, ShadowRunsTheRestInALayerAndCastsIt) {
  auto chain = TKShadowStyle::styleWithColor(cg::Color::black(), 0, {0, 4},
                                             TKSolidFillStyle::styleWithColor(cg::Color::red(), nullptr));
  cg::Context ctx = cg::Context::bitmap(40, 40);
  TKStyleContext context(&ctx);
  context.setFrame(Rect(0, 0, 40, 40));
  context.setContentFrame(Rect(0, 0, 40, 40));
  chain->draw(context);
  // The fill covers (0, 0, 40, 36); its shadow falls 4 points below.
  EXPECT_PIXEL(cgtest::px(ctx, 20, 10), cgtest::kRed);
  EXPECT_PIXEL(cgtest::px(ctx, 20, 38), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_EQ(ctx.saveDepth(), 0);
}

// --- style sheets --------------------------------------------------------------------

class TKStyleSheetTest : public ::testing::Test {
 protected:
  void TearDown() override { TKStyleSheet::setGlobalStyleSheet(nullptr); }
};

TEST_F(TKStyleSheetTest, CachesPerNameAndStateUntilAMemoryWarning) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  auto a = sheet->styleWithSelector("linkText:");
  EXPECT_EQ(sheet->styleWithSelector("linkText:", 0), a);
  auto pressed = sheet->styleWithSelector("linkText:", 1);
  EXPECT_NE(pressed, a);
  EXPECT_EQ(sheet->cachedStyleCount(), 2u);
  EXPECT_EQ(sheet->styleWithSelector("noSuchStyle"), nullptr);
  EXPECT_EQ(sheet->cachedStyleCount(), 2u);
  ns::NotificationCenter::defaultCenter().postNotificationName(ui::ApplicationDidReceiveMemoryWarningNotification);
  EXPECT_EQ(sheet->cachedStyleCount(), 0u);
  auto again = sheet->styleWithSelector("linkText:");
  EXPECT_NE(again, a);
  EXPECT_TRUE(again->firstStyleOfClass<TKTextStyle>());
}

TEST_F(TKStyleSheetTest, ClassNamesFromMarkupReachOnlyRegisteredStyles) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  for (const char* name : {"font", "textColor", "freeMemory", "badgeWithFontSize:", "../../etc/passwd", "yellowBox"}) {
    EXPECT_EQ(sheet->styleWithSelector(name), nullptr) << name;
  }
  EXPECT_EQ(sheet->styleFromAppBundleForSelector("a/b"), nullptr);
}

TEST_F(TKStyleSheetTest, StylesNoMethodMakesComeFromArchives) {
  testing_support::TempDir dir;
  ns::createDirectory(dir.file("Toolkit.bundle"));
  ns::createDirectory(dir.file("Toolkit.bundle/styles"));
  auto chain = TKShapeStyle::styleWithShape(TKRoundedRectangleShape::shapeWithRadius(3),
                                            TKSolidFillStyle::styleWithColor(cg::Color::red(), nullptr));
  ASSERT_TRUE(ns::writeFileAtomically(dir.file("Toolkit.bundle/styles/fancy.tkstyle"), chain->archive().toJSON()));
  ASSERT_TRUE(ns::writeFileAtomically(dir.file("broken.tkstyle"), std::string("{\"$class\": ")));
  setenv("ZARVEL_RESOURCES", dir.path().c_str(), 1);
  auto sheet = TKStyleSheet::globalStyleSheet();
  auto fancy = sheet->styleWithSelector("fancy");
  ASSERT_TRUE(fancy);
  EXPECT_EQ(static_cast<TKRoundedRectangleShape*>(fancy->firstStyleOfClass<TKShapeStyle>()->shape.get())->topLeftRadius, 3);
  EXPECT_EQ(*fancy->firstStyleOfClass<TKSolidFillStyle>()->color, cg::Color::red());
  EXPECT_EQ(sheet->styleWithSelector("fancy"), fancy);
  EXPECT_EQ(sheet->styleWithSelector("broken"), nullptr);
  EXPECT_EQ(sheet->styleWithSelector("missing"), nullptr);
  EXPECT_EQ(sheet->cachedStyleCount(), 1u);
  unsetenv("ZARVEL_RESOURCES");
}

TEST_F(TKStyleSheetTest, LinkTextDiffersOnlyWhenHighlighted) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  for (unsigned state : {0u, 2u, 4u}) {
    auto style = sheet->styleWithSelector("linkText:", state);
    auto* text = dynamic_cast<TKTextStyle*>(style.get());
    ASSERT_TRUE(text) << state;
    EXPECT_EQ(text->color, sheet->linkTextColor());
    EXPECT_EQ(style->next(), nullptr);
  }
  auto pressed = sheet->styleWithSelector("linkText:", 1);
  EXPECT_TRUE(dynamic_cast<TKInsetStyle*>(pressed.get()));
  EXPECT_TRUE(pressed->firstStyleOfClass<TKSolidFillStyle>());
}

struct RedBarSheet : TKDefaultStyleSheet {
  cg::Color navigationBarTintColor() override { return cg::Color(0.8f, 0.1f, 0.1f); }
  cg::Color backgroundColor() override { return cg::Color(0.9f, 0.9f, 0.8f); }
};

// The toolkit's base controllers read the sheet through the provider this
// library registers: a controller takes the sheet installed when it is made.
TEST_F(TKStyleSheetTest, BaseControllersTakeTheSheetsTintAndBackgroundWhenMade) {
  auto before = std::make_shared<TKViewController>();
  TKStyleSheet::setGlobalStyleSheet(std::make_shared<RedBarSheet>());
  auto after = std::make_shared<TKViewController>();
  EXPECT_EQ(before->navigationBarTintColor(), TKViewController::kDefaultNavigationBarTint);
  EXPECT_EQ(after->navigationBarTintColor(), cg::Color(0.8f, 0.1f, 0.1f));
  EXPECT_EQ(after->view()->backgroundColor(), cg::Color(0.9f, 0.9f, 0.8f));

  auto stack = ui::NavigationController::withRoot(after);
  stack->navigationBar()->setBarStyle(1);
  stack->navigationBar()->setTintColor(cg::Color::fromRGB255(51, 33, 18));
  ui::Application::shared().setStatusBarStyle(1);
  after->setStatusBarStyle(2);
  after->viewWillAppear(false);
  EXPECT_EQ(stack->navigationBar()->tintColor(), cg::Color(0.8f, 0.1f, 0.1f));
  EXPECT_EQ(stack->navigationBar()->barStyle(), 0);
  EXPECT_EQ(ui::Application::shared().statusBarStyle(), 2);
  ui::Application::shared().setStatusBarStyle(0);
}

TEST_F(TKStyleSheetTest, AnInstalledSubclassChangesLaterStyles) {
  auto before = TKStyleSheet::globalStyleSheet()->styleWithSelector("toolbarButton:");
  auto colourOf = [](const std::shared_ptr<TKStyle>& s) { return *s->firstStyleOfClass<TKReflectiveFillStyle>()->color; };
  TKStyleSheet::setGlobalStyleSheet(std::make_shared<RedBarSheet>());
  auto after = TKStyleSheet::globalStyleSheet()->styleWithSelector("toolbarButton:");
  EXPECT_GT(colourOf(after).r, colourOf(after).b);
  EXPECT_LT(colourOf(before).r, colourOf(before).b);

  TKStyleSheet::setGlobalStyleSheet(std::make_shared<HighlightTextStyleSheet>());
  auto sheet = TKStyleSheet::globalStyleSheet();
  auto yellow = sheet->styleWithSelector("yellowBox");
  ASSERT_TRUE(yellow);
  EXPECT_TRUE(yellow->firstStyleOfClass<TKShapeStyle>());
  EXPECT_EQ(yellow->firstStyleOfClass<TKInsetStyle>()->inset, (cg::EdgeInsets{0, -1, -2, -1}));
  EXPECT_EQ(*dynamic_cast<TKTextStyle*>(sheet->styleWithSelector("whiteBox").get())->color, cg::Color::white());
  EXPECT_EQ(sheet->highlightedTextColor(), cg::Color::white());
}

TEST_F(TKStyleSheetTest, ToolbarBodiesByTintAndState) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  cg::Color dark = cg::Color::fromRGB255(10, 10, 10);
  float normal = cg::hsvOfColor(sheet->toolbarButtonColorWithTintColor(dark, 0)).value;
  float pressed = cg::hsvOfColor(sheet->toolbarButtonColorWithTintColor(dark, 1)).value;
  EXPECT_GT(pressed, normal);
  EXPECT_EQ(sheet->toolbarButtonTextColorForState(2), cg::Color::gray(1, 0.4f));
  // A corner outside 1..6 uses the plain rectangle.
  auto tab = sheet->tabGridTab(0, 9);
  EXPECT_EQ(tab->firstStyleOfClass<TKShapeStyle>()->shape, TKRectangleShape::shape());
}

}  // namespace
