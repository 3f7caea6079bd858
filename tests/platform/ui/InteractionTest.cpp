// Touch delivery, gesture recognisers, named animations and view controllers,
// on the virtual clock.
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace ui;

namespace {

// Records the touch phases it receives, in its own coordinates.
class TouchLog : public View {
 public:
  using View::View;
  std::vector<std::string> events;
  void touchesBegan(const TouchSet& t, const Event&) override { note("began", t); }
  void touchesMoved(const TouchSet& t, const Event&) override { note("moved", t); }
  void touchesEnded(const TouchSet& t, const Event&) override { note("ended", t); }
  void touchesCancelled(const TouchSet& t, const Event&) override { note("cancelled", t); }

 private:
  void note(const char* what, const TouchSet& t) {
    cg::Point p = t.front()->locationInView(this);
    events.push_back(std::string(what) + " " + std::to_string(int(p.x)) + "," +
                     std::to_string(int(p.y)));
  }
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
  }
  void TearDown() override { Animator::finishAll(); }
  void tap(cg::Point p, double hold = 0.05) {
    window->sendTouch(0, TouchPhase::Began, p);
    clock->advance(hold);
    window->sendTouch(0, TouchPhase::Ended, p);
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<Window> window;
};

}  // namespace

TEST_F(UiTest, TouchesGoToTheHitViewInEveryPhaseEvenOutsideIt) {
  auto log = std::make_shared<TouchLog>(cg::Rect(100, 100, 50, 50));
  window->addSubview(log);
  window->sendTouch(0, TouchPhase::Began, {110, 120});
  window->sendTouch(0, TouchPhase::Moved, {300, 300});
  window->sendTouch(0, TouchPhase::Ended, {300, 300});
  EXPECT_EQ(log->events, (std::vector<std::string>{"began 10,20", "moved 200,200", "ended 200,200"}));
}

TEST_F(UiTest, UnhandledTouchesTravelUpTheResponderChain) {
  auto parent = std::make_shared<TouchLog>(cg::Rect(0, 0, 500, 500));
  auto child = std::make_shared<View>(cg::Rect(10, 10, 50, 50));
  window->addSubview(parent);
  parent->addSubview(child);
  tap({20, 20});
  EXPECT_EQ(parent->events, (std::vector<std::string>{"began 20,20", "ended 20,20"}));
}

TEST_F(UiTest, TapRecognizerFiresOnLiftAndCancelsTheViewsTouch) {
  auto log = std::make_shared<TouchLog>(cg::Rect(0, 0, 100, 100));
  int taps = 0;
  log->addGestureRecognizer(std::make_shared<TapGestureRecognizer>([&](GestureRecognizer& g) {
    EXPECT_EQ(g.state(), GestureRecognizerState::Ended);
    ++taps;
  }));
  window->addSubview(log);
  tap({50, 50});
  EXPECT_EQ(taps, 1);
  EXPECT_EQ(log->events, (std::vector<std::string>{"began 50,50", "cancelled 50,50"}));
  // A drag is no tap, and the recogniser is ready again afterwards.
  clock->advance(1);
  window->sendTouch(0, TouchPhase::Began, {10, 10});
  window->sendTouch(0, TouchPhase::Moved, {60, 10});
  window->sendTouch(0, TouchPhase::Ended, {60, 10});
  EXPECT_EQ(taps, 1);
  clock->advance(1);
  tap({20, 20});
  EXPECT_EQ(taps, 2);
}

TEST_F(UiTest, DoubleTapNeedsTwoQuickTaps) {
  auto v = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
  int doubles = 0;
  auto g = std::make_shared<TapGestureRecognizer>([&](GestureRecognizer&) { ++doubles; });
  g->setNumberOfTapsRequired(2);
  v->addGestureRecognizer(g);
  window->addSubview(v);
  tap({50, 50});
  clock->advance(0.1);
  tap({52, 50});
  EXPECT_EQ(doubles, 1);
  clock->advance(2);
  tap({50, 50});
  clock->advance(1);
  tap({50, 50});
  EXPECT_EQ(doubles, 1);
}

