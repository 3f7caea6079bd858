// The window as the desktop drives it: turning between orientations with the
// rotation calls (a popover open meanwhile), the pre-dispatch hook seeing
// every touch first, remote-control events from media keys, the status-bar
// tap, and sheets over sheets.
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/ControllerLog.h"

using namespace ui;
using ui::test::CallLog;
using ui::test::LoggingController;

namespace {

class WindowEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    Application::shared().setStatusBarOrientation(InterfaceOrientation::Portrait);
    Screen::main().setBounds(cg::Rect(0, 0, 768, 1024));
    window = std::make_shared<Window>(cg::Rect(0, 0, 768, 1024));
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    Animator::finishAll();
    Application::shared().resetForTesting();
    Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));
  }
  std::shared_ptr<LoggingController> controller(const std::string& name) {
    return std::make_shared<LoggingController>(name, log);
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<Window> window;
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
};

// Writes what reaches it into a log.
class Recorder : public View {
 public:
  Recorder(cg::Rect frame, std::shared_ptr<CallLog> log) : View(frame), log_(std::move(log)) {}
  bool canBecomeFirstResponder() const override { return true; }
  void touchesBegan(const TouchSet& t, const Event&) override { note("view began", t); }
  void touchesMoved(const TouchSet& t, const Event&) override { note("view moved", t); }
  void touchesEnded(const TouchSet& t, const Event&) override { note("view ended", t); }

 private:
  void note(const char* what, const TouchSet&) { log_->push_back(what); }
  std::shared_ptr<CallLog> log_;
};

const char* phaseName(TouchPhase p) {
  switch (p) {
    case TouchPhase::Began: return "began";
    case TouchPhase::Moved: return "moved";
    case TouchPhase::Stationary: return "stationary";
    case TouchPhase::Ended: return "ended";
    case TouchPhase::Cancelled: return "cancelled";
  }
  return "?";
}

}  // namespace

TEST_F(WindowEventsTest, RotationWithAPopoverOpenSendsTheCallsInOrder) {
  auto root = controller("Root");
  root->setView(std::make_shared<View>(cg::Rect(0, 20, 768, 1004)));
  window->setRootViewController(root);
  auto popover = std::make_shared<PopoverController>(controller("Panel"));
  auto anchor = std::make_shared<View>(cg::Rect(700, 40, 44, 44));
  anchor->setAutoresizingMask(ViewAutoresizingFlexibleLeftMargin);
  root->view()->addSubview(anchor);
  popover->presentPopoverFromRect(anchor->bounds(), anchor.get(), PopoverArrowDirectionUp, false);
  float tipBefore = popover->placement().arrowTip.x;
  log->clear();

  ASSERT_TRUE(window->rotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight));
  EXPECT_EQ(*log, (CallLog{"Root shouldAutorotate 3", "Root willRotate 3 0.4", "Root willAnimate 3 in 3"}));
  EXPECT_TRUE(window->isRotating());
  EXPECT_EQ(window->bounds().size, (cg::Size{1024, 768}));
  EXPECT_EQ(Screen::main().bounds().size, (cg::Size{1024, 768}));
  EXPECT_EQ(root->view()->frame().size, (cg::Size{1024, 768}));
  View* panel = popover->contentViewController()->view()->superview()->superview();
  EXPECT_EQ(panel->alpha(), 0);  // hidden while the screen turns
  clock->advance(0.2);
  // The content glides to its new layout.
  float mid = anchor->presentationFrame().x();
  EXPECT_GT(mid, 700);
  EXPECT_LT(mid, 956);
  clock->advance(0.3);
  EXPECT_EQ(log->back(), "Root didRotate 1");
  EXPECT_EQ(root->interfaceOrientation(), InterfaceOrientation::LandscapeRight);
  EXPECT_FALSE(window->isRotating());
  // The popover is back, pointing at its rectangle where it now stands.
  EXPECT_TRUE(popover->isPopoverVisible());
  EXPECT_EQ(panel->alpha(), 1);
  EXPECT_FLOAT_EQ(popover->placement().arrowTip.x, tipBefore + 256);
}

