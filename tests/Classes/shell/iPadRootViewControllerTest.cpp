// The tablet root: the launch and its restored tab, the tab bar, the two
// layouts, the floating view's pan and glide, full-screen mode, the keys.
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

#include "Classes/shell/FloatingPanGestureRecognizer.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

using Orientation = ui::InterfaceOrientation;

TEST_F(ShellTest, LaunchRestoresTheLastTabClampedToTheFour) {
  struct Case {
    bool has;
    int stored, tab;
  };
  for (Case c : {Case{false, 1, 3}, Case{true, 1, 1}, Case{true, 0, 0}, Case{true, 7, 3}, Case{true, -2, 0}}) {
    SCOPED_TRACE(c.stored);
    defaults().setBool(c.has, "HasLastTabSelection");
    defaults().setInteger(c.stored, "LastTabSelection");
    launch();
    EXPECT_EQ(root->iSelectedBottomTab(), c.tab);
    ASSERT_TRUE(root->currenController());
    EXPECT_EQ(root->currenController() == root->viewContIndex().get(), c.tab == 3);
    EXPECT_EQ(root->viewIndexList->subviews().size(), 1u);
    EXPECT_EQ(root->viewIndexList->subviews()[0].get(), root->currenController()->view().get());
    TearDown();
    SetUp();
  }
}

TEST_F(ShellTest, TabsRebuildTheirColumnAndRememberTheChoice) {
  launch(Orientation::Portrait);
  ASSERT_EQ(root->iSelectedBottomTab(), 3);
  root->tabbarButtonPressed(2);
  EXPECT_EQ(root->iSelectedBottomTab(), 2);
  EXPECT_TRUE(defaults().boolForKey("HasLastTabSelection"));
  EXPECT_EQ(defaults().integerForKey("LastTabSelection"), 2);
  auto* bookmarks = root->currenController();
  ASSERT_TRUE(dynamic_cast<ui::NavigationController*>(bookmarks));
  std::weak_ptr<ui::ViewController> firstVisit = bookmarks->weak_from_this();
  EXPECT_EQ(root->btnTabBookmark->backgroundImageForState(ui::ControlStateNormal),
            ui::Image::imageNamed("ipad-tabbar-bookmarks-t.png"));
  EXPECT_EQ(root->btnTabIndex->backgroundImageForState(ui::ControlStateNormal),
            ui::Image::imageNamed("ipad-tabbar-quran.png"));
  // Showing a tab slides the reading view aside to uncover the column.
  settle(0.5);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);

  root->tabbarButtonPressed(3);
  EXPECT_EQ(root->currenController(), root->viewContIndex().get());
  EXPECT_TRUE(firstVisit.expired());  // dropped: a new one each visit
  root->tabbarButtonPressed(2);
  EXPECT_TRUE(dynamic_cast<ui::NavigationController*>(root->currenController()));

  // Ctrl+1..Ctrl+4 are the same choices, in the buttons' order from the left.
  backend().key("1", ui::KeyModifierControl);
  EXPECT_EQ(root->iSelectedBottomTab(), 3);
  backend().key("4", ui::KeyModifierControl);
  EXPECT_EQ(root->iSelectedBottomTab(), 0);
  // Keys nobody takes end at the window, with or without a first responder.
  backend().key("Escape");
  backend().key("q");
  delegate->window()->clearFirstResponder();
  backend().key("q");
  backend().key("2", ui::KeyModifierControl);
  EXPECT_EQ(root->iSelectedBottomTab(), 2);
}

TEST_F(ShellTest, SecondPressOnTheIndexSlidesTheReadingViewOverAndBack) {
  launch(Orientation::Portrait);
  float shown = root->columnShownX(), covered = root->columnCoveredX();
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(covered, 288);
  root->tabbarButtonPressed(3);
  settle(0.5);
  float first = root->viewFloatingVerses->frame().x();
  EXPECT_EQ(first, root->viewFloatingVerses->frame().x() == shown ? shown : covered);
  root->tabbarButtonPressed(3);
  settle(0.5);
  EXPECT_NE(root->viewFloatingVerses->frame().x(), first);
  // Another tab while the column is covered: slides and switches at once.
  if (root->viewFloatingVerses->frame().x() != covered) {
    root->tabbarButtonPressed(3);
    settle(0.5);
  }
  ASSERT_EQ(root->viewFloatingVerses->frame().x(), covered);
  root->tabbarButtonPressed(1);
  settle(0.5);
  EXPECT_EQ(root->iSelectedBottomTab(), 1);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), shown);
}