TEST_F(UiTest, LongPressBeginsAfterTheMinimumDurationOnTheClock) {
  auto v = std::make_shared<TouchLog>(cg::Rect(0, 0, 100, 100));
  std::vector<GestureRecognizerState> states;
  auto g = std::make_shared<LongPressGestureRecognizer>(
      [&](GestureRecognizer& r) { states.push_back(r.state()); });
  g->setMinimumPressDuration(0.55);
  v->addGestureRecognizer(g);
  window->addSubview(v);

  window->sendTouch(0, TouchPhase::Began, {50, 50});
  clock->advance(0.54);
  EXPECT_TRUE(states.empty());
  clock->advance(0.02);
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0], GestureRecognizerState::Began);
  window->sendTouch(0, TouchPhase::Moved, {55, 50});
  window->sendTouch(0, TouchPhase::Ended, {55, 50});
  EXPECT_EQ(states, (std::vector<GestureRecognizerState>{GestureRecognizerState::Began,
                                                          GestureRecognizerState::Changed,
                                                          GestureRecognizerState::Ended}));
  EXPECT_EQ(v->events.back(), "cancelled 55,50");

  // Lifted early or moved away: nothing, and no timer left behind.
  states.clear();
  window->sendTouch(0, TouchPhase::Began, {50, 50});
  clock->advance(0.3);
  window->sendTouch(0, TouchPhase::Ended, {50, 50});
  clock->advance(1);
  window->sendTouch(0, TouchPhase::Began, {50, 50});
  window->sendTouch(0, TouchPhase::Moved, {80, 50});
  clock->advance(1);
  window->sendTouch(0, TouchPhase::Ended, {80, 50});
  EXPECT_TRUE(states.empty());
}

TEST_F(UiTest, FirstResponderGetsKeysAndLosesThemWhenRemoved) {
  struct Field : View {
    using View::View;
    std::string typed;
    bool canBecomeFirstResponder() const override { return true; }
    void insertText(const std::string& t) override { typed += t; }
  };
  auto field = std::make_shared<Field>(cg::Rect(0, 0, 10, 10));
  auto plain = std::make_shared<View>();
  EXPECT_FALSE(field->becomeFirstResponder());  // not in a window yet
  window->addSubview(field);
  window->addSubview(plain);
  EXPECT_FALSE(plain->becomeFirstResponder());
  EXPECT_TRUE(field->becomeFirstResponder());
  EXPECT_TRUE(field->isFirstResponder());
  window->sendKey({"", "ab", 0});
  EXPECT_EQ(field->typed, "ab");
  field->removeFromSuperview();
  EXPECT_EQ(window->firstResponder(), nullptr);
}

TEST_F(UiTest, FinishAllEndsDelayedAnimationsToo) {
  auto v = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
  window->addSubview(v);
  int stops = 0;
  View::beginAnimations("Later");
  View::setAnimationDuration(1.0);
  View::setAnimationDelay(5.0);
  View::setAnimationDidStopSelector([&](const std::string&, bool, void*) { ++stops; });
  v->setAlpha(0);
  View::commitAnimations();
  Animator::finishAll();
  EXPECT_EQ(View::runningAnimationCount(), 0u);
  EXPECT_EQ(v->presentationAlpha(), 0);
  EXPECT_EQ(stops, 1);
}

