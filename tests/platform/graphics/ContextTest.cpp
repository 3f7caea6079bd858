#include "platform/graphics/Context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Pixels.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Layer.h"
#include "platform/graphics/ScaledImageCache.h"

using namespace cgtest;
using cg::Color;
using cg::Rect;

TEST(Context, FillRectUsesTopLeftOriginAtEveryScale) {
  for (float scale : {1.0f, 2.0f}) {
    cg::Context ctx = cg::Context::bitmap(4, 4, scale);
    EXPECT_EQ(ctx.pixelWidth(), int(4 * scale));
    EXPECT_EQ(ctx.size(), (cg::Size{4, 4}));
    ctx.setFillColor(Color::red());
    ctx.fillRect(Rect(0, 0, 2, 1));
    auto img = ctx.makeImage();
    EXPECT_EQ(img->scale(), scale);
    int s = int(scale);
    EXPECT_PIXEL(img->pixelAt(0, 0), kRed);
    EXPECT_PIXEL(img->pixelAt(2 * s - 1, s - 1), kRed);
    EXPECT_PIXEL(img->pixelAt(0, s), kNone);
    EXPECT_PIXEL(img->pixelAt(2 * s, 0), kNone);
  }
}

TEST(Context, SaveRestoreBringsBackColourTransformAndClip) {
  cg::Context ctx = cg::Context::bitmap(4, 4);
  ctx.setFillColor(Color::red());
  ctx.save();
  ctx.setFillColor(Color::blue());
  ctx.translate(2, 0);
  ctx.clipToRect(Rect(0, 0, 1, 1));
  ctx.fillRect(Rect(0, 0, 4, 4));  // only (2,0)
  EXPECT_EQ(ctx.saveDepth(), 1);
  ctx.restore();
  EXPECT_EQ(ctx.fillColor(), Color::red());
  ctx.fillRect(Rect(0, 3, 4, 1));
  EXPECT_PIXEL(px(ctx, 2, 0), kBlue);
  EXPECT_PIXEL(px(ctx, 3, 0), kNone);
  EXPECT_PIXEL(px(ctx, 0, 3), kRed);
  // An unmatched restore is refused and logged, not a crash.
  ns::LogCapture log;
  log.setEcho(false);
  ctx.restore();
  EXPECT_EQ(ctx.saveDepth(), 0);
  EXPECT_TRUE(log.contains("without a matching save"));
}

TEST(Context, DrawImageIsUprightAndScaledIntoTheRect) {
  auto img = redOverBlue();
  cg::Context ctx = cg::Context::bitmap(4, 4);
  ctx.drawImage(*img, Rect(0, 0, 4, 4));
  // Smoothed between the rows, but the edges do not fade into transparency.
  EXPECT_PIXEL(px(ctx, 0, 0), kRed);
  EXPECT_PIXEL(px(ctx, 3, 0), kRed);
  EXPECT_PIXEL(px(ctx, 0, 3), kBlue);
  EXPECT_GT(px(ctx, 1, 1).r, px(ctx, 1, 1).b);

  // A source part stretched over the rect: only the bottom row, no red bleeding in.
  cg::Context part = cg::Context::bitmap(4, 4);
  part.drawImage(*img, Rect(0, 0, 4, 4), Rect(0, 1, 2, 1));
  for (int y = 0; y < 4; ++y) EXPECT_PIXEL(px(part, 1, y), kBlue) << y;
}

// An image stretched far past the largest bitmap (an animation's stretch
// can do it) is drawn where it shows, and the context draws on after it.
TEST(Context, AnImageStretchedPastTheLargestBitmapLeavesTheContextDrawing) {
  auto img = redOverBlue();
  cg::Context ctx = cg::Context::bitmap(8, 8);
  ctx.drawImage(*img, Rect(-20000, 0, 40000, 4));
  EXPECT_PIXEL(px(ctx, 4, 0), kRed);
  ctx.setFillColor(Color::fromRGB255(0, 255, 0));
  ctx.fillRect(Rect(0, 6, 8, 2));
  EXPECT_PIXEL(px(ctx, 4, 7), kGreen);
}