struct Frames {
  Orientation orientation;
  cg::Rect translations, primary, secondary, floating;
  float secondaryAlpha;
  float rootY;  // with the notes showing
};

TEST_F(ShellTest, LayoutsOfBothOrientations) {
  for (Frames f : {Frames{Orientation::Portrait, {0, 0, 576, 955}, {0, 0, 288, 955}, {288, 0, 280, 955},
                          {0, 0, 480, 955}, 0, 281},
                   Frames{Orientation::LandscapeRight, {0, 0, 544, 699}, {0, 0, 256, 699}, {256, 0, 288, 699},
                          {256, 0, 480, 699}, 1, 218}}) {
    SCOPED_TRACE(int(f.orientation));
    launch(f.orientation);
    EXPECT_EQ(root->IsInLandscape(), ui::isLandscape(f.orientation));
    EXPECT_EQ(root->viewTranslationsContainer->frame(), f.translations);
    EXPECT_EQ(root->viewPrimTransContainer->frame().x(), f.primary.x());
    EXPECT_EQ(root->viewPrimTransContainer->frame().width(), f.primary.width());
    EXPECT_EQ(root->viewSecTransContainer->frame().x(), f.secondary.x());
    EXPECT_EQ(root->viewSecTransContainer->frame().width(), f.secondary.width());
    EXPECT_EQ(root->viewSecTransContainer->alpha(), f.secondaryAlpha);
    EXPECT_EQ(root->viewFloatingVerses->frame(), f.floating);
    EXPECT_EQ(root->currentFloatingFrame, f.floating);
    EXPECT_EQ(root->btnTabNextVerse->alpha(), 1);
    root->showNotesForSurah(1, 2, false, root->IsInLandscape());
    EXPECT_EQ(root->viewRoot->frame().y(), f.rootY);
    EXPECT_EQ(root->viewNotesContainer->frame().height(), f.rootY);
    root->hideNotesWithoutSave();
    settle(0.5);
    EXPECT_EQ(root->viewRoot->frame().y(), 0);
    TearDown();
    SetUp();
  }
}

TEST_F(ShellTest, RotationWithTheNotesOpenKeepsThemOpen) {
  launch(Orientation::Portrait);
  root->showNotesForSurah(1, 2, false, false);
  ASSERT_EQ(root->viewRoot->frame().y(), 281);
  backend().clock().advance(0.1);
  ui::Application::shared().delegate();
  delegate->window()->rotateToInterfaceOrientation(Orientation::LandscapeRight);
  settle(1);
  EXPECT_TRUE(root->isShowingNotes());
  EXPECT_EQ(root->viewRoot->frame().y(), 218);
  EXPECT_EQ(root->viewSecTransContainer->alpha(), 1);
  delegate->window()->rotateToInterfaceOrientation(Orientation::Portrait);
  settle(1);
  EXPECT_EQ(root->viewRoot->frame().y(), 281);
  EXPECT_EQ(root->viewSecTransContainer->alpha(), 0);
}

// In portrait the floating view is 480 wide on a 768 root, the column 288.
TEST_F(ShellTest, ReleaseTargetsInPortrait) {
  launch(Orientation::Portrait);
  struct Case {
    float x, vx, target;
  };
  for (Case c : {Case{15, 600, 288}, Case{5, 600, 0}, Case{41, 100, 288}, Case{35, 100, 0}, Case{277, -600, 0},
                 Case{277, -100, 288}, Case{240, -100, 0}, Case{300, 0, 288}}) {
    SCOPED_TRACE(testing::Message() << c.x << " at " << c.vx);
    EXPECT_EQ(root->releaseTarget(c.x, c.vx), c.target);
  }
}

