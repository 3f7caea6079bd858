// The view tree: geometry, autoresizing, tags, hit testing and rendering.
#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace ui;

TEST(View, SubviewsAreOwnedAndPointBack) {
  auto parent = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
  auto child = std::make_shared<View>(cg::Rect(10, 10, 20, 20));
  std::weak_ptr<View> weakChild = child;
  parent->addSubview(child);
  EXPECT_EQ(child->superview(), parent.get());
  child.reset();
  ASSERT_FALSE(weakChild.expired());
  weakChild.lock()->removeFromSuperview();
  EXPECT_TRUE(weakChild.expired());
  EXPECT_TRUE(parent->subviews().empty());
}

TEST(View, MovingASubviewBetweenParentsAndReordering) {
  auto a = std::make_shared<View>(), b = std::make_shared<View>();
  auto x = std::make_shared<View>(), y = std::make_shared<View>(), z = std::make_shared<View>();
  a->addSubview(x);
  a->addSubview(y);
  a->insertSubviewBelowSubview(z, x.get());
  ASSERT_EQ(a->subviews().size(), 3u);
  EXPECT_EQ(a->subviews()[0], z);
  a->bringSubviewToFront(z.get());
  EXPECT_EQ(a->subviews().back(), z);
  b->addSubview(x);
  EXPECT_EQ(a->subviews().size(), 2u);
  EXPECT_EQ(x->superview(), b.get());
  a->insertSubviewAboveSubview(x, y.get());
  EXPECT_EQ(a->subviews()[1], x);
  EXPECT_TRUE(b->subviews().empty());

  // A view never goes under itself or its own subtree: that would make a loop
  // that every walk up the tree spins in, and a cycle that nothing frees.
  x->addSubview(a);
  a->addSubview(a);
  EXPECT_EQ(a->superview(), nullptr);
  EXPECT_EQ(x->superview(), a.get());
  EXPECT_TRUE(x->subviews().empty());
  EXPECT_EQ(a->subviews().size(), 3u);
}

TEST(View, ViewWithTagSearchesDepthFirstIncludingItself) {
  auto root = std::make_shared<View>();
  auto a = std::make_shared<View>(), b = std::make_shared<View>(), c = std::make_shared<View>();
  root->setTag(1);
  a->setTag(2);
  c->setTag(3);
  root->addSubview(a);
  a->addSubview(c);
  root->addSubview(b);
  EXPECT_EQ(root->viewWithTag(1), root.get());
  EXPECT_EQ(root->viewWithTag(3), c.get());
  EXPECT_EQ(root->viewWithTag(99), nullptr);
}

TEST(View, AutoresizingTable) {
  struct Case {
    unsigned mask;
    cg::Rect expected;
  };
  // Child at (10, 20, 30, 40) in a 100 x 100 parent that grows to 200 x 150.
  const Case cases[] = {
      {ViewAutoresizingNone, {10, 20, 30, 40}},
      {ViewAutoresizingFlexibleWidth, {10, 20, 130, 40}},
      {ViewAutoresizingFlexibleHeight, {10, 20, 30, 90}},
      {ViewAutoresizingFlexibleLeftMargin, {110, 20, 30, 40}},
      {ViewAutoresizingFlexibleTopMargin, {10, 70, 30, 40}},
      {ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight, {10, 20, 130, 90}},
      // Shared in proportion to the flexible parts: 30 of 90 and 60 of 90.
      {ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleRightMargin, {10, 20, 30 + 100.0f / 3, 40}},
  };
  for (const auto& c : cases) {
    auto parent = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
    auto child = std::make_shared<View>(cg::Rect(10, 20, 30, 40));
    child->setAutoresizingMask(c.mask);
    parent->addSubview(child);
    parent->setFrame(cg::Rect(0, 0, 200, 150));
    EXPECT_NEAR(child->frame().x(), c.expected.x(), 0.01) << c.mask;
    EXPECT_NEAR(child->frame().y(), c.expected.y(), 0.01) << c.mask;
    EXPECT_NEAR(child->frame().width(), c.expected.width(), 0.01) << c.mask;
    EXPECT_NEAR(child->frame().height(), c.expected.height(), 0.01) << c.mask;
  }
}

