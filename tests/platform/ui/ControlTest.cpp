// Controls: target-action and tracking, button states, labels and image views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Pixels.h"
#include "WindowFixture.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"

using namespace ui;
using testpixels::inkBox;
using testpixels::near;
using testpixels::solidImage;

namespace {

using ControlTest = WindowFixture;

// Records the events a control sends.
struct EventLog {
  std::vector<std::string> names;
  void attach(Control& c) {
    const std::pair<unsigned, const char*> events[] = {
        {ControlEventTouchDown, "down"},         {ControlEventTouchUpInside, "up-inside"},
        {ControlEventTouchUpOutside, "up-outside"}, {ControlEventTouchDragExit, "exit"},
        {ControlEventTouchDragEnter, "enter"},   {ControlEventTouchCancel, "cancel"},
        {ControlEventValueChanged, "changed"},
    };
    for (auto [event, name] : events)
      c.addTarget(this, [this, n = std::string(name)](Control&) { names.push_back(n); }, event);
  }
};

}  // namespace

TEST_F(ControlTest, TrackingSendsTheEventsOfEachWayATouchCanGo) {
  struct Case {
    const char* what;
    std::vector<cg::Point> moves;
    bool cancel;
    std::vector<std::string> events;
  } cases[] = {
      {"tap", {}, false, {"down", "up-inside"}},
      {"slip within reach", {{160, 140}}, false, {"down", "up-inside"}},
      {"drag away", {{400, 400}}, false, {"down", "exit", "up-outside"}},
      {"away and back", {{400, 400}, {110, 110}}, false, {"down", "exit", "enter", "up-inside"}},
      {"cancelled", {}, true, {"down", "cancel"}},
  };
  for (const auto& c : cases) {
    auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
    window->addSubview(button);
    EventLog log;
    log.attach(*button);
    touch(TouchPhase::Began, {110, 110});
    EXPECT_TRUE(button->isHighlighted()) << c.what;
    cg::Point last{110, 110};
    for (auto p : c.moves) touch(TouchPhase::Moved, last = p);
    if (c.cancel) window->cancelAllTouches();
    else touch(TouchPhase::Ended, last);
    EXPECT_EQ(log.names, c.events) << c.what;
    EXPECT_FALSE(button->isHighlighted()) << c.what;
    button->removeFromSuperview();
  }
}

TEST_F(ControlTest, ADisabledControlLetsTouchesThroughAndSendsNothing) {
  auto under = std::make_shared<Button>(cg::Rect(0, 0, 300, 300));
  auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
  window->addSubview(under);
  window->addSubview(button);
  EventLog top, bottom;
  top.attach(*button);
  bottom.attach(*under);
  button->setEnabled(false);
  touch(TouchPhase::Began, {110, 110});
  touch(TouchPhase::Ended, {110, 110});
  EXPECT_TRUE(top.names.empty());
  EXPECT_EQ(bottom.names, (std::vector<std::string>{"down", "up-inside"}));
  EXPECT_EQ(button->state(), unsigned(ControlStateDisabled));
}

TEST_F(ControlTest, RemovedTargetsHearNothingAndAnActionMayRemoveItsControl) {
  auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
  window->addSubview(button);
  int a = 0, b = 0;
  int keyA = 0, keyB = 0;
  button->addTarget(&keyA, [&](Control&) { ++a; }, ControlEventTouchUpInside | ControlEventTouchDown);
  button->addTarget(&keyB, [&](Control& sender) {
    ++b;
    sender.removeFromSuperview();
  }, ControlEventTouchUpInside);
  button->removeTarget(&keyA, ControlEventTouchUpInside);
  EXPECT_EQ(button->allControlEvents(), unsigned(ControlEventTouchUpInside | ControlEventTouchDown));
  std::weak_ptr<Button> weak = button;
  button.reset();
  touch(TouchPhase::Began, {110, 110});
  touch(TouchPhase::Ended, {110, 110});
  EXPECT_EQ(a, 1);  // the touch down only
  EXPECT_EQ(b, 1);
  EXPECT_TRUE(weak.expired());
}

