// Alert views and action sheets: button order, the one-at-a-time queue,
// delegate calls, programmatic dismissal and how they look.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

using namespace ui;

namespace {

struct Recorder : AlertViewDelegate, ActionSheetDelegate {
  std::vector<std::string> calls;
  std::function<void(AlertView&, int)> onClick;
  void clickedButtonAtIndex(AlertView& a, int i) override {
    calls.push_back("clicked " + a.title() + " " + std::to_string(i));
    if (onClick) onClick(a, i);
  }
  void didDismissWithButtonIndex(AlertView& a, int i) override {
    calls.push_back("dismissed " + a.title() + " " + std::to_string(i));
  }
  void clickedButtonAtIndex(ActionSheet& s, int i) override {
    calls.push_back("sheet clicked " + s.title() + " " + std::to_string(i));
  }
  void didDismissWithButtonIndex(ActionSheet& s, int i) override {
    calls.push_back("sheet dismissed " + s.title() + " " + std::to_string(i));
  }
};

class AlertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
    window->setBackgroundColor(cg::Color::white());
    window->makeKeyAndVisible();
    recorder = std::make_shared<Recorder>();
  }
  void TearDown() override {
    Animator::finishAll();
    ButtonPanel::resetForTesting();
  }
  // Taps the middle of a button of the panel on screen, through the window.
  void tapButton(int index) {
    auto* panel = ButtonPanel::visiblePanel();
    ASSERT_NE(panel, nullptr);
    cg::Rect r = panel->buttonRectAtIndex(index);
    cg::Point p = panel->convertPointToView({r.midX(), r.midY()}, nullptr);
    window->sendTouch(0, TouchPhase::Began, p);
    window->sendTouch(0, TouchPhase::Ended, p);
    clock->advance(0.5);
  }
  // Leaves a picture for a person to look at when a folder is given.
  void keepScreenshot(const std::string& name) {
    const char* dir = std::getenv("ZARVEL_TEST_TMP");
    if (!dir) return;
    std::system(("mkdir -p '" + std::string(dir) + "'").c_str());
    EXPECT_TRUE(window->writeScreenshot(std::string(dir) + "/" + name));
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<Window> window;
  std::shared_ptr<Recorder> recorder;
};

}  // namespace

TEST_F(AlertTest, ButtonIndexesFollowThePlatformOrder) {
  AlertView alert("A", "m", recorder, "Cancel", {"One", "Two"});
  EXPECT_EQ(alert.cancelButtonIndex(), 0);
  EXPECT_EQ(alert.firstOtherButtonIndex(), 1);
  EXPECT_EQ(alert.buttonTitleAtIndex(2), "Two");
  EXPECT_EQ(alert.destructiveButtonIndex(), -1);
  EXPECT_EQ(alert.addButtonWithTitle("Three"), 3);
  AlertView noCancel("B", "", recorder, "", {"OK"});
  EXPECT_EQ(noCancel.cancelButtonIndex(), -1);
  EXPECT_EQ(noCancel.firstOtherButtonIndex(), 0);

  ActionSheet sheet("S", recorder, "Cancel", "Yes", {"Maybe"});
  EXPECT_EQ(sheet.destructiveButtonIndex(), 0);
  EXPECT_EQ(sheet.buttonTitleAtIndex(1), "Maybe");
  EXPECT_EQ(sheet.cancelButtonIndex(), 2);
  ActionSheet plain("P", recorder, "", "", {"Download this Audio", "Download all Audios"});
  EXPECT_EQ(plain.cancelButtonIndex(), -1);
  EXPECT_EQ(plain.destructiveButtonIndex(), -1);
  EXPECT_EQ(plain.firstOtherButtonIndex(), 0);
}

TEST_F(AlertTest, SecondAlertWaitsForTheFirstAndTapsReachTheDelegate) {
  auto first = std::make_shared<AlertView>("First", "one", recorder, "No", std::vector<std::string>{"Yes"});
  auto second = std::make_shared<AlertView>("Second", "two", recorder, "OK");
  first->show();
  second->show();
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(second->isVisible());
  EXPECT_EQ(ButtonPanel::queuedCount(), 1u);

  tapButton(1);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"clicked First 1", "dismissed First 1"}));
  EXPECT_FALSE(first->isVisible());
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(ButtonPanel::visiblePanel(), second.get());
  tapButton(0);
  EXPECT_EQ(recorder->calls.back(), "dismissed Second 0");
  EXPECT_EQ(ButtonPanel::visiblePanel(), nullptr);
}

