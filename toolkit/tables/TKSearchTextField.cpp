#include "toolkit/tables/TKSearchTextField.h"

#include <algorithm>

#include "platform/foundation/String.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/View+TKCategory.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewDataSource.h"
#include "toolkit/tables/TKView.h"

// --- the internal object ------------------------------------------------------------

bool TKSearchTextFieldInternal::textFieldShouldBeginEditing(ui::TextField& field) {
  auto d = delegate();
  return !d || d->textFieldShouldBeginEditing(field);
}

void TKSearchTextFieldInternal::textFieldDidBeginEditing(ui::TextField& field) {
  if (auto d = delegate()) d->textFieldDidBeginEditing(field);
}

bool TKSearchTextFieldInternal::textFieldShouldEndEditing(ui::TextField& field) {
  auto d = delegate();
  return !d || d->textFieldShouldEndEditing(field);
}

void TKSearchTextFieldInternal::textFieldDidEndEditing(ui::TextField& field) {
  if (auto d = delegate()) d->textFieldDidEndEditing(field);
}

bool TKSearchTextFieldInternal::shouldChangeCharactersInRange(ui::TextField& field, ns::Range range,
                                                              const std::string& text) {
  textField_->shouldUpdate(text.empty());
  auto d = delegate();
  return !d || d->shouldChangeCharactersInRange(field, range, text);
}

bool TKSearchTextFieldInternal::textFieldShouldClear(ui::TextField& field) {
  textField_->shouldUpdate(true);
  auto d = delegate();
  return !d || d->textFieldShouldClear(field);
}

bool TKSearchTextFieldInternal::textFieldShouldReturn(ui::TextField& field) {
  auto d = delegate();
  if (d && !d->textFieldShouldReturn(field)) return false;
  if (textField_->searchesAutomatically()) textField_->doneAction();
  else textField_->search();
  return true;
}

// --- the field ------------------------------------------------------------------------

TKSearchTextField::TKSearchTextField(cg::Rect frame) : ui::TextField(frame) {
  internal_ = std::make_shared<TKSearchTextFieldInternal>(this);
  setAutocorrectionType(ui::TextAutocorrectionType::No);
  setContentVerticalAlignment(ui::ControlContentVerticalAlignment::Center);
  setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
  setSearchesAutomatically(true);
  addTarget(this, [this](ui::Control&) { didBeginEditing(); }, ui::ControlEventEditingDidBegin);
  addTarget(this, [this](ui::Control&) { didEndEditing(); }, ui::ControlEventEditingDidEnd);
  ui::TextField::setDelegate(internal_);
}

TKSearchTextField::~TKSearchTextField() {
  searchTimer_.invalidate();
  if (dataSource_) dataSource_->model()->removeDelegate(this);
  if (tableView_) {
    tableView_->setDelegate({});
    tableView_->setDataSource({});
  }
}

std::weak_ptr<ui::TableViewDelegate> TKSearchTextField::asTableDelegate() {
  return std::shared_ptr<ui::TableViewDelegate>(shared_from_this(), static_cast<ui::TableViewDelegate*>(this));
}

void TKSearchTextField::setDataSource(std::shared_ptr<TKTableViewDataSource> dataSource) {
  if (dataSource == dataSource_) return;
  if (dataSource_) dataSource_->model()->removeDelegate(this);
  dataSource_ = std::move(dataSource);
  if (dataSource_) dataSource_->model()->addDelegate(this);
  // A table already made must not keep showing a data source that is gone.
  if (tableView_) {
    tableView_->setDataSource(dataSource_);
    tableView_->reloadData();
  }
}

void TKSearchTextField::setSearchesAutomatically(bool automatically) {
  searchesAutomatically_ = automatically;
  setReturnKeyType(automatically ? ui::ReturnKeyType::Done : ui::ReturnKeyType::Search);
  setEnablesReturnKeyAutomatically(!automatically);
}

void TKSearchTextField::setText(const std::string& text) {
  ui::TextField::setText(text);
  autoSearch();
}

std::string TKSearchTextField::searchText() const {
  return ns::trimCharacters(text(), [](char32_t c) { return ns::isWhitespace(c); });
}

void TKSearchTextField::search() {
  if (dataSource_) dataSource_->search(searchText());
}