TEST_F(WindowEventsTest, RotationIsRefusedByTheRootAndAHalfTurnTakesTwiceAsLong) {
  auto root = controller("Root");
  window->setRootViewController(root);
  root->autorotates = false;
  log->clear();
  EXPECT_FALSE(window->rotateToInterfaceOrientation(InterfaceOrientation::LandscapeLeft));
  EXPECT_EQ(*log, (CallLog{"Root shouldAutorotate 4"}));
  EXPECT_EQ(window->bounds().size, (cg::Size{768, 1024}));
  root->autorotates = true;
  log->clear();
  EXPECT_TRUE(window->rotateToInterfaceOrientation(InterfaceOrientation::PortraitUpsideDown, false));
  EXPECT_EQ(*log, (CallLog{"Root shouldAutorotate 2", "Root willRotate 2 0.8", "Root willAnimate 2 in 2",
                           "Root didRotate 1"}));
  EXPECT_FALSE(window->rotateToInterfaceOrientation(InterfaceOrientation::PortraitUpsideDown));
}

TEST_F(WindowEventsTest, ANavigationStackPassesTheRotationToItsTopController) {
  auto nav = NavigationController::withRoot(controller("First"));
  window->setRootViewController(nav);
  nav->pushViewController(controller("Second"), false);
  log->clear();
  window->rotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight, false);
  EXPECT_EQ(*log, (CallLog{"Second shouldAutorotate 3", "Second willRotate 3 0.4", "Second willAnimate 3 in 3",
                           "Second didRotate 1"}));
}

TEST_F(WindowEventsTest, TheHookSeesEveryTouchWithAllFingersBeforeTheView) {
  auto view = std::make_shared<Recorder>(cg::Rect(0, 0, 768, 1024), log);
  view->setMultipleTouchEnabled(true);
  window->addSubview(view);
  window->setEventInterceptor([this](const Event& e) {
    std::string s = "hook";
    for (auto& t : e.allTouches) s += std::string(" ") + phaseName(t->phase());
    log->push_back(s);
    return e.allTouches.size() > 1 && e.allTouches[1]->phase() == TouchPhase::Moved;  // swallows a pinch's moves
  });
  window->sendTouch(0, TouchPhase::Began, {100, 100});
  window->sendTouch(1, TouchPhase::Began, {200, 200});
  window->sendTouch(1, TouchPhase::Moved, {220, 220});
  window->sendTouch(0, TouchPhase::Ended, {100, 100});
  window->sendTouch(1, TouchPhase::Ended, {220, 220});
  EXPECT_EQ(*log, (CallLog{"hook began", "view began", "hook stationary began", "view began",
                           "hook stationary moved", "hook ended stationary", "view ended", "hook ended",
                           "view ended"}));
}

TEST_F(WindowEventsTest, MediaKeysReachTheFirstResponderAsRemoteControlEvents) {
  struct Listener : LoggingController {
    using LoggingController::LoggingController;
    std::vector<int> subtypes;
    void remoteControlReceivedWithEvent(const Event& e) override {
      EXPECT_EQ(e.type, EventType::RemoteControl);
      subtypes.push_back(int(e.subtype));
    }
  };
  auto screen = std::make_shared<Listener>("Screen", log);
  window->setRootViewController(screen);
  auto field = std::make_shared<Recorder>(cg::Rect(0, 0, 10, 10), log);
  screen->view()->addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());  // it passes the events up to its controller

  EXPECT_FALSE(window->sendRemoteControlEvent(EventSubtype::RemoteControlPlay));
  Application::shared().beginReceivingRemoteControlEvents();
  for (int s = 100; s <= 105; ++s) EXPECT_TRUE(window->sendRemoteControlEvent(EventSubtype(s)));
  EXPECT_EQ(screen->subtypes, (std::vector<int>{100, 101, 102, 103, 104, 105}));

  screen->subtypes.clear();
  for (const char* key : {"AudioPlay", "AudioPause", "AudioStop", "AudioNext", "AudioPrev", "AudioRewind"})
    window->sendKey({key, "", 0});
  window->sendKeyUp({"AudioRewind", "", 0});
  window->sendKey({"Right", "", KeyModifierAlt});
  window->sendKey({"Right", "", KeyModifierAlt});  // the key repeats while held
  window->sendKeyUp({"Right", "", 0});             // Alt let go first
  window->sendKey({"Right", "", 0});  // a plain arrow is no command
  EXPECT_EQ(screen->subtypes, (std::vector<int>{103, 101, 102, 104, 105, 106, 107, 108, 109}));
  Application::shared().endReceivingRemoteControlEvents();
  window->sendKey({"AudioNext", "", 0});
  EXPECT_EQ(screen->subtypes.size(), 9u);
}