TEST(Context, FillMaskPaintsTheFillColourThroughTheImageAlpha) {
  cg::Context maskCtx = cg::Context::bitmap(2, 1);
  maskCtx.setFillColor(Color(0, 1, 0, 1));
  maskCtx.fillRect(Rect(0, 0, 1, 1));
  maskCtx.setFillColor(Color(0, 1, 0, 0.5f));
  maskCtx.fillRect(Rect(1, 0, 1, 1));
  auto mask = maskCtx.makeImage();

  cg::Context ctx = cg::Context::bitmap(2, 1);
  ctx.setFillColor(Color::red());
  ctx.fillMask(*mask, Rect(0, 0, 2, 1));
  EXPECT_PIXEL(px(ctx, 0, 0), kRed);
  EXPECT_PIXEL(px(ctx, 1, 0), (cg::RGBA{255, 0, 0, 128}));
}

TEST(Context, ClipToMaskLimitsDrawingUntilRestore) {
  // Mask: opaque left column, half-transparent middle, clear right.
  cg::Context maskCtx = cg::Context::bitmap(3, 1);
  maskCtx.setFillColor(Color::black());
  maskCtx.fillRect(Rect(0, 0, 1, 1));
  maskCtx.setFillColor(Color(0, 0, 0, 0.5f));
  maskCtx.fillRect(Rect(1, 0, 1, 1));
  auto mask = maskCtx.makeImage();

  struct Case { cg::BlendMode mode; cg::RGBA left, middle, right; };
  // Over blue: normal mixes in proportion; copy replaces in proportion, keeping blue outside.
  const Case cases[] = {
      {cg::BlendMode::Normal, kRed, {128, 0, 127, 255}, kBlue},
      {cg::BlendMode::Copy, kRed, {128, 0, 127, 255}, kBlue},
  };
  for (const Case& c : cases) {
    cg::Context ctx = cg::Context::bitmap(3, 2);
    ctx.setFillColor(Color::blue());
    ctx.fillRect(Rect(0, 0, 3, 2));
    ctx.save();
    ctx.clipToMask(Rect(0, 0, 3, 1), *mask);
    ctx.setBlendMode(c.mode);
    ctx.setFillColor(Color::red());
    ctx.fillRect(Rect(0, 0, 3, 2));
    ctx.restore();
    EXPECT_PIXEL(px(ctx, 0, 0), c.left);
    EXPECT_PIXEL(px(ctx, 1, 0), c.middle);
    EXPECT_PIXEL(px(ctx, 2, 0), c.right);
    EXPECT_PIXEL(px(ctx, 0, 1), kBlue);  // outside the mask's rect
    // After restore, drawing is unmasked again.
    ctx.setFillColor(Color::green());
    ctx.fillRect(Rect(2, 0, 1, 1));
    EXPECT_PIXEL(px(ctx, 2, 0), kGreen);
  }
}

TEST(Context, ClipToMaskWithoutSaveEndsWithTheContext) {
  cg::Context maskCtx = cg::Context::bitmap(2, 1);
  maskCtx.fillRect(Rect(0, 0, 1, 1));
  auto mask = maskCtx.makeImage();
  auto layer = cg::Layer::create({2, 1});
  layer->context().clipToMask(Rect(0, 0, 2, 1), *mask);
  layer->context().setFillColor(Color::red());
  layer->context().fillRect(Rect(0, 0, 2, 1));
  // Pending masked drawing is not in the target yet; destroying the context must not leak or crash.
  SUCCEED();
}

