#include "Classes/app/ReadingRootViewController.h"

#include "platform/foundation/String.h"
#include "Classes/core/TranslationMeta.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

namespace {

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
    : reading_(std::make_shared<SurahViewController>()), index_(std::make_shared<IndexViewController>()) {
  reading_->setIpaddelegate(this);
  index_->setIPadController(this);
  // The reading view fills the screen, so translation rows are measured at its width.
  TranslationMeta::setFullScreenProvider([] { return true; });
}

void ReadingRootViewController::loadView() {
  auto view = std::make_shared<RootView>(ui::Screen::main().applicationFrame(), this);
  view->setAutoresizesSubviews(true);
  view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto column = index_->view();
  column->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
  view->addSubview(column);
  view->addSubview(reading_->view());
  setView(view);
  layoutColumns();
}

// On its side the index stands as the left column beside the reading view;
// upright the reading view takes the whole width.
void ReadingRootViewController::layoutColumns() {
  ui::View* root = viewIfLoaded();
  if (!root) return;
  auto column = index_->view();
  bool beside = IsInLandscape();
  float columnWidth = beside ? column->frame().width() : 0;
  column->setHidden(!beside);
  column->setFrame(cg::Rect(0, 0, column->frame().width(), root->bounds().height()));
  reading_->view()->setFrame(
      cg::Rect(columnWidth, 0, root->bounds().width() - columnWidth, root->bounds().height()));
}

void ReadingRootViewController::insertText(const std::string& text) {
  if (index_->isViewLoaded() && !index_->view()->isHidden()) return index_->insertText(text);
  iPadRootViewController::insertText(text);
}

void ReadingRootViewController::keyDown(const ui::KeyEvent& key) {
  if (key.key == "Return" && index_->isViewLoaded() && !index_->view()->isHidden()) return index_->keyDown(key);
  iPadRootViewController::keyDown(key);
}

bool ReadingRootViewController::IsInLandscape() const {
  return ui::isLandscape(ui::Application::shared().statusBarOrientation());
}

// The last read surah and verse; the set-up clamps the verse to the surah and
// turns any surah outside 1..114 into one that exists.
// The index's first appearance opens the reading screen where it was left.
void ReadingRootViewController::viewWillAppear(bool animated) {
  if (appeared_) {
    index_->viewWillAppear(animated);
    return reading_->viewWillAppear(animated);
  }
  auto& d = ns::UserDefaults::standardUserDefaults();
  int surah = int(d.integerForKey("LastSurah"));
  if (surah < 1 || surah > 114) surah = 1;
  d.setInteger(surah, "CurrentlyShowingSurah");
  d.setInteger(d.integerForKey("LastVerse"), "CurrentlyShowingVerse");
  index_->viewWillAppear(animated);
  reading_->viewWillAppear(animated);
}

void ReadingRootViewController::viewDidAppear(bool animated) {
  appeared_ = true;
  index_->viewDidAppear(animated);
  reading_->viewDidAppear(animated);
}

// The reading screen prepares for the turn (its popover, its top row) and
// switches its layout with it.
bool ReadingRootViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) {
  if (reading_->isViewLoaded()) reading_->shouldAutorotateToInterfaceOrientation(o);
  return true;
}

// A turn changes the table's width: the rows are measured again at the new one.
void ReadingRootViewController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) {
  layoutColumns();
  if (IsInLandscape()) reading_->prepareForLandscapeWithAnimation(false, false);
  else reading_->prepareForPortraitWithAnimation(false, false);
  reading_->setIsInLandscape(IsInLandscape());
  if (reading_->tblVerses) reading_->tblVerses->reloadData();
  if (reading_->isViewLoaded()) reading_->willAnimateRotationToInterfaceOrientation(to, duration);
}

void ReadingRootViewController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) {
  if (reading_->isViewLoaded()) reading_->didRotateFromInterfaceOrientation(from);
}