TEST_F(UiTest, AnimationMovesPresentationValuesAndCallsDidStopOnce) {
  auto v = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
  window->addSubview(v);
  std::vector<std::string> stops;
  int context = 7;
  View::beginAnimations("Slide", &context);
  View::setAnimationDuration(1.0);
  View::setAnimationCurve(AnimationCurve::Linear);
  View::setAnimationDidStopSelector([&](const std::string& name, bool finished, void* ctx) {
    stops.push_back(name + (finished ? " finished " : " stopped ") +
                    std::to_string(*static_cast<int*>(ctx)));
  });
  v->setFrame(cg::Rect(200, 0, 100, 100));
  v->setAlpha(0);
  v->setTransform(cg::AffineTransform::scaling(3, 3));
  View::commitAnimations();

  EXPECT_EQ(v->frame().x(), 200);  // the model value changes at once
  EXPECT_EQ(v->presentationFrame().x(), 0);
  clock->advance(0.5);
  EXPECT_NEAR(v->presentationFrame().x(), 100, 5);
  EXPECT_NEAR(v->presentationAlpha(), 0.5, 0.05);
  EXPECT_NEAR(v->presentationTransform().a, 2, 0.1);
  EXPECT_TRUE(stops.empty());
  clock->advance(0.6);
  EXPECT_EQ(v->presentationFrame().x(), 200);
  EXPECT_EQ(v->presentationAlpha(), 0);
  EXPECT_EQ(v->presentationTransform(), cg::AffineTransform::scaling(3, 3));
  EXPECT_EQ(stops, (std::vector<std::string>{"Slide finished 7"}));
  clock->advance(2);
  EXPECT_EQ(stops.size(), 1u);
  EXPECT_EQ(View::runningAnimationCount(), 0u);
}

TEST_F(UiTest, AnimationDidStopSkipsADeadDelegateAndZeroDurationStillStops) {
  auto v = std::make_shared<View>(cg::Rect(0, 0, 10, 10));
  window->addSubview(v);
  int calls = 0;
  auto delegate = std::make_shared<int>(0);
  View::beginAnimations("Gone");
  View::setAnimationDelegate(delegate);
  View::setAnimationDidStopSelector([&](const std::string&, bool, void*) { ++calls; });
  v->setCenter({100, 100});
  View::commitAnimations();
  delegate.reset();
  clock->advance(1);
  EXPECT_EQ(calls, 0);

  View::beginAnimations("Instant");
  View::setAnimationDuration(0);
  View::setAnimationDidStopSelector([&](const std::string& n, bool, void*) { calls += n == "Instant"; });
  v->setAlpha(0.3f);
  View::commitAnimations();
  EXPECT_EQ(v->presentationAlpha(), 0.3f);
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(calls, 1);
}

namespace {
struct Trace {
  std::vector<std::string> lines;
};

class TracingController : public ViewController {
 public:
  TracingController(std::string name, Trace& trace) : name_(std::move(name)), trace_(trace) {}
  void loadView() override {
    trace_.lines.push_back(name_ + " loadView");
    setView(std::make_shared<View>(cg::Rect(0, 0, 300, 300)));
  }
  void viewDidLoad() override { trace_.lines.push_back(name_ + " viewDidLoad"); }
  void viewWillAppear(bool) override { trace_.lines.push_back(name_ + " willAppear"); }
  void viewDidAppear(bool) override { trace_.lines.push_back(name_ + " didAppear"); }
  void viewWillDisappear(bool) override { trace_.lines.push_back(name_ + " willDisappear"); }
  void viewDidDisappear(bool) override { trace_.lines.push_back(name_ + " didDisappear"); }

 private:
  std::string name_;
  Trace& trace_;
};
}  // namespace

TEST_F(UiTest, ControllerLoadsItsViewOnceAndIsInTheResponderChain) {
  Trace trace;
  auto c = std::make_shared<TracingController>("root", trace);
  EXPECT_FALSE(c->isViewLoaded());
  auto v = c->view();
  c->view();
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"root loadView", "root viewDidLoad"}));
  EXPECT_EQ(v->nextResponder(), c.get());
  window->setRootViewController(c);
  EXPECT_EQ(c->nextResponder(), window.get());
  EXPECT_EQ(v->frame(), window->bounds());
}

TEST_F(UiTest, ModalPresentationAndDismissalInAppearanceOrder) {
  Trace trace;
  auto root = std::make_shared<TracingController>("root", trace);
  window->setRootViewController(root);
  auto modal = std::make_shared<TracingController>("modal", trace);
  trace.lines.clear();

  root->presentModalViewController(modal, true);
  EXPECT_EQ(root->modalViewController(), modal.get());
  EXPECT_EQ(modal->parentViewController(), root.get());
  EXPECT_TRUE(modal->view()->isDescendantOfView(window.get()));
  clock->advance(1);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"modal loadView", "modal viewDidLoad",
                                                    "root willDisappear", "modal willAppear",
                                                    "root didDisappear", "modal didAppear"}));
  trace.lines.clear();
  modal->dismissModalViewControllerAnimated(true);  // asked of the presented controller
  clock->advance(1);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"modal willDisappear", "root willAppear",
                                                    "modal didDisappear", "root didAppear"}));
  EXPECT_EQ(root->modalViewController(), nullptr);
  EXPECT_EQ(modal->view()->window(), nullptr);
}