TEST(Context, BlendModesAffectOnlyTheShapeDrawn) {
  struct Case { cg::BlendMode mode; Color fill; cg::RGBA inside, outside; };
  // Destination: opaque blue over the whole bitmap; the fill covers the left pixel only.
  const Case cases[] = {
      {cg::BlendMode::Normal, Color(1, 0, 0, 0.5f), {128, 0, 127, 255}, kBlue},
      {cg::BlendMode::Copy, Color(1, 0, 0, 0.5f), {255, 0, 0, 128}, kBlue},
      {cg::BlendMode::SourceIn, Color::red(), kRed, kBlue},
      {cg::BlendMode::DestinationOut, Color::red(), kNone, kBlue},
      {cg::BlendMode::DestinationIn, Color(1, 0, 0, 0.5f), {0, 0, 255, 128}, kBlue},
      {cg::BlendMode::Multiply, Color::white(), kBlue, kBlue},
      {cg::BlendMode::Clear, Color::red(), kNone, kBlue},
  };
  for (const Case& c : cases) {
    cg::Context ctx = cg::Context::bitmap(2, 1);
    ctx.setFillColor(Color::blue());
    ctx.fillRect(Rect(0, 0, 2, 1));
    ctx.setBlendMode(c.mode);
    ctx.setFillColor(c.fill);
    ctx.fillRect(Rect(0, 0, 1, 1));
    EXPECT_PIXEL(px(ctx, 0, 0), c.inside) << int(c.mode);
    EXPECT_PIXEL(px(ctx, 1, 0), c.outside) << int(c.mode);
  }
}

TEST(Context, ClearRectAndGlobalAlpha) {
  cg::Context ctx = cg::Context::bitmap(2, 1);
  ctx.setAlpha(0.5f);
  ctx.setFillColor(Color::red());
  ctx.fillRect(Rect(0, 0, 2, 1));
  EXPECT_PIXEL(px(ctx, 0, 0), (cg::RGBA{255, 0, 0, 128}));
  ctx.clearRect(Rect(1, 0, 1, 1));
  EXPECT_PIXEL(px(ctx, 1, 0), kNone);
}

TEST(Context, TransparencyLayerCompositesOnceWithItsAlpha) {
  cg::Context ctx = cg::Context::bitmap(3, 1);
  ctx.setAlpha(0.5f);
  ctx.setFillColor(Color::red());
  ctx.beginTransparencyLayer();
  ctx.fillRect(Rect(0, 0, 2, 1));
  ctx.fillRect(Rect(1, 0, 2, 1));  // overlaps at x = 1
  ctx.endTransparencyLayer();
  // Without the layer the overlap would be 75% opaque; with it every pixel is 50%.
  for (int x = 0; x < 3; ++x) EXPECT_PIXEL(px(ctx, x, 0), (cg::RGBA{255, 0, 0, 128})) << x;
  EXPECT_EQ(ctx.alpha(), 0.5f);
  EXPECT_EQ(ctx.saveDepth(), 0);
  ns::LogCapture log;
  log.setEcho(false);
  ctx.endTransparencyLayer();  // unmatched: logged, nothing else
  EXPECT_TRUE(log.contains("without a beginning"));
}