TEST_F(ShellTest, PanMovesDampsAndGlides) {
  launch(Orientation::Portrait);
  root->showOrHideIndex();  // to the covered position
  settle(0.5);
  ASSERT_EQ(root->viewFloatingVerses->frame().x(), 288);
  auto pan = [&](FloatingPan::State state, float tx, float vx) { root->handlePanGesture({state, {tx, 0}, {vx, 0}}); };
  pan(FloatingPan::State::Changed, 100, 300);  // past the covered position: a fifth of the travel
  EXPECT_FLOAT_EQ(root->viewFloatingVerses->frame().x(), 288 + 100 * 0.21f);
  EXPECT_TRUE(root->isFloatingWindowPanning());
  EXPECT_FALSE(reading().tblVerses->isScrollEnabled());
  pan(FloatingPan::State::Ended, 100, 10);  // slow release: back to the covered position
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 288);
  EXPECT_EQ(root->currentFloatingFrame.x(), 288);
  EXPECT_TRUE(root->lastFloatingWindowPanTime());
  EXPECT_TRUE(reading().tblVerses->isScrollEnabled());
  settle(0.5);

  pan(FloatingPan::State::Changed, -700, -800);  // past the column's left edge
  EXPECT_FLOAT_EQ(root->viewFloatingVerses->frame().x(), 0 + (288 - 700 - 0) * 0.21f);
  pan(FloatingPan::State::Ended, -700, -800);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);
  root->resetLastPanTime();
  EXPECT_FALSE(root->lastFloatingWindowPanTime());
}

TEST_F(ShellTest, TheReadingScreenSuspendsThePan) {
  launch(Orientation::Portrait);
  float x = root->viewFloatingVerses->frame().x();
  root->shouldDisableFloatingWindow(true);
  EXPECT_FALSE(root->gestureRecognizerShouldBegin());
  root->handlePanGesture({FloatingPan::State::Changed, {120, 0}, {400, 0}});
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), x);  // ignored
  // Lifting the suspension snaps; the next end of a pan only snaps again.
  root->shouldEnableFloatingWindow();
  EXPECT_TRUE(root->gestureRecognizerShouldBegin());
  root->handlePanGesture({FloatingPan::State::Changed, {60, 0}, {400, 0}});
  root->handlePanGesture({FloatingPan::State::Ended, {60, 0}, {2000, 0}});
  EXPECT_FALSE(root->isFloatingWindowPanning());
  float after = root->viewFloatingVerses->frame().x();
  EXPECT_TRUE(after == root->columnShownX() || after == root->columnCoveredX());

  // A disable request during a pan that has started is ignored.
  root->handlePanGesture({FloatingPan::State::Changed, {30, 0}, {100, 0}});
  root->shouldDisableFloatingWindow(false);
  EXPECT_TRUE(root->gestureRecognizerShouldBegin());
  root->handlePanGesture({FloatingPan::State::Ended, {30, 0}, {100, 0}});
}

TEST_F(ShellTest, SnapWithoutAPanTreatsTheDirectionAsLeftwards) {
  launch(Orientation::Portrait);
  cg::Rect f = root->viewFloatingVerses->frame();
  root->viewFloatingVerses->setFrame(cg::Rect(250, f.y(), f.width(), f.height()));  // right edge 730 < 728? no
  root->snapToPage();
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 288);
  root->viewFloatingVerses->setFrame(cg::Rect(200, f.y(), f.width(), f.height()));
  root->snapToPage();
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);
}

TEST_F(ShellTest, ExpandAndShrinkKeepTheStateAndThePortraitPlace) {
  launch(Orientation::Portrait);
  root->showOrHideIndex();
  settle(0.5);
  ASSERT_EQ(root->viewFloatingVerses->frame().x(), 288);
  root->expandFloatingView(true);
  settle(1);
  EXPECT_TRUE(root->isFloatingViewExpanded());
  EXPECT_EQ(root->viewFloatingVerses->frame(), cg::Rect(0, 0, 768, 955));
  EXPECT_TRUE(defaults().boolForKey("ExpandedState"));
  EXPECT_EQ(defaults().integerForKey("LastFloatingViewX"), 288);
  EXPECT_EQ(root->btnTabNextVerse->backgroundImageForState(ui::ControlStateNormal),
            ui::Image::imageNamed("ipad-zoom-out.png"));
  EXPECT_TRUE(primary().showingSingleVerseMode());
  root->expandFloatingView(true);  // already expanded: nothing
  EXPECT_TRUE(root->isFloatingViewExpanded());

  backend().key("Escape");  // Escape leaves full screen
  settle(1);
  EXPECT_FALSE(root->isFloatingViewExpanded());
  EXPECT_EQ(root->viewFloatingVerses->frame(), cg::Rect(288, 0, 480, 955));
  EXPECT_FALSE(defaults().boolForKey("ExpandedState"));
  EXPECT_TRUE(defaults().objectForKey("LastFloatingViewX").isNull());
  EXPECT_FALSE(primary().showingSingleVerseMode());

  // From the shown column it comes back there.
  root->showOrHideIndex();
  settle(0.5);
  root->smoothScrollToNextVerse();
  settle(1);
  EXPECT_EQ(defaults().integerForKey("LastFloatingViewX"), 0);
  root->smoothScrollToNextVerse();
  settle(1);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);
}