TEST_F(WindowEventsTest, AFingerLiftedOnTheStatusBarIsItsTap) {
  auto view = std::make_shared<Recorder>(cg::Rect(0, 0, 768, 1024), log);
  window->addSubview(view);
  int taps = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver(StatusBarTappedNotification,
                                                                      [&](const ns::Value&) { ++taps; });
  window->sendTouch(0, TouchPhase::Began, {300, 10});
  window->sendTouch(0, TouchPhase::Ended, {300, 10});
  EXPECT_EQ(taps, 0);  // a window without a status bar
  EXPECT_EQ(log->size(), 2u);
  window->setShowsStatusBar(true);
  log->clear();
  window->sendTouch(0, TouchPhase::Began, {300, 10});
  window->sendTouch(0, TouchPhase::Ended, {300, 10});
  window->sendTouch(0, TouchPhase::Began, {300, 10});
  window->sendTouch(0, TouchPhase::Ended, {300, 300});  // slid off: no tap
  EXPECT_EQ(taps, 1);
  EXPECT_TRUE(log->empty());
}

TEST_F(WindowEventsTest, AFormSheetOverAFormSheetAndDismissalFromThePresenter) {
  auto root = controller("Root");
  window->setRootViewController(root);
  auto tips = controller("Tips");
  tips->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
  auto mail = controller("Mail");
  mail->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
  log->clear();
  root->presentModalViewController(tips, true);
  clock->advance(1);
  tips->presentModalViewController(mail, true);
  clock->advance(1);
  EXPECT_EQ(*log, (CallLog{"Tips viewDidLoad", "Tips viewWillAppear", "Tips viewDidAppear", "Mail viewDidLoad",
                           "Mail viewWillAppear", "Mail viewDidAppear"}));
  // Centred panels, each over a dimmed window; the second above the first.
  EXPECT_EQ(mail->view()->frame(), cg::Rect(114, 202, 540, 620));
  View* tipsDim = tips->view()->superview();
  View* mailDim = mail->view()->superview();
  EXPECT_GT(std::find_if(window->subviews().begin(), window->subviews().end(),
                         [&](auto& v) { return v.get() == mailDim; }) -
                std::find_if(window->subviews().begin(), window->subviews().end(),
                             [&](auto& v) { return v.get() == tipsDim; }),
            0);
  // The sheets stay centred when the window turns.
  window->rotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight, false);
  EXPECT_EQ(mail->view()->frame(), cg::Rect(242, 74, 540, 620));
  log->clear();
  mail->dismissModalViewControllerAnimated(true);  // the presented one asks its presenter
  clock->advance(1);
  root->dismissModalViewControllerAnimated(false);
  EXPECT_EQ(*log, (CallLog{"Mail viewWillDisappear", "Mail viewDidDisappear", "Tips viewWillDisappear",
                           "Tips viewDidDisappear"}));
  EXPECT_FALSE(tips->view()->window());
  EXPECT_FALSE(mail->view()->window());
}