TEST(Context, RoundedRectAndTangentArcStayInsideTheirBox) {
  cg::Context ctx = cg::Context::bitmap(14, 14);
  ctx.setFillColor(Color::red());
  ctx.addRoundedRect(Rect(2, 2, 10, 10), 4);
  EXPECT_EQ(ctx.pathBoundingBox(), Rect(2, 2, 10, 10));
  ctx.fillPath();
  auto img = ctx.makeImage();
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 14; ++x) {
      if (x < 2 || y < 2 || x >= 12 || y >= 12) {
        EXPECT_EQ(img->pixelAt(x, y).a, 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(img->pixelAt(2, 2).a, 0);  // the corner is cut
  EXPECT_PIXEL(img->pixelAt(7, 7), kRed);
  EXPECT_PIXEL(img->pixelAt(2, 7), kRed);  // the straight edge is full

  // A tangent arc rounding the top-left corner of a square with radius 5.
  cg::Context arc = cg::Context::bitmap(12, 12);
  arc.moveTo({1, 11});
  arc.arcToPoint({1, 1}, {11, 1}, 5);
  cg::Point p = arc.currentPoint();
  EXPECT_NEAR(p.x, 6, 1e-3);
  EXPECT_NEAR(p.y, 1, 1e-3);
  Rect box = arc.pathBoundingBox();
  EXPECT_GE(box.minX(), 1 - 1e-3);
  EXPECT_GE(box.minY(), 1 - 1e-3);
  arc.lineTo({11, 1});
  arc.lineTo({11, 11});
  arc.closePath();
  arc.setFillColor(Color::red());
  arc.fillPath();
  EXPECT_EQ(px(arc, 1, 1).a, 0);
  EXPECT_LT(px(arc, 2, 2).a, 200);  // mostly outside the circle around (6, 6)
  EXPECT_PIXEL(px(arc, 4, 4), kRed);
  EXPECT_PIXEL(px(arc, 1, 9), kRed);

  // The other turning direction and a degenerate (straight) corner.
  cg::Context other = cg::Context::bitmap(12, 12);
  other.moveTo({11, 1});
  other.arcToPoint({1, 1}, {1, 11}, 5);
  EXPECT_NEAR(other.currentPoint().x, 1, 1e-3);
  EXPECT_NEAR(other.currentPoint().y, 6, 1e-3);
  other.arcToPoint({1, 11}, {1, 12}, 5);  // collinear: a straight line to the corner
  EXPECT_NEAR(other.currentPoint().y, 11, 1e-3);
}

TEST(Context, ShadowFallsBelowRightAndLeavesTheShapeAlone) {
  cg::Context ctx = cg::Context::bitmap(20, 20);
  ctx.setShadow({3, -3}, 2, Color::black());  // the height points up
  ctx.setFillColor(Color::white());
  ctx.fillRect(Rect(4, 4, 6, 6));
  EXPECT_PIXEL(px(ctx, 6, 6), kWhite);
  EXPECT_PIXEL(px(ctx, 9, 9), kWhite);
  cg::RGBA below = px(ctx, 11, 11);
  EXPECT_GT(below.a, 100);
  EXPECT_LT(below.r, 40);
  EXPECT_EQ(px(ctx, 1, 1).a, 0);
  EXPECT_EQ(px(ctx, 17, 4).a, 0);
  // Turned off, no shadow.
  ctx.clearShadow();
  ctx.fillRect(Rect(0, 14, 2, 2));
  EXPECT_EQ(px(ctx, 3, 17).a, 0);
  // A positive height casts the shadow upwards.
  ctx.setShadow({0, 3}, 0, Color::black());
  ctx.fillRect(Rect(14, 14, 2, 2));
  EXPECT_PIXEL(px(ctx, 14, 11), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_EQ(px(ctx, 14, 17).a, 0);
}

TEST(Context, ShadowOffsetIgnoresTheTransformButFollowsTheScale) {
  cg::Context ctx = cg::Context::bitmap(10, 10, 2);
  ctx.scaleBy(2, 2);
  ctx.setShadow({2, 0}, 0, Color::black());
  ctx.setFillColor(Color::white());
  ctx.fillRect(Rect(0, 0, 1, 1));  // points 0..2, pixels 0..4
  EXPECT_PIXEL(px(ctx, 5, 1), (cg::RGBA{0, 0, 0, 255}));   // shadow at points 2..4
  EXPECT_EQ(px(ctx, 9, 1).a, 0);
}

TEST(Context, LinearGradientEndpointsAndOptions) {
  struct Case { unsigned options; int before, after; };
  const Case cases[] = {{0, 0, 0},
                        {cg::GradientDrawsBeforeStart, 255, 0},
                        {cg::GradientDrawsBeforeStart | cg::GradientDrawsAfterEnd, 255, 255}};
  for (const Case& c : cases) {
    cg::Context ctx = cg::Context::bitmap(12, 1);
    ctx.drawLinearGradient({Color::red(), Color::blue()}, {0, 1}, {2, 0}, {10, 0}, c.options);
    cg::RGBA first = px(ctx, 2, 0), last = px(ctx, 9, 0);
    EXPECT_GT(first.r, 200);
    EXPECT_LT(first.b, 60);
    EXPECT_GT(last.b, 200);
    EXPECT_LT(last.r, 60);
    EXPECT_EQ(px(ctx, 0, 0).a, c.before);
    EXPECT_EQ(px(ctx, 11, 0).a, c.after);
  }
}

TEST(Context, StrokeRectAndEvenOddFill) {
  cg::Context ctx = cg::Context::bitmap(10, 10);
  ctx.setStrokeColor(Color::red());
  ctx.setLineWidth(2);
  ctx.strokeRect(Rect(2, 2, 6, 6));
  EXPECT_PIXEL(px(ctx, 2, 5), kRed);
  EXPECT_EQ(px(ctx, 5, 5).a, 0);

  cg::Context eo = cg::Context::bitmap(10, 10);
  eo.setFillColor(Color::red());
  eo.addRect(Rect(0, 0, 10, 10));
  eo.addRect(Rect(3, 3, 4, 4));
  eo.fillPath(cg::FillRule::EvenOdd);
  EXPECT_EQ(px(eo, 5, 5).a, 0);
  EXPECT_PIXEL(px(eo, 1, 1), kRed);
  EXPECT_TRUE(eo.isPathEmpty());
}

TEST(Context, ClipToPathAndEllipse) {
  cg::Context ctx = cg::Context::bitmap(10, 10);
  ctx.addEllipseInRect(Rect(0, 0, 10, 10));
  ctx.clip();
  ctx.setFillColor(Color::red());
  ctx.fillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(px(ctx, 0, 0).a, 0);
  EXPECT_PIXEL(px(ctx, 5, 5), kRed);
}

// One bitmap pixel to one device pixel takes the exact path: it covers just
// its rect, keeps to the clip and still casts its shadow.
TEST(Context, ExactImageCopyKeepsToItsRectTheClipAndCastsItsShadow) {
  auto img = redOverBlue();
  cg::Context ctx = cg::Context::bitmap(8, 8);
  ctx.setFillColor(Color::green());
  ctx.fillRect(Rect(0, 0, 8, 8));
  ctx.save();
  ctx.clipToRect(Rect(0, 0, 3, 8));
  ctx.drawImage(*img, Rect(2, 2, 2, 2));
  ctx.restore();
  EXPECT_PIXEL(px(ctx, 2, 2), kRed);
  EXPECT_PIXEL(px(ctx, 2, 3), kBlue);
  EXPECT_PIXEL(px(ctx, 3, 2), kGreen);  // clipped
  EXPECT_PIXEL(px(ctx, 1, 2), kGreen);  // beside the rect
  EXPECT_PIXEL(px(ctx, 2, 4), kGreen);  // below it

  cg::Context shadowed = cg::Context::bitmap(8, 8);
  shadowed.setShadow({3, -3}, 0, Color::black());
  shadowed.drawImage(*img, Rect(0, 0, 2, 2));
  EXPECT_PIXEL(px(shadowed, 0, 0), kRed);
  EXPECT_PIXEL(px(shadowed, 1, 1), kBlue);
  EXPECT_PIXEL(px(shadowed, 4, 4), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_PIXEL(px(shadowed, 2, 2), kNone);
}

TEST(Context, DrawingAnImageLeavesTheSourceAndThePathAsTheyWere) {
  auto img = redOverBlue();
  // A whole copy, a scaled image and an image used as a mask.
  const std::function<void(cg::Context&)> draws[] = {
      [&](cg::Context& c) { c.drawImage(*img, Rect(0, 0, 1, 2)); },
      [&](cg::Context& c) { c.drawImage(*img, Rect(0, 0, 3, 3)); },
      [&](cg::Context& c) { c.fillMask(*img, Rect(0, 0, 1, 2)); },
  };
  for (size_t i = 0; i < std::size(draws); ++i) {
    cg::Context ctx = cg::Context::bitmap(8, 8);
    cairo_set_source_rgb(ctx.cairo(), 0, 1, 0);
    ctx.beginPath();
    ctx.addRect(Rect(4, 4, 2, 2));
    draws[i](ctx);
    EXPECT_FALSE(ctx.isPathEmpty()) << i;
    // Drawing straight in cairo afterwards uses the source set before.
    cairo_fill(ctx.cairo());
    EXPECT_PIXEL(px(ctx, 5, 5), kGreen) << i;
    EXPECT_EQ(cairo_pattern_get_type(cairo_get_source(ctx.cairo())), CAIRO_PATTERN_TYPE_SOLID) << i;
  }
}

TEST(Layer, DrawsIntoAnotherContextAtAPointAndGivesAnImage) {
  auto layer = cg::Layer::create({2, 2}, 2);
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->pixelWidth(), 4);
  layer->context().setFillColor(Color::red());
  layer->context().fillRect(Rect(0, 0, 2, 1));
  layer->context().setFillColor(Color::blue());
  layer->context().fillRect(Rect(0, 1, 2, 1));

  cg::Context ctx = cg::Context::bitmap(4, 4, 2);
  layer->drawInContext(ctx, cg::Point{2, 2});
  EXPECT_EQ(px(ctx, 3, 3).a, 0);
  EXPECT_PIXEL(px(ctx, 4, 4), kRed);
  EXPECT_PIXEL(px(ctx, 7, 7), kBlue);

  auto img = layer->makeImage();
  EXPECT_EQ(img->size(), (cg::Size{2, 2}));
  EXPECT_PIXEL(img->pixelAt(0, 0), kRed);

  ns::LogCapture log;
  log.setEcho(false);
  EXPECT_FALSE(cg::Layer::create({0, 3}));
  EXPECT_FALSE(cg::Layer::create({1e9f, 1e9f}));
  EXPECT_FALSE(cg::Layer::create({20000, 1}));
  EXPECT_TRUE(log.contains("refused"));
  cg::Context refused = cg::Context::bitmap(1e6f, 1e6f);
  EXPECT_EQ(refused.pixelWidth(), 0);
  refused.fillRect(Rect(0, 0, 10, 10));  // draws nowhere, harmlessly
  EXPECT_EQ(refused.makeImage()->width(), 0);
}

TEST(Context, CTMIsInPointsWhateverTheScale) {
  cg::Context ctx = cg::Context::bitmap(4, 4, 2);
  EXPECT_TRUE(ctx.ctm().isIdentity());
  ctx.translate(1, 2);
  ctx.scaleBy(3, 3);
  cg::Point p = ctx.ctm().apply({1, 1});
  EXPECT_NEAR(p.x, 4, 1e-5);
  EXPECT_NEAR(p.y, 5, 1e-5);
  // Singular or non-finite transforms are ignored; drawing goes on.
  ctx.concatCTM(cg::AffineTransform::scaling(0, 0));
  ctx.scaleBy(0, 1);
  ctx.translate(std::nanf(""), 0);
  ctx.rotate(INFINITY);
  EXPECT_NEAR(ctx.ctm().apply({1, 1}).x, 4, 1e-5);
  ctx.setFillColor(Color::red());
  ctx.fillRect(Rect(0, 0, 1, 1));  // points (1, 2)..(4, 5): pixels 2..8, 4..10
  EXPECT_PIXEL(px(ctx, 3, 5), kRed);
}

TEST(Context, TransparencyLayerCastsOneShadowForEverythingInside) {
  for (bool layered : {false, true}) {
    cg::Context ctx = cg::Context::bitmap(8, 8);
    ctx.setShadow({0, -4}, 0, Color(0, 0, 0, 0.5f));
    ctx.setFillColor(Color::white());
    if (layered) ctx.beginTransparencyLayer();
    ctx.fillRect(Rect(0, 0, 4, 2));
    ctx.fillRect(Rect(2, 0, 4, 2));
    if (layered) ctx.endTransparencyLayer();
    EXPECT_EQ(px(ctx, 1, 5).a, 128);
    EXPECT_EQ(px(ctx, 3, 5).a, layered ? 128 : 192);  // overlapping shadows
    EXPECT_PIXEL(px(ctx, 3, 1), kWhite);
  }
}

TEST(Context, ShadowOfAShapeOutsideTheClipFallsInside) {
  // The inner-shadow idiom: clip to a shape, fill everything around it; only
  // the shadow of the surround lands inside.
  cg::Context ctx = cg::Context::bitmap(20, 20);
  ctx.clipToRect(Rect(4, 4, 8, 8));
  ctx.addRect(Rect(0, 0, 20, 20));
  ctx.addRect(Rect(4, 4, 8, 8));
  ctx.setFillColor(Color::white());
  ctx.setShadow({0, -2}, 0, Color::black());
  ctx.fillPath(cg::FillRule::EvenOdd);
  EXPECT_PIXEL(px(ctx, 8, 4), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_PIXEL(px(ctx, 8, 5), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_EQ(px(ctx, 8, 6).a, 0);
  EXPECT_EQ(px(ctx, 8, 2).a, 0);  // outside the clip nothing is drawn
}

TEST(Context, DrawingDirectlyInCairoGetsTheFillColourAlphaAndShadow) {
  cg::Context ctx = cg::Context::bitmap(10, 10);
  ctx.setFillColor(Color::red());
  ctx.setAlpha(0.5f);
  ctx.setShadow({2, -2}, 0, Color::black());
  ctx.drawWithCairo([](cairo_t* c) {
    cairo_rectangle(c, 0, 0, 4, 4);
    cairo_fill(c);
  });
  EXPECT_PIXEL(px(ctx, 1, 1), (cg::RGBA{255, 0, 0, 128}));
  cg::RGBA shadow = px(ctx, 5, 5);  // below right, at the ink's half alpha
  EXPECT_EQ(shadow.r, 0);
  EXPECT_NEAR(shadow.a, 128, 2);
}

// A bitmap smoothed to a size in one picture only (a frame of an animation)
// is drawn but not kept; a size drawn again in a later picture is kept, and
// both look the same.
TEST(Context, ScaledCopiesAreKeptOnceASizeIsDrawnInASecondPicture) {
  auto img = redOverBlue();
  std::size_t before = cg::detail::scaledCopyBytes();
  cg::Context::beginPicture();
  cg::Context ctx = cg::Context::bitmap(64, 64);
  for (int w = 10; w < 60; ++w) {
    ctx.drawImage(*img, Rect(0, 0, cg::Float(w), 33));
    ctx.drawImage(*img, Rect(0, 0, cg::Float(w), 33));  // twice in the same picture
  }
  EXPECT_EQ(cg::detail::scaledCopyBytes(), before) << "passing sizes are not kept";
  cg::Context once = cg::Context::bitmap(64, 64), twice = cg::Context::bitmap(64, 64);
  once.drawImage(*img, Rect(0, 0, 61, 33));
  cg::Context::beginPicture();
  twice.drawImage(*img, Rect(0, 0, 61, 33));
  EXPECT_GT(cg::detail::scaledCopyBytes(), before) << "a size drawn again is kept";
  for (int y = 0; y < 33; ++y)
    for (int x = 0; x < 61; ++x) ASSERT_EQ(px(once, x, y), px(twice, x, y)) << x << "," << y;
}