TEST_F(ShellTest, ExpandingInLandscapeStoresNoPlace) {
  launch(Orientation::LandscapeRight);
  root->expandFloatingView(false);
  EXPECT_TRUE(defaults().objectForKey("LastFloatingViewX").isNull());
  EXPECT_EQ(root->viewFloatingVerses->frame().width(), 1024);
}

TEST_F(ShellTest, ARelaunchWithTheExpandedStateExpandsAfterASecond) {
  defaults().setBool(true, "ExpandedState");
  launch(Orientation::LandscapeRight, 0.5);
  EXPECT_FALSE(root->isFloatingViewExpanded());
  EXPECT_EQ(root->viewFloatingVerses->frame().width(), 480);
  settle(1.5);
  EXPECT_TRUE(root->isFloatingViewExpanded());
  EXPECT_EQ(root->viewFloatingVerses->frame().width(), 1024);
}

// The secondary pane counts how often its heights are asked.
class CountingPane : public SurahTranslationViewController {
 public:
  CountingPane() : SurahTranslationViewController(false) {}
  float getHeightForVerse(int, bool) override {
    ++asked;
    return 500;
  }
  int asked = 0;
};

TEST_F(ShellTest, MaxVerseHeightAsksTheSecondaryPaneInLandscapeOnly) {
  launch(Orientation::Portrait);
  auto counting = std::make_shared<CountingPane>();
  root->viewContSecondTrans = counting;
  float portrait = root->getMaxVerseHeightForCurrentSurah(3, false);
  EXPECT_EQ(counting->asked, 0);
  EXPECT_LT(portrait, 500);
  EXPECT_EQ(root->getMaxVerseHeightForCurrentSurah(3, true), 500);
  EXPECT_EQ(counting->asked, 1);
}

// Swallows every event with two fingers down.
struct PinchEater : EventInterceptWindowDelegate {
  bool interceptEvent(const ui::Event& event) override {
    seen.push_back(int(event.allTouches.size()));
    return event.allTouches.size() >= 2;
  }
  std::vector<int> seen;
};

struct TouchCounter : ui::View {
  using ui::View::View;
  void touchesBegan(const ui::TouchSet& touches, const ui::Event&) override { began += int(touches.size()); }
  int began = 0;
};

TEST(EventInterceptWindow, TheDelegateSeesEveryEventFirstAndMaySwallowIt) {
  auto clock = ns::VirtualClock::install(1.8e9);
  auto window = std::make_shared<EventInterceptWindow>(cg::Rect(0, 0, 400, 400));
  auto view = std::make_shared<TouchCounter>(cg::Rect(0, 0, 400, 400));
  window->addSubview(view);
  window->makeKeyAndVisible();
  window->sendTouch(0, ui::TouchPhase::Began, {10, 10});  // no delegate: delivered
  window->sendTouch(0, ui::TouchPhase::Ended, {10, 10});
  EXPECT_EQ(view->began, 1);

  PinchEater eater;
  window->setEventInterceptDelegate(&eater);
  window->sendTouch(0, ui::TouchPhase::Began, {10, 10});
  EXPECT_EQ(view->began, 2);
  window->sendTouch(1, ui::TouchPhase::Began, {300, 300});  // the pinch's second finger
  EXPECT_EQ(view->began, 2);
  EXPECT_EQ(eater.seen, (std::vector<int>{1, 2}));
  window->sendTouch(0, ui::TouchPhase::Cancelled, {10, 10});
  window->sendTouch(1, ui::TouchPhase::Cancelled, {300, 300});
  window->setEventInterceptDelegate(nullptr);
}

}  // namespace
}  // namespace shelltest

namespace shelltest {
namespace {

// The mouse drags the floating view as a finger does, with the same rules.
TEST_F(ShellTest, DraggingTheReadingViewSnapsByTheSameRules) {
  launch(Orientation::Portrait);
  ASSERT_EQ(root->viewFloatingVerses->frame().x(), 0);
  backend().drag({200, 500}, {260, 500}, 0.5);  // slow, 60 points right: past the 40
  settle(0.5);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 288);
  EXPECT_FALSE(root->isFloatingWindowPanning());
  EXPECT_TRUE(reading().tblVerses->isScrollEnabled());

