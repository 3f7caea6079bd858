// The real application started in a window and ended as a person ends it,
// with its delegate, window and a popover alive at the end: the process
// exits cleanly through its static destructors (under the sanitizers a use
// of freed memory or a leak on the way out fails it).
#include <gtest/gtest.h>

#include <cstdlib>

#include "Classes/app/MainInterface.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/PopoverController.h"
#include "tests/support/HeadlessProcess.h"

namespace {

// Opens the options panel's popover on the first verse on screen.
bool openVersePopover(ZarvelSDKAppDelegate& delegate) {
  auto* root = delegate.ipadRootViewController();
  auto reading = root ? root->viewContSurah() : nullptr;
  if (!reading || !reading->tblVerses) return false;
  auto path = ui::IndexPath::indexPathForRow(reading->verseToRow(1), 0);
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(reading->tblVerses->cellForRowAtIndexPath(path));
  if (!cell) return false;
  reading->showDialControlForVerseCell(cell.get(), cell->CellView(), reading->tblVerses.get(), 1,
                                       reading->iCurrentSurah());
  return reading->popoverView && reading->popoverView->isPopoverVisible();
}

// The program's entry on SDL's dummy driver with the main interface; once
// launched a popover opens and the window is closed. The exit status of
// the run, or 10 when no popover opened.
int runWindowedWithPopover() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  unsetenv("ZARVEL_HEADLESS");
  bool opened = false;
  char arg0[] = "zarvel";
  char* argv[] = {arg0};
  int status = ui::ApplicationMain(1, argv, [&opened] {
    auto delegate = loadMainInterface();
    std::weak_ptr<ZarvelSDKAppDelegate> weak = delegate;
    ns::RunLoop::main().performAfter(nullptr, "open a popover, then close", 1.5, [weak, &opened] {
      if (auto d = weak.lock()) opened = openVersePopover(*d);
      ui::Application::shared().terminate();
    });
    return delegate;
  });
  return opened ? status : 10;
}

TEST(ApplicationExit, AWindowedRunEndsCleanlyWithItsDelegateWindowAndPopoverAlive) {
  if (!testenv::realContentBuilt()) GTEST_SKIP() << "the content database is not built";
  auto dir = testenv::prepareTestFolder("exit");
  testenv::linkBuiltResources(dir / "resources", {"zarvel.db", "images"});
  // A process of its own, so that its static destructors run at its exit.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(runWindowedWithPopover()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
