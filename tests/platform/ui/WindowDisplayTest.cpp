// A window's display draws only what changed: the views that changed, moved,
// faded, appeared or disappeared, not those covered by an opaque view, and
// for a scroll only the strip that comes into view. Whatever it skips, the
// frame it leaves is the full redraw's, pixel for pixel.
#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/Pixels.h"

namespace {

// A view that counts its drawing in displays and draws a pattern that shows
// any shift.
class Counting : public ui::View {
 public:
  using View::View;
  static inline bool counts = false;  // only while the window displays
  int draws = 0;
  void drawRect(cg::Context& context, cg::Rect) override {
    if (counts) ++draws;
    cg::Rect b = bounds();
    context.setFillColor(cg::Color(0.2f, 0.4f, 0.8f, 1));
    context.fillEllipseInRect(b.insetBy(b.width() / 4, b.height() / 4));
  }

 protected:
  float drawingReach() const override { return 0; }
};

std::shared_ptr<Counting> counting(cg::Rect frame, cg::Color background = cg::Color::white()) {
  auto v = std::make_shared<Counting>(frame);
  v->setBackgroundColor(background);
  return v;
}

class WindowDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 200, 200));
    window->setBackgroundColor(cg::Color::gray(0.5f));
    window->makeKeyAndVisible();
  }
  // Displays on the kept surface and checks it against a full redraw, and
  // so the screen a backend keeps, to which only the changed areas are copied.
  std::vector<cg::Rect> display(float scale = 1) {
    if (!surface || surface->scale() != scale) {
      surface = std::make_unique<cg::Context>(cg::Context::bitmap(200, 200, scale));
      screen = std::make_unique<cg::Context>(cg::Context::bitmap(200, 200, scale));
    }
    Counting::counts = true;
    auto changed = window->display(*surface);
    Counting::counts = false;
    testpixels::copyAreas(*surface, *screen, changed);
    auto full = window->snapshot(scale);
    for (auto [what, picture] : {std::pair{"the drawn surface", surface.get()}, {"the screen", screen.get()}}) {
      cg::Rect bad = testpixels::differingPixels(*picture->makeImage(), *full);
      EXPECT_TRUE(bad.isEmpty()) << what << " differs from a full redraw in pixels " << bad.x() << "," << bad.y()
                                 << " " << bad.width() << "x" << bad.height();
    }
    return changed;
  }
  static float area(const std::vector<cg::Rect>& rects) {
    float a = 0;
    for (const cg::Rect& r : rects) a += r.width() * r.height();
    return a;
  }

  std::shared_ptr<ui::Window> window;
  std::unique_ptr<cg::Context> surface;
  std::unique_ptr<cg::Context> screen;
};

TEST_F(WindowDisplay, OnlyWhatChangedIsDrawnAgain) {
  auto a = counting(cg::Rect(10, 10, 60, 60)), b = counting(cg::Rect(100, 10, 60, 60));
  window->addSubview(a);
  window->addSubview(b);
  EXPECT_FALSE(display().empty());
  EXPECT_EQ(a->draws, 1);
  EXPECT_TRUE(display().empty()) << "nothing changed";
  EXPECT_FALSE(window->needsRedraw());

  a->setNeedsDisplay();
  auto changed = display();
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(b->draws, 1);
  EXPECT_FLOAT_EQ(area(changed), 60 * 60);

  // Moving, fading, hiding, removing and adding: the old place and the new.
  struct Step {
    const char* what;
    std::function<void()> change;
  } steps[] = {
      {"moved", [&] { a->setFrame(cg::Rect(40.5f, 30.25f, 60, 60)); }},
      {"faded", [&] { a->setAlpha(0.4f); }},
      {"turned", [&] { b->setTransform(cg::AffineTransform::rotation(0.3f)); }},
      {"hidden", [&] { b->setHidden(true); }},
      {"shown", [&] { b->setHidden(false); }},
      {"brought to front", [&] { window->bringSubviewToFront(a.get()); }},
      {"removed", [&] { a->removeFromSuperview(); }},
      {"added", [&] { window->insertSubviewAtIndex(a, 0); }},
      {"clipped", [&] { a->addSubview(counting(cg::Rect(50, 50, 40, 40))); a->setClipsToBounds(true); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    EXPECT_FALSE(display().empty());
  }
}

TEST_F(WindowDisplay, AViewUnderAnOpaqueViewIsNotDrawn) {
  auto under = counting(cg::Rect(20, 20, 50, 50));
  auto partly = counting(cg::Rect(100, 100, 80, 80));
  auto cover = counting(cg::Rect(10, 10, 150, 150));
  window->addSubview(under);
  window->addSubview(partly);
  window->addSubview(cover);
  display();
  EXPECT_EQ(under->draws, 0);
  EXPECT_EQ(partly->draws, 1);
  EXPECT_EQ(cover->draws, 1);
  // A cover that lets what is behind show through covers nothing.
  cover->setAlpha(0.5f);
  display();
  EXPECT_EQ(under->draws, 1);
  cover->setAlpha(1);
  cover->setBackgroundColor(cg::Color(1, 1, 1, 0.9f));
  display();
  EXPECT_EQ(under->draws, 2);
}

class Scrolled : public ui::ScrollView {
 public:
  using ScrollView::ScrollView;
};

TEST_F(WindowDisplay, ScrollingMovesWhatIsShownAndDrawsOnlyTheStripThatComesIntoView) {
  struct Case {
    const char* what;
    float scale;
    cg::Rect frame;
    float dy;
    bool moves;  // pixels are moved rather than everything drawn
  } cases[] = {
      {"whole points", 1, cg::Rect(20, 20, 120, 150), 12, true},
      {"back up", 1, cg::Rect(20, 20, 120, 150), -7, true},
      {"half points at scale 2", 2, cg::Rect(20, 20.5f, 120, 150), 3.5f, true},
      {"edges between pixels", 1, cg::Rect(20.5f, 19.75f, 120, 150.5f), 9, false},
      {"a fraction of a pixel", 1, cg::Rect(20, 20, 120, 150), 2.3f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    surface.reset();
    auto scroll = std::make_shared<Scrolled>(c.frame);
    scroll->setBackgroundColor(cg::Color::white());
    scroll->setShowsVerticalScrollIndicator(false);
    scroll->setContentSize({120, 2000});
    std::vector<std::shared_ptr<Counting>> rows;
    for (int i = 0; i < 40; ++i) {
      rows.push_back(counting(cg::Rect(10, 50.0f * float(i), 100, 50), i % 2 ? cg::Color::white() : cg::Color(1, 0.9f, 0.8f, 1)));
      scroll->addSubview(rows.back());
    }
    // Drawn over the scroll view and unchanged by the scroll.
    auto overlay = counting(cg::Rect(60, 140, 30, 20), cg::Color(0, 0.6f, 0, 1));
    window->addSubview(scroll);
    window->addSubview(overlay);
    display(c.scale);
    scroll->setContentOffset({0, 100});
    display(c.scale);
    int before = rows[3]->draws;  // inside the view before and after, away from the rest
    scroll->setContentOffset({0, 100 + c.dy});
    auto changed = display(c.scale);
    if (c.moves) {
      EXPECT_EQ(rows[3]->draws, before) << "moved, not drawn";
      // The moved area, the strip and the overlay, at its place and where its
      // pixels went: each reported once.
      EXPECT_LE(area(changed), c.frame.width() * c.frame.height() + 120 * std::fabs(c.dy) + 2 * 30 * 20);
    } else {
      EXPECT_EQ(rows[3]->draws, before + 1);
    }
  }
}

}  // namespace