TEST(View, ConvertsPointsThroughBoundsOriginsAndTransforms) {
  auto root = std::make_shared<View>(cg::Rect(0, 0, 300, 300));
  auto a = std::make_shared<View>(cg::Rect(50, 50, 100, 100));
  auto b = std::make_shared<View>(cg::Rect(10, 10, 20, 20));
  root->addSubview(a);
  a->addSubview(b);
  a->setBounds(cg::Rect(0, 30, 100, 100));  // scrolled down by 30
  cg::Point p = b->convertPointToView({0, 0}, root.get());
  EXPECT_EQ(p, (cg::Point{60, 30}));
  EXPECT_EQ(b->convertPointFromView({60, 30}, root.get()), (cg::Point{0, 0}));
  a->setBounds(cg::Rect(0, 0, 100, 100));
  a->setTransform(cg::AffineTransform::scaling(2, 2));  // about the centre (100, 100)
  p = a->convertPointToView({0, 0}, root.get());
  EXPECT_NEAR(p.x, 0, 1e-4);
  EXPECT_NEAR(p.y, 0, 1e-4);
}

TEST(View, HitTestPicksTheFrontmostVisibleInteractiveView) {
  auto root = std::make_shared<View>(cg::Rect(0, 0, 200, 200));
  auto back = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
  auto front = std::make_shared<View>(cg::Rect(50, 50, 100, 100));
  auto inner = std::make_shared<View>(cg::Rect(0, 0, 10, 10));
  root->addSubview(back);
  root->addSubview(front);
  front->addSubview(inner);
  EXPECT_EQ(root->hitTest({10, 10}), back.get());
  EXPECT_EQ(root->hitTest({75, 75}), front.get());
  EXPECT_EQ(root->hitTest({55, 55}), inner.get());
  EXPECT_EQ(root->hitTest({190, 10}), root.get());
  EXPECT_EQ(root->hitTest({250, 10}), nullptr);
  front->setHidden(true);
  EXPECT_EQ(root->hitTest({75, 75}), back.get());
  front->setHidden(false);
  front->setUserInteractionEnabled(false);
  EXPECT_EQ(root->hitTest({55, 55}), back.get());
  front->setUserInteractionEnabled(true);
  front->setAlpha(0);
  EXPECT_EQ(root->hitTest({55, 55}), back.get());
}

namespace {
class CrossView : public View {
 public:
  using View::View;
  int draws = 0;
  void drawRect(cg::Context& ctx, cg::Rect rect) override {
    ++draws;
    ctx.setFillColor(cg::Color::red());
    ctx.fillRect(cg::Rect(0, 0, rect.width() / 2, rect.height() / 2));
  }
};
}  // namespace

TEST(View, RendersTheTreeWithBackgroundsAlphaAndDrawRect) {
  Window window(cg::Rect(0, 0, 40, 40));
  window.setBackgroundColor(cg::Color::white());
  auto box = std::make_shared<CrossView>(cg::Rect(10, 10, 20, 20));
  box->setBackgroundColor(cg::Color::blue());
  auto faded = std::make_shared<View>(cg::Rect(0, 30, 10, 10));
  faded->setBackgroundColor(cg::Color::black());
  faded->setAlpha(0.5f);
  auto hidden = std::make_shared<View>(cg::Rect(30, 0, 10, 10));
  hidden->setBackgroundColor(cg::Color::green());
  hidden->setHidden(true);
  window.addSubview(box);
  window.addSubview(faded);
  window.addSubview(hidden);
  window.makeKeyAndVisible();
  auto image = window.snapshot();
  ASSERT_TRUE(image);
  EXPECT_EQ(box->draws, 1);
  EXPECT_EQ(image->pixelAt(2, 2), (cg::RGBA{255, 255, 255, 255}));
  EXPECT_EQ(image->pixelAt(12, 12), (cg::RGBA{255, 0, 0, 255}));   // drawRect, upper left
  EXPECT_EQ(image->pixelAt(27, 27), (cg::RGBA{0, 0, 255, 255}));   // background
  EXPECT_NEAR(image->pixelAt(5, 35).r, 128, 2);                     // half black on white
  EXPECT_EQ(image->pixelAt(35, 5), (cg::RGBA{255, 255, 255, 255})); // hidden
}
