#include "Classes/app/ReadingRootViewController.h"

#include "platform/foundation/String.h"
#include "Classes/core/TranslationMeta.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

namespace {

// Opening a verse goes through the index in the tablet layout; here it goes
// straight to the reading screen's quick phase.
class StandInIndex : public IndexViewController {
 public:
  explicit StandInIndex(std::weak_ptr<SurahViewController> reading) : reading_(std::move(reading)) {}
  void showSurahView(const void*, int surah, int verse, bool startPlaying, bool) override {
    auto reading = reading_.lock();
    if (!reading) return;
    reading->setupBasicSurah(surah, verse, startPlaying);
    // The delegate rebuilds the screen itself only when nothing is to play.
    if (startPlaying) reading->asyncSurahReload();
  }
  bool IsShowingSurahView() const override { return true; }

 private:
  std::weak_ptr<SurahViewController> reading_;
};

// The root's view tells its controller when it reaches the window, which is
// when the reading screen appears.
class RootView : public ui::View {
 public:
  RootView(cg::Rect frame, ReadingRootViewController* owner) : ui::View(frame), owner_(owner) {}
  void didMoveToWindow() override {
    if (window() && owner_) {
      owner_->viewWillAppear(false);
      owner_->viewDidAppear(false);
    }
  }

 private:
  ReadingRootViewController* owner_;
};

}  // namespace

ReadingRootViewController::ReadingRootViewController()
    : reading_(std::make_shared<SurahViewController>()), index_(std::make_shared<StandInIndex>(reading_)) {
  reading_->setIpaddelegate(this);
  // The reading view fills the screen, so translation rows are measured at its width.
  TranslationMeta::setFullScreenProvider([] { return true; });
}

void ReadingRootViewController::loadView() {
  auto view = std::make_shared<RootView>(ui::Screen::main().applicationFrame(), this);
  view->setAutoresizesSubviews(true);
  view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto readingView = reading_->view();
  readingView->setFrame(view->bounds());
  view->addSubview(readingView);
  setView(view);
}

bool ReadingRootViewController::IsInLandscape() const {
  return ui::isLandscape(ui::Application::shared().statusBarOrientation());
}

// The last read surah and verse; the set-up clamps the verse to the surah and
// turns any surah outside 1..114 into one that exists.
void ReadingRootViewController::viewWillAppear(bool animated) {
  if (appeared_) return reading_->viewWillAppear(animated);
  auto& d = ns::UserDefaults::standardUserDefaults();
  int surah = int(d.integerForKey("LastSurah"));
  if (surah < 1 || surah > 114) surah = 1;
  int verse = int(d.integerForKey("LastVerse"));
  reading_->setupBasicSurah(surah, verse, false);
  reading_->setRequiresReload(true);
  reading_->viewWillAppear(animated);
}

void ReadingRootViewController::viewDidAppear(bool animated) {
  appeared_ = true;
  reading_->viewDidAppear(animated);
}

// A turn changes the table's width: the rows are measured again at the new one.
// The reading screen prepares for the turn (its popover, its top row) and
// switches its layout with it.
bool ReadingRootViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) {
  if (reading_->isViewLoaded()) reading_->shouldAutorotateToInterfaceOrientation(o);
  return true;
}

void ReadingRootViewController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) {
  if (IsInLandscape()) reading_->prepareForLandscapeWithAnimation(false, false);
  else reading_->prepareForPortraitWithAnimation(false, false);
  reading_->setIsInLandscape(IsInLandscape());
  if (reading_->tblVerses) reading_->tblVerses->reloadData();
  if (reading_->isViewLoaded()) reading_->willAnimateRotationToInterfaceOrientation(to, duration);
}

void ReadingRootViewController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) {
  if (reading_->isViewLoaded()) reading_->didRotateFromInterfaceOrientation(from);
}