void TKSearchTextField::autoSearch() {
  if (searchesAutomatically_ || !hasText()) search();
}

bool TKSearchTextField::shouldUpdate(bool) {
  delayedUpdate();
  return true;
}

// The search runs on the next turn of the run loop, once the field has taken
// the change; several changes within one turn search once.
void TKSearchTextField::delayedUpdate() {
  searchTimer_.invalidate();
  std::weak_ptr<ui::View> weak = weak_from_this();
  searchTimer_ = ns::RunLoop::main().scheduleTimer(0.0, false, [weak, this] {
    if (weak.expired()) return;
    searchTimer_ = ns::Timer();
    autoSearch();
  });
}

// --- the results ---------------------------------------------------------------------

TKTableView* TKSearchTextField::tableView() {
  if (!tableView_) {
    auto sheet = TKStyleSheet::globalStyleSheet();
    tableView_ = std::make_shared<TKTableView>(cg::Rect(), ui::TableViewStyle::Plain);
    tableView_->setBackgroundColor(sheet->searchTableBackgroundColor());
    tableView_->setSeparatorColor(sheet->searchTableSeparatorColor());
    tableView_->setRowHeight(rowHeight_);
    tableView_->setDataSource(dataSource_);
    tableView_->setDelegate(asTableDelegate());
    tableView_->setScrollsToTop(false);
  }
  return tableView_.get();
}

bool TKSearchTextField::hasSearchResults() {
  if (!dataSource_) return false;
  auto* table = tableView();
  if (dataSource_->numberOfSectionsInTableView(table) == 0) return false;
  return dataSource_->numberOfRowsInSection(table, 0) > 0;
}

void TKSearchTextField::reloadTable() {
  if (!dataSource_) return;
  dataSource_->tableViewDidLoadModel(tableView());
  if (hasSearchResults()) {
    layoutIfNeeded();
    showSearchResults(true);
    tableView_->reloadData();
  } else {
    showSearchResults(false);
  }
}

ui::View* TKSearchTextField::superviewForSearchResults() {
  if (auto* scroll = ui::ancestorOrSelfWithClass<ui::ScrollView>(*this)) return scroll;
  for (ui::View* v = superview(); v; v = v->superview())
    if (v->frame().height() > 150) return v;
  return superview();
}

cg::Rect TKSearchTextField::rectForSearchResults(bool withKeyboard) {
  ui::View* results = superviewForSearchResults();
  float y = 0;
  for (ui::View* v = this; v && v != results; v = v->superview()) y += v->frame().y();
  float windowHeight = window() ? window()->frame().height() : ui::screenY(*this) + frame().height();
  // The keyboard as it last said its height; the portrait one before it has.
  float keyboard = TKKeyboardHeightForOrientation();
  if (keyboard <= 0) keyboard = kDefaultKeyboardHeight;
  float height = windowHeight - (ui::screenY(*this) + frame().height() + (withKeyboard ? keyboard : 0)) + 1;
  return cg::Rect(0, y + frame().height() - 1, results ? results->frame().width() : 0, height);
}

void TKSearchTextField::showSearchResults(bool show) {
  if (!show || !dataSource_) {
    if (tableView_) tableView_->removeFromSuperview();
    if (shadowView_) shadowView_->removeFromSuperview();
    return;
  }
  auto* table = tableView();
  if (!shadowView_) {
    shadowView_ = std::make_shared<TKView>();
    shadowView_->setStyle(TKStyleSheet::globalStyleSheet()->styleWithSelector("searchTableShadow"));
    shadowView_->setBackgroundColor(cg::Color::clear());
    shadowView_->setOpaque(false);
    shadowView_->setUserInteractionEnabled(false);
  }
  if (!table->superview()) {
    table->setFrame(rectForSearchResults(true));
    cg::Rect f = table->frame();
    shadowView_->setFrame(cg::Rect(f.x(), f.y() - 1, f.width(), kShadowHeight));
    if (ui::View* results = superviewForSearchResults()) {
      results->addSubview(tableView_);
      if (table->separatorStyle() != ui::TableViewCellSeparatorStyle::None) results->addSubview(shadowView_);
    }
  }
  if (auto selected = table->indexPathForSelectedRow()) table->deselectRowAtIndexPath(*selected, false);
}