TEST_F(AlertTest, ViewsUnderAnAlertGetNoTouches) {
  struct Counter : View {
    using View::View;
    int touches = 0;
    void touchesBegan(const TouchSet&, const Event&) override { ++touches; }
  };
  auto under = std::make_shared<Counter>(window->bounds());
  window->addSubview(under);
  auto alert = std::make_shared<AlertView>("A", "", recorder, "OK");
  alert->show();
  window->sendTouch(0, TouchPhase::Began, {5, 5});
  window->sendTouch(0, TouchPhase::Ended, {5, 5});
  EXPECT_EQ(under->touches, 0);
  EXPECT_TRUE(alert->isVisible());
}

TEST_F(AlertTest, ProgrammaticDismissalCallsNoClickAndNoSecondDismiss) {
  auto alert = std::make_shared<AlertView>("A", "", recorder, "Cancel", std::vector<std::string>{"Go"});
  alert->show();
  alert->dismissWithClickedButtonIndex(1, false);
  alert->dismissWithClickedButtonIndex(1, false);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"dismissed A 1"}));

  // A delegate that dismisses from within the click hears dismissal once.
  recorder->calls.clear();
  recorder->onClick = [](AlertView& a, int i) { a.dismissWithClickedButtonIndex(i, true); };
  auto again = std::make_shared<AlertView>("B", "", recorder, "Cancel");
  again->show();
  tapButton(0);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"clicked B 0", "dismissed B 0"}));

  // A queued alert dismissed before its turn never shows.
  recorder->calls.clear();
  recorder->onClick = nullptr;
  auto shown = std::make_shared<AlertView>("C", "", recorder, "OK");
  auto queued = std::make_shared<AlertView>("D", "", recorder, "OK");
  shown->show();
  queued->show();
  queued->dismissWithClickedButtonIndex(0, false);
  tapButton(0);
  EXPECT_EQ(ButtonPanel::visiblePanel(), nullptr);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"clicked C 0", "dismissed C 0"}));
}

TEST_F(AlertTest, SheetTapOutsideCancelsAndSheetsShareTheQueue) {
  auto host = std::make_shared<View>(cg::Rect(0, 0, 1024, 768));
  window->addSubview(host);
  auto sheet = std::make_shared<ActionSheet>("Sheet", recorder, "Cancel", "Yes");
  auto alert = std::make_shared<AlertView>("Later", "", recorder, "OK");
  sheet->showInView(host.get());
  alert->show();
  EXPECT_FALSE(alert->isVisible());
  window->sendTouch(0, TouchPhase::Began, {5, 5});
  window->sendTouch(0, TouchPhase::Ended, {5, 5});
  clock->advance(0.5);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"sheet clicked Sheet 1", "sheet dismissed Sheet 1"}));
  EXPECT_TRUE(alert->isVisible());
}

TEST_F(AlertTest, AlertIsDrawnOverADimmedWindow) {
  auto alert = std::make_shared<AlertView>(
      "Update Notice",
      "Zarvel now supports color coded Tajweed and changing of font sizes. These can be "
      "configured from the settings screen.",
      recorder, "OK");
  alert->show();
  auto image = window->snapshot();
  ASSERT_TRUE(image);
  // The window is dimmed around the alert; the alert's body is deep blue.
  cg::RGBA corner = image->pixelAt(5, 5);
  EXPECT_LT(corner.r, 200);
  cg::Rect f = alert->frame();
  cg::RGBA body = image->pixelAt(int(f.minX() + 8), int(f.midY()));
  EXPECT_GT(body.b, body.r);
  keepScreenshot("alert.png");
}

TEST_F(AlertTest, SheetIsDrawnOverItsViewWithTheDestructiveButtonInRed) {
  auto host = std::make_shared<View>(cg::Rect(0, 0, 1024, 768));
  window->addSubview(host);
  auto sheet = std::make_shared<ActionSheet>("Would you like to cancel the currently downloading surah?",
                                             recorder, "No", "Yes");
  sheet->showInView(host.get());
  auto image = window->snapshot();
  cg::Rect yes = sheet->convertRectToView(sheet->buttonRectAtIndex(0), nullptr);
  cg::RGBA red = image->pixelAt(int(yes.minX() + 4), int(yes.midY()));
  EXPECT_GT(red.r, 150);
  EXPECT_LT(red.g, 80);
  keepScreenshot("sheet.png");
}
