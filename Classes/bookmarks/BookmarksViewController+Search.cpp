// The filter field and the dimming overlay: typing reloads the list with the
// text (a burst of keys ends in one load); while the field is edited the
// overlay lies over the list and a tap on it ends the editing.
#include "Classes/bookmarks/BookmarksViewController.h"
#include "platform/ui/Window.h"

void BookmarksViewController::textDidChange(ui::SearchBar& bar, const std::string&) {
  if (quietFocus_ && bar.isFirstResponder()) startEditingFilter();
  refreshViewWithRetry();
}

// The reader types into the field that was given the keys: the list makes
// room for the keyboard and dims, as when the field is chosen.
void BookmarksViewController::startEditingFilter() {
  quietFocus_ = false;
  showOpaqueView();
  if (!keyboardIsShowing && keyboardSize.height > 0) showHideKeyboard(true);
}

// The field given the keys as the list appears dims nothing until the reader types.
void BookmarksViewController::searchBarTextDidBeginEditing(ui::SearchBar&) {
  if (!quietFocus_) showOpaqueView();
  isTextFilterResults = true;
}

void BookmarksViewController::searchBarTextDidEndEditing(ui::SearchBar& bar) {
  hideOpaqueView();
  isTextFilterResults = !bar.text().empty();
  // The keys come to the list (Up, Down, Enter) unless another screen takes them.
  ui::Window* window = view()->window();
  if (viewIsVisible && window && !window->firstResponder()) takeKeys();
}

void BookmarksViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) {
  refreshViewWithRetry();
  bar.resignFirstResponder();
}

void BookmarksViewController::searchBarCancelButtonClicked(ui::SearchBar& bar) {
  isTextFilterResults = !bar.text().empty();
  bar.resignFirstResponder();
  refreshViewWithRetry();
}

void BookmarksViewController::showOpaqueView() {
  if (!viewOpaqueLayer) return;
  viewBgSearch->setBackgroundColor(cg::Color::black());
  viewBgSearch->setAlpha(0);
  ui::View::beginAnimations("Show Table");
  ui::View::setAnimationDuration(0.3);
  viewOpaqueLayer->setUserInteractionEnabled(true);
  viewOpaqueLayer->setBackgroundColor(cg::Color::black());
  viewOpaqueLayer->setAlpha(0.02f);
  viewBgSearch->setAlpha(0.05f);
  ui::View::commitAnimations();
}

void BookmarksViewController::hideOpaqueView() {
  if (!viewOpaqueLayer) return;
  ui::View::beginAnimations("Show Table");
  ui::View::setAnimationDuration(0.3);
  viewOpaqueLayer->setUserInteractionEnabled(false);
  viewOpaqueLayer->setAlpha(0);
  viewBgSearch->setAlpha(0);
  ui::View::commitAnimations();
  txtSearchBar_->resignFirstResponder();
}
