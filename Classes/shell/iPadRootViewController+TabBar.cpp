// The four tab buttons of the bottom bar and the right-hand column that shows
// the selected tab's controller; the custom bar over the bottom bar.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Classes/bookmarks/BookmarkGroupsViewController.h"
#include "Classes/bookmarks/BookmarksViewController.h"
#include "Classes/core/Language.h"
#include "Classes/search/SavedSearchesViewController.h"
#include "Classes/search/SearchViewController.h"
#include "Classes/settings/MoreViewController.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace {

const char* const kTabImages[4][2] = {{"ipad-tabbar-more.png", "ipad-tabbar-more-t.png"},
                                      {"ipad-tabbar-search.png", "ipad-tabbar-search-t.png"},
                                      {"ipad-tabbar-bookmarks.png", "ipad-tabbar-bookmarks-t.png"},
                                      {"ipad-tabbar-quran.png", "ipad-tabbar-quran-t.png"}};

}  // namespace

ui::Button* iPadRootViewController::tabButton(int tab) const {
  switch (tab) {
    case 0: return btnTabMore.get();
    case 1: return btnTabSearch.get();
    case 2: return btnTabBookmark.get();
    case 3: return btnTabIndex.get();
    default: return nullptr;
  }
}

ui::Button* iPadRootViewController::tabButtonAtPlace(int place) const {
  std::vector<ui::Button*> buttons;
  for (int tab = 0; tab < 4; ++tab)
    if (ui::Button* b = tabButton(tab)) buttons.push_back(b);
  std::sort(buttons.begin(), buttons.end(), [](ui::Button* a, ui::Button* b) { return a->frame().x() < b->frame().x(); });
  return place >= 0 && place < int(buttons.size()) ? buttons[size_t(place)] : nullptr;
}

void iPadRootViewController::setTabImage(int tab, bool selected) {
  if (auto* button = tabButton(tab))
    button->setBackgroundImage(ui::Image::imageNamed(kTabImages[tab][selected ? 1 : 0]), ui::ControlStateNormal);
}

ui::NavigationController* iPadRootViewController::tabNavigation() const {
  return dynamic_cast<ui::NavigationController*>(currenController_.get());
}

ui::ViewController* iPadRootViewController::visibleTabScreen() const {
  auto* nav = tabNavigation();
  return nav ? nav->visibleViewController() : nullptr;
}

// The column stays in view while its list is edited or its field takes the keys.
bool iPadRootViewController::tabScreenPinsColumn() const {
  auto* screen = visibleTabScreen();
  if (auto* bookmarks = dynamic_cast<BookmarksViewController*>(screen))
    return iSelectedBottomTab_ == 2 &&
           (bookmarks->IsEditing() || (bookmarks->txtSearchBar() && bookmarks->txtSearchBar()->isFirstResponder()));
  if (auto* search = dynamic_cast<SearchViewController*>(screen))
    return iSelectedBottomTab_ == 1 && search->txtSearchBar() && search->txtSearchBar()->isFirstResponder();
  return false;
}

void iPadRootViewController::refreshTabScreenTheme() {
  if (auto* bookmarks = dynamic_cast<BookmarksViewController*>(visibleTabScreen())) bookmarks->refreshTheme();
  if (auto* search = dynamic_cast<SearchViewController*>(visibleTabScreen())) search->refreshTheme();
}

// Ctrl+F: the Search tab, on the search screen, with its field taking the keys.
bool iPadRootViewController::searchKeyPressed(const ui::KeyEvent& key) {
  if (!(key.modifiers & ui::KeyModifierControl) || (key.key != "f" && key.key != "F") || !built()) return false;
  if (iSelectedBottomTab_ != 1) tabbarButtonPressed(1);
  if (dynamic_cast<SavedSearchesViewController*>(visibleTabScreen())) filterSearchViewWithSavedSearch(nullptr);
  if (auto* search = dynamic_cast<SearchViewController*>(visibleTabScreen()); search && search->txtSearchBar())
    search->txtSearchBar()->becomeFirstResponder();
  return true;
}