  backend().flick({500, 500}, {485, 500}, 800);  // a fast flick, 15 points left: past the 10
  settle(0.5);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);

  backend().drag({200, 500}, {230, 500}, 0.5);  // slow, 30 points: not far enough
  settle(0.5);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);
}

}  // namespace
}  // namespace shelltest

namespace shelltest {
namespace {

TEST_F(ShellTest, WhileExpandedTheIndexTabUncoversTheColumnOrRefillsTheScreen) {
  launch(Orientation::LandscapeRight);
  root->expandFloatingView(false);
  ASSERT_EQ(root->viewFloatingVerses->frame().x(), 0);
  root->tabbarButtonPressed(3);  // obscured: the column is shown
  settle(0.5);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 1024 - 1024 - 288);
  root->tabbarButtonPressed(3);  // not at 0: the view fills the screen again
  settle(0.5);
  EXPECT_EQ(root->viewFloatingVerses->frame(), cg::Rect(0, 0, 1024, 699));
  EXPECT_TRUE(root->isFloatingViewExpanded());
  // While expanded the panes report no scrolling.
  primary().setIgnoreSendingScrollEvents(false);
  primary().tblTransView()->setContentOffset({0, 200});
  EXPECT_TRUE(primary().IgnoreSendingScrollEvents());
  EXPECT_NE(reading().tblVerses->contentOffset().y, 200);
}

// Writes of the settings file, counted from the folder's change events: an
// atomic write fills a new temporary file beside it, then renames it.
class SettingsWrites {
 public:
  explicit SettingsWrites(const std::string& file)
      : prefix_("." + std::filesystem::path(file).filename().string() + ".tmp") {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(fd_, std::filesystem::path(file).parent_path().c_str(), IN_CLOSE_WRITE);
  }
  ~SettingsWrites() { close(fd_); }
  int count() {
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;)
      for (char* p = buffer; p < buffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
        if (std::string_view(reinterpret_cast<inotify_event*>(p)->name).starts_with(prefix_)) ++count_;
    return count_;
  }

 private:
  std::string prefix_;
  int fd_ = -1;
  int count_ = 0;
};

TEST_F(ShellTest, TheLaunchAndAKeyWriteTheSettingsFileOnceEach) {
  defaults().synchronize();
  SettingsWrites writes(defaults().filePath());
  turnScreen(Orientation::Portrait);
  delegate = loadMainInterface();
  root = std::static_pointer_cast<iPadRootViewController>(delegate->ipadRootViewController()->shared_from_this());
  backend().launch(delegate);
  EXPECT_EQ(writes.count(), 1);
  settle();
  int settled = writes.count();
  backend().key("2", ui::KeyModifierControl);  // to the bookmarks and back to the index
  EXPECT_EQ(writes.count() - settled, 1);
  EXPECT_EQ(defaults().integerForKey("LastTabSelection"), 2);
  backend().key("1", ui::KeyModifierControl);
  EXPECT_EQ(writes.count() - settled, 2);
  EXPECT_EQ(defaults().integerForKey("LastTabSelection"), 3);
}

// The launch picture fades and leaves, its image with it; the wood behind the
// closed notes strip is never decoded, as it is never seen.
TEST_F(ShellTest, TheLaunchPictureLeavesOnceFadedAndUnseenImagesAreNotDecoded) {
  launch(Orientation::LandscapeRight, 0);
  delegate->window()->layoutIfNeeded();
  std::weak_ptr<ui::Image> splash = root->imgSplash->image();
  ASSERT_FALSE(splash.expired());
  EXPECT_EQ(root->imgSplash->superview(), root->viewEverythingContainer.get());
  backend().advance(0.3);
  EXPECT_EQ(root->imgSplash->superview(), nullptr);
  settle(1);
  EXPECT_TRUE(splash.expired());

  cg::Context frame = cg::Context::bitmap(1024, 768);
  delegate->window()->display(frame);
  ASSERT_TRUE(root->imgNotesContainerBG->image());
  EXPECT_FALSE(root->imgNotesContainerBG->image()->isDecoded());
}

}  // namespace
}  // namespace shelltest