// Each state shows its own background image; a state without one falls back
// to the normal image (darkened while highlighted, faint while disabled).
TEST_F(ControlTest, ButtonStatesShowTheirOwnImagesOrTheNormalOnes) {
  auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
  window->addSubview(button);
  cg::Point mid{140, 120};
  auto red = solidImage(cg::Color::red(), {10, 10});
  button->setBackgroundImage(red, ControlStateNormal);
  EXPECT_TRUE(near(pixel(mid), {255, 0, 0, 255}));

  touch(TouchPhase::Began, mid);
  cg::RGBA darkened = pixel(mid);
  EXPECT_LT(darkened.r, 200);
  EXPECT_GT(darkened.r, 80);
  EXPECT_LT(darkened.g + darkened.b, 10);
  touch(TouchPhase::Ended, mid);

  button->setBackgroundImage(solidImage(cg::Color::green(), {10, 10}), ControlStateHighlighted);
  button->setBackgroundImage(solidImage(cg::Color::blue(), {10, 10}), ControlStateSelected);
  touch(TouchPhase::Began, mid);
  EXPECT_TRUE(near(pixel(mid), {0, 255, 0, 255}));
  touch(TouchPhase::Ended, mid);
  button->setSelected(true);
  EXPECT_TRUE(near(pixel(mid), {0, 0, 255, 255}));
  // Highlighted and selected together: the selected image, darkened.
  touch(TouchPhase::Began, mid);
  EXPECT_TRUE(near(pixel(mid), {0, 0, 153, 255}, 12));
  touch(TouchPhase::Ended, mid);
  button->setSelected(false);
  button->setEnabled(false);
  EXPECT_TRUE(near(pixel(mid), {255, 128, 128, 255}, 12));  // half-faint red over white
}

TEST_F(ControlTest, ButtonTitlesAndColoursFollowTheState) {
  auto button = Button::buttonWithType(ButtonType::RoundedRect);
  button->setTitle("Done", ControlStateNormal);
  button->setTitle("Pressed", ControlStateHighlighted);
  button->setTitleColor(cg::Color::red(), ControlStateDisabled);
  EXPECT_EQ(button->titleForState(ControlStateNormal), "Done");
  EXPECT_EQ(button->titleForState(ControlStateHighlighted), "Pressed");
  EXPECT_EQ(button->titleForState(ControlStateSelected), "Done");
  EXPECT_EQ(button->titleForState(ControlStateDisabled), "Done");
  EXPECT_EQ(button->titleColorForState(ControlStateDisabled), cg::Color::red());
  button->setHighlighted(true);
  EXPECT_EQ(button->titleLabel()->text(), "Pressed");
  EXPECT_EQ(button->titleLabel()->textColor(), cg::Color::white());
  button->setHighlighted(false);
  EXPECT_EQ(button->titleLabel()->text(), "Done");
}

// Content alignment and insets place the image and the title side by side.
TEST_F(ControlTest, ButtonLaysOutImageAndTitleByAlignmentAndInsets) {
  auto button = std::make_shared<Button>(cg::Rect(0, 0, 200, 40));
  button->setImage(solidImage(cg::Color::red(), {20, 20}), ControlStateNormal);
  button->setTitle("Go", ControlStateNormal);
  button->layoutIfNeeded();
  cg::Rect image = button->imageView()->frame(), title = button->titleLabel()->frame();
  EXPECT_EQ(image.y(), 10);
  EXPECT_EQ(title.x(), image.maxX());
  EXPECT_NEAR(image.x() + (title.maxX() - image.x()) / 2, 100, 1);  // centred as a pair

  button->setContentHorizontalAlignment(ControlContentHorizontalAlignment::Left);
  button->setContentEdgeInsets({0, 10, 0, 0});
  button->setTitleEdgeInsets({0, 5, 0, 0});
  button->layoutIfNeeded();
  EXPECT_EQ(button->imageView()->frame().x(), 10);
  EXPECT_EQ(button->titleLabel()->frame().x(), 10 + 5 + 20);

  button->setContentHorizontalAlignment(ControlContentHorizontalAlignment::Right);
  button->setContentEdgeInsets({});
  button->setTitleEdgeInsets({});
  button->layoutIfNeeded();
  EXPECT_EQ(button->titleLabel()->frame().maxX(), 200);
}

TEST_F(ControlTest, SwitchTurnsOnATapSlidingOnTheClockAndTellsOnlyTouches) {
  auto sw = std::make_shared<Switch>(cg::Rect(100, 100, 10, 10));
  EXPECT_EQ(sw->frame(), cg::Rect(100, 100, 94, 27));
  window->addSubview(sw);
  EventLog log;
  log.attach(*sw);
  sw->setOn(true);
  EXPECT_TRUE(sw->isOn());
  EXPECT_TRUE(log.names.empty());

  tap({140, 110});
  EXPECT_FALSE(sw->isOn());
  EXPECT_EQ(log.names, (std::vector<std::string>{"down", "changed", "up-inside"}));
  View* knob = sw->subviews().front().get();
  clock->advance(0.1);
  float midway = knob->presentationFrame().x();
  EXPECT_GT(midway, 5);
  EXPECT_LT(midway, 49);
  clock->advance(0.2);
  EXPECT_EQ(knob->presentationFrame().x(), 0);

  // A drag let go on the side it started on changes nothing.
  log.names.clear();
  touch(TouchPhase::Began, {110, 110});
  touch(TouchPhase::Moved, {125, 110});
  touch(TouchPhase::Ended, {125, 110});
  EXPECT_FALSE(sw->isOn());
  EXPECT_EQ(log.names, (std::vector<std::string>{"down", "up-inside"}));
}