void iPadRootViewController::tabbarButtonDown(ui::Button* button) {
  if (button && button->tag() >= 0 && button->tag() <= 3) setTabImage(button->tag(), true);
}

void iPadRootViewController::tabbarButtonUp() {
  for (int tab = 0; tab < 4; ++tab) setTabImage(tab, false);
  setTabImage(iSelectedBottomTab_, true);
}

void iPadRootViewController::tabbarButtonPressed(int tab) {
  if (tab < 0 || tab > 3 || !built()) return;
  if (isNavigationCovered() && tab != 3) {
    showOrHideIndex();
    if (tab == iSelectedBottomTab_) return;
  }
  if (tab == iSelectedBottomTab_) {
    if (tab == 3) {
      if (!isFloatingViewExpanded_) showOrHideIndex();
      else if (!showIndexIfObscured()) refillFloatingView();
      return;
    }
    if (isFloatingViewExpanded_ && showIndexIfObscured()) return;
    auto* nav = tabNavigation();
    if (!nav) return;
    // From the groups a second press lists every bookmark, from the history it
    // opens the search screen; elsewhere it goes back one level.
    if (tab == 2 && dynamic_cast<BookmarkGroupsViewController*>(nav->visibleViewController())) {
      filterBookmarksOnGroup(0);
      return;
    }
    if (tab == 1) {
      if (auto* history = dynamic_cast<SavedSearchesViewController*>(nav->visibleViewController())) {
        history->btnSearchPressed();
        return;
      }
    }
    if (nav->viewControllers().size() > 1) nav->popViewControllerAnimated(true);
    return;
  }
  iSelectedBottomTab_ = tab;
  showIndex();
  auto& d = ns::UserDefaults::standardUserDefaults();
  d.setBool(true, "HasLastTabSelection");
  d.setInteger(tab, "LastTabSelection");
  d.synchronize();
  setSelectedController();
}

std::shared_ptr<BookmarksViewController> iPadRootViewController::makeBookmarksList() {
  auto list = std::make_shared<BookmarksViewController>();
  list->setIpaddelegate(this);
  return list;
}

std::shared_ptr<ui::ViewController> iPadRootViewController::makeTabController(int tab) {
  if (tab == 3) return viewContIndex_;
  if (tab == 2) {
    // The groups at the root, the list shown above them.
    auto nav = ui::NavigationController::withRoot(std::make_shared<BookmarkGroupsViewController>());
    nav->setNavigationBarHidden(true, false);
    nav->pushViewController(makeBookmarksList(), false);
    return nav;
  }
  if (tab == 1) {
    // The history at the root, the search screen shown above it.
    auto nav = ui::NavigationController::withRoot(std::make_shared<SavedSearchesViewController>());
    nav->setNavigationBarHidden(true, false);
    nav->pushViewController(makeSearchScreen(), false);
    return nav;
  }
  auto menu = std::make_shared<MoreViewController>();
  menu->setIpaddelegate(this);
  auto nav = ui::NavigationController::withRoot(menu);
  nav->setNavigationBarHidden(true, false);
  return nav;
}

std::shared_ptr<SearchViewController> iPadRootViewController::makeSearchScreen() {
  auto search = std::make_shared<SearchViewController>();
  search->setIpaddelegate(this);
  return search;
}

void iPadRootViewController::setSelectedController() {
  if (!built()) return;
  for (int tab = 0; tab < 4; ++tab) setTabImage(tab, false);
  if (auto previous = currenController_) {
    previous->viewWillDisappear(false);
    previous->viewDidDisappear(false);
    while (!viewIndexList->subviews().empty()) viewIndexList->subviews().back()->removeFromSuperview();
    if (previous != viewContIndex_) previous->viewDidUnload();
    currenController_.reset();
  }
  if (iSelectedBottomTab_ < 0 || iSelectedBottomTab_ > 3) return;
  currenController_ = makeTabController(iSelectedBottomTab_);
  setTabImage(iSelectedBottomTab_, true);
  if (!currenController_) return;
  auto view = currenController_->view();
  if (!view) return;
  view->setFrame(cg::Rect(0, 0, viewIndexList->frame().width(), viewIndexList->frame().height()));
  view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewIndexList->addSubview(view);
  currenController_->viewWillAppear(false);
  currenController_->viewDidAppear(false);
}