// The dimming container covers the whole window: it must leave with the modal
// even when the presenter is released while the dismissal animates.
TEST_F(UiTest, AnimatedDismissalClearsTheWindowWhenThePresenterIsGone) {
  Trace trace;
  auto root = std::make_shared<TracingController>("root", trace);
  window->setRootViewController(root);
  auto presenter = std::make_shared<TracingController>("presenter", trace);
  auto modal = std::make_shared<TracingController>("modal", trace);
  presenter->presentModalViewController(modal, false);
  ASSERT_EQ(window->subviews().size(), 2u);
  presenter->dismissModalViewControllerAnimated(true);
  presenter.reset();
  trace.lines.clear();
  clock->advance(1);
  EXPECT_EQ(window->subviews().size(), 1u);
  EXPECT_EQ(modal->view()->window(), nullptr);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"modal didDisappear"}));
}

TEST_F(UiTest, SheetStylesKeepThePresenterAppearingAndCentreTheSheet) {
  Trace trace;
  auto root = std::make_shared<TracingController>("root", trace);
  window->setRootViewController(root);
  auto sheet = std::make_shared<TracingController>("sheet", trace);
  sheet->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
  trace.lines.clear();
  root->presentModalViewController(sheet, false);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"sheet loadView", "sheet viewDidLoad",
                                                    "sheet willAppear", "sheet didAppear"}));
  EXPECT_EQ(sheet->view()->frame(), cg::Rect(242, 74, 540, 620));
  root->dismissModalViewControllerAnimated(false);
  EXPECT_EQ(sheet->view()->window(), nullptr);
}

// A view whose frame animates is drawn as a picture of its new layout
// stretched to the frame shown: a child resized with it is stretched once,
// with its parent, not a second time by its own animating frame.
TEST_F(UiTest, AResizedChildIsNotStretchedAgainByItsAnimatingParent) {
  auto parent = std::make_shared<View>(cg::Rect(0, 0, 400, 100));
  parent->setBackgroundColor(cg::Color(0, 0, 1, 1));
  auto child = std::make_shared<View>(cg::Rect(0, 0, 400, 50));
  child->setBackgroundColor(cg::Color(1, 0, 0, 1));
  child->setAutoresizingMask(ViewAutoresizingFlexibleWidth);
  parent->setAutoresizesSubviews(true);
  parent->addSubview(child);
  window->addSubview(parent);
  View::beginAnimations("Narrow");
  View::setAnimationDuration(1.0);
  View::setAnimationCurve(AnimationCurve::Linear);
  parent->setFrame(cg::Rect(0, 0, 200, 100));
  View::commitAnimations();
  clock->advance(0.5);
  ASSERT_NEAR(parent->presentationFrame().width(), 300, 2);
  ASSERT_NEAR(child->presentationFrame().width(), 300, 2);
  auto picture = window->snapshot();
  auto isRed = [&](int x, int y) {
    cg::RGBA p = picture->pixelAt(x, y);
    return p.r > 200 && p.g < 50 && p.b < 50;
  };
  auto isBlue = [&](int x, int y) {
    cg::RGBA p = picture->pixelAt(x, y);
    return p.b > 200 && p.r < 50 && p.g < 50;
  };
  EXPECT_TRUE(isRed(295, 25));    // the child reaches the parent's edge shown
  EXPECT_FALSE(isRed(305, 25));   // and no further (stretched twice: 450)
  EXPECT_TRUE(isBlue(295, 75));   // the parent's own drawing fills the frame shown
  EXPECT_FALSE(isBlue(305, 75));
  Animator::finishAll();
}