void TKSearchTextField::modelDidStartLoad(TKModel&) {
  if (!searchesAutomatically_) reloadTable();
}
void TKSearchTextField::modelDidFinishLoad(TKModel&) { reloadTable(); }
void TKSearchTextField::modelDidFailLoadWithError(TKModel&, const ns::Error&) { reloadTable(); }
void TKSearchTextField::modelDidChange(TKModel&) { reloadTable(); }

float TKSearchTextField::heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (rowHeight_ != 0 || !dataSource_) return rowHeight_;
  TKTableObject object = dataSource_->objectForRowAtIndexPath(tableView, indexPath);
  return dataSource_->cellClassForObject(tableView, object).rowHeightForObject(*tableView, object);
}

void TKSearchTextField::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  auto chooser = std::dynamic_pointer_cast<TKSearchTextFieldDelegate>(delegate());
  if (!chooser || !dataSource_) return;
  TKTableObject object = dataSource_->objectForRowAtIndexPath(tableView, indexPath);
  auto cell = tableView->cellForRowAtIndexPath(indexPath);
  if (cell && cell->selectionStyle() != ui::TableViewCellSelectionStyle::None)
    chooser->textFieldDidSelectObject(*this, object);
}

// --- editing ---------------------------------------------------------------------------

void TKSearchTextField::didBeginEditing() {
  if (!dataSource_) return;
  if (auto* scroll = ui::ancestorOrSelfWithClass<ui::ScrollView>(*this)) {
    scroll->setScrollEnabled(false);
    scroll->setScrollsToTop(false);
  }
  if (showsDoneButton_) showDoneButton(true);
  if (showsDarkScreen_) showDarkScreen(true);
  if (hasText() && hasSearchResults()) showSearchResults(true);
}

void TKSearchTextField::didEndEditing() {
  if (!dataSource_) return;
  if (auto* scroll = ui::ancestorOrSelfWithClass<ui::ScrollView>(*this)) {
    scroll->setScrollEnabled(true);
    scroll->setScrollsToTop(true);
  }
  showSearchResults(false);
  if (showsDoneButton_) showDoneButton(false);
  if (showsDarkScreen_) showDarkScreen(false);
}

void TKSearchTextField::showDoneButton(bool show) {
  ui::ViewController* controller = TKNavigator::navigator().visibleViewController();
  if (!controller) return;
  if (show) {
    previousNavigationItem_ = controller->navigationItem();
    previousRightBarButtonItem_ = previousNavigationItem_->rightBarButtonItem();
    std::weak_ptr<ui::View> weak = weak_from_this();
    auto done = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [weak, this](ui::BarButtonItem&) {
      if (!weak.expired()) doneAction();
    });
    previousNavigationItem_->setRightBarButtonItem(done, true);
  } else if (previousNavigationItem_) {
    previousNavigationItem_->setRightBarButtonItem(previousRightBarButtonItem_, true);
    previousNavigationItem_.reset();
    previousRightBarButtonItem_.reset();
  }
}

void TKSearchTextField::showDarkScreen(bool show) {
  ui::View* results = superviewForSearchResults();
  if (show) {
    if (!screenView_) {
      screenView_ = std::make_shared<ui::Button>();
      screenView_->setBackgroundColor(TKStyleSheet::globalStyleSheet()->screenBackgroundColor());
      screenView_->setFrame(rectForSearchResults(false));
      screenView_->setAlpha(0);
      std::weak_ptr<ui::View> weak = weak_from_this();
      screenView_->addTarget(this, [weak, this](ui::Control&) {
        if (!weak.expired()) doneAction();
      }, ui::ControlEventTouchUpInside);
    }
    if (results) results->addSubview(screenView_);
  }
  if (!screenView_) return;
  std::shared_ptr<ui::Button> screen = screenView_;
  ui::View::beginAnimations("TKSearchTextFieldScreen");
  ui::View::setAnimationDuration(kScreenAnimationDuration);
  ui::View::setAnimationDidStopSelector([screen](const std::string&, bool, void*) {
    if (screen->alpha() == 0) screen->removeFromSuperview();
  });
  screen->setAlpha(show ? 1 : 0);
  ui::View::commitAnimations();
}

void TKSearchTextField::doneAction() {
  resignFirstResponder();
  if (dataSource_) setText("");
}