TEST_F(ControlTest, SegmentedControlSelectsTheTouchedSegmentOnce) {
  auto seg = std::make_shared<SegmentedControl>(std::vector<std::string>{"One", "Two", "Three"});
  seg->setFrame(cg::Rect(0, 0, 300, 40));
  window->addSubview(seg);
  EventLog log;
  log.attach(*seg);
  EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::NoSegment);
  tap({150, 20});
  EXPECT_EQ(seg->selectedSegmentIndex(), 1);
  tap({150, 20});
  EXPECT_EQ(log.names, (std::vector<std::string>{"down", "changed", "up-inside", "down", "up-inside"}));

  seg->setEnabled(false, 2);
  tap({250, 20});
  EXPECT_EQ(seg->selectedSegmentIndex(), 1);

  // Insertions and removals keep the same segment selected; bad indexes do nothing.
  seg->insertSegmentWithTitle("Zero", 0);
  EXPECT_EQ(seg->selectedSegmentIndex(), 2);
  EXPECT_EQ(seg->titleForSegmentAtIndex(2), "Two");
  seg->insertSegmentWithTitle("Last", 99);
  EXPECT_EQ(seg->titleForSegmentAtIndex(4), "Last");
  seg->removeSegmentAtIndex(7);
  seg->setTitle("x", -1);
  seg->setSelectedSegmentIndex(9);
  EXPECT_EQ(seg->selectedSegmentIndex(), 2);
  seg->removeSegmentAtIndex(2);
  EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::NoSegment);
  seg->removeAllSegments();
  EXPECT_EQ(seg->numberOfSegments(), 0);
  tap({150, 20});  // nothing to touch

  seg->insertSegmentWithTitle("A", 0);
  seg->insertSegmentWithTitle("B", 1);
  seg->setMomentary(true);
  tap({200, 20});
  EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::NoSegment);
  EXPECT_EQ(std::count(log.names.begin(), log.names.end(), "changed"), 2);
}

TEST_F(ControlTest, PageControlStepsTowardsTheTappedSide) {
  auto pages = std::make_shared<PageControl>(cg::Rect(0, 0, 200, 36));
  pages->setNumberOfPages(3);
  window->addSubview(pages);
  EventLog log;
  log.attach(*pages);
  tap({190, 18});
  tap({190, 18});
  tap({190, 18});
  EXPECT_EQ(pages->currentPage(), 2);
  EXPECT_EQ(std::count(log.names.begin(), log.names.end(), "changed"), 2);
  tap({5, 18});
  EXPECT_EQ(pages->currentPage(), 1);
  pages->setDefersCurrentPageDisplay(true);
  tap({5, 18});
  EXPECT_EQ(pages->currentPage(), 0);
  EXPECT_EQ(pages->displayedPage(), 1);
  pages->updateCurrentPageDisplay();
  EXPECT_EQ(pages->displayedPage(), 0);
  pages->setCurrentPage(7);
  EXPECT_EQ(pages->currentPage(), 2);
  pages->setNumberOfPages(1);
  EXPECT_EQ(pages->currentPage(), 0);
}

TEST_F(ControlTest, ProgressIsClampedAndFillsFromTheLeft) {
  auto bar = std::make_shared<ProgressView>(ProgressViewStyle::Default);
  bar->setFrame(cg::Rect(100, 100, 200, 9));
  window->addSubview(bar);
  for (float p : {-1.0f, 2.0f, std::nanf("")}) {
    bar->setProgress(p);
    EXPECT_GE(bar->progress(), 0);
    EXPECT_LE(bar->progress(), 1);
  }
  bar->setProgress(0.5f);
  auto image = picture();
  EXPECT_LT(image->pixelAt(150, 104).r, 150);   // filled blue
  EXPECT_GT(image->pixelAt(250, 104).r, 200);   // white track
}

TEST_F(ControlTest, ActivityIndicatorTurnsOnTheClockWhileAnimating) {
  auto spinner = std::make_shared<ActivityIndicatorView>(ActivityIndicatorViewStyle::WhiteLarge);
  EXPECT_EQ(spinner->frame().size, (cg::Size{37, 37}));
  EXPECT_TRUE(spinner->isHidden());
  window->addSubview(spinner);
  spinner->startAnimating();
  EXPECT_FALSE(spinner->isHidden());
  clock->advance(ActivityIndicatorView::kTurnInterval * 3.5);
  EXPECT_EQ(spinner->step(), 3);
  spinner->stopAnimating();
  clock->advance(1);
  EXPECT_EQ(spinner->step(), 3);
  EXPECT_TRUE(spinner->isHidden());
  spinner->setHidesWhenStopped(false);
  EXPECT_FALSE(spinner->isHidden());
  spinner->startAnimating();
  spinner->removeFromSuperview();
  spinner.reset();
  clock->advance(1);  // a spinner gone while turning leaves nothing behind
}