// On the Bookmarks tab a list of the group is pushed; from another tab the
// Bookmarks tab opens as it was left.
void iPadRootViewController::filterBookmarksOnGroup(int group) {
  if (iSelectedBottomTab_ == 2) {
    auto* nav = tabNavigation();
    if (!nav) return;
    auto list = makeBookmarksList();
    list->setGroupFilter(group);
    nav->pushViewController(list, true);
    return;
  }
  iSelectedBottomTab_ = 2;
  setSelectedController();
}

// On the Search tab the search screen takes the entry (a new one is pushed
// over the history); from another tab the Search tab opens as it was left.
void iPadRootViewController::filterSearchViewWithSavedSearch(std::shared_ptr<SavedSearch> search) {
  if (iSelectedBottomTab_ == 1) {
    auto* nav = tabNavigation();
    if (!nav) return;
    if (auto* screen = dynamic_cast<SearchViewController*>(nav->visibleViewController())) {
      screen->filterWithSavedSearch(std::move(search));
      return;
    }
    auto screen = makeSearchScreen();
    screen->filterWithSavedSearch(std::move(search));
    nav->pushViewController(screen, true);
    return;
  }
  iSelectedBottomTab_ = 1;
  setSelectedController();
}

void iPadRootViewController::reloadIndexView() {
  if (iSelectedBottomTab_ == 3) {
    if (viewContIndex_) viewContIndex_->reloadIndexView();
    return;
  }
  iSelectedBottomTab_ = 3;
  setSelectedController();
}

void iPadRootViewController::refreshIndexSurahRow(int row) {
  if (iSelectedBottomTab_ == 3) {
    if (viewContIndex_) viewContIndex_->reloadSurahCell(row);
    return;
  }
  iSelectedBottomTab_ = 3;
  setSelectedController();
}

void iPadRootViewController::refreshSurahViewWith(int, int) { bringIndexToView(); }

// The index's tab, with the reading view slid off its column.
bool iPadRootViewController::showIndexColumn() {
  if (!built()) return false;
  if (iSelectedBottomTab_ != 3) tabbarButtonPressed(3);
  else showIndex();
  return true;
}

void iPadRootViewController::bringIndexToView() {
  if (iSelectedBottomTab_ == 3) return;
  iSelectedBottomTab_ = 3;
  setSelectedController();
}

void iPadRootViewController::showViewAboveNavBar(std::shared_ptr<ui::View> view, int height) {
  if (!view || !built()) return;
  if (!view->superview()) viewBottomBar->addSubview(view);
  view->setAlpha(0);
  cg::Rect L = viewIndexList->frame();
  view->setFrame(cg::Rect(L.x(), std::floor((viewBottomBar->frame().height() - height) * 0.5f), L.width(), height));
  viewBottomNavBarOverlay = view;
  ui::View::beginAnimations("ShowCustomBar");
  ui::View::setAnimationDuration(0.2);
  ui::View::setAnimationCurve(ui::AnimationCurve::EaseOut);
  if (imgBottomOverlay) imgBottomOverlay->setAlpha(1);
  view->setAlpha(1);
  ui::View::commitAnimations();
}

void iPadRootViewController::hideViewAboveNavBar(ui::View* view) {
  ui::View::beginAnimations("ShowCustomBar");
  ui::View::setAnimationDuration(0.2);
  ui::View::setAnimationCurve(ui::AnimationCurve::EaseOut);
  if (imgBottomOverlay) imgBottomOverlay->setAlpha(0);
  if (view) view->setAlpha(0);
  ui::View::commitAnimations();
  viewBottomNavBarOverlay.reset();
}
