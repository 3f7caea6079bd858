#include "toolkit/tables/TKTableViewDataSource.h"

#include <algorithm>

#include "platform/foundation/String.h"
#include "platform/ui/Control.h"
#include "platform/ui/TextView.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/tables/TKTableActivityItemCell.h"
#include "toolkit/tables/TKTableControlCell.h"
#include "toolkit/tables/TKTableImageItemCell.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableItemCell.h"
#include "toolkit/tables/TKStyledTextTableCell.h"

// --- the base ------------------------------------------------------------------------

int TKTableViewDataSource::numberOfRowsInSection(ui::TableView*, int) { return 0; }

std::shared_ptr<ui::TableViewCell> TKTableViewDataSource::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                const ui::IndexPath& indexPath) {
  TKTableObject object = objectForRowAtIndexPath(tableView, indexPath);
  const TKTableCellClass& cellClass = cellClassForObject(tableView, object);
  std::shared_ptr<ui::TableViewCell> cell =
      tableView ? tableView->dequeueReusableCellWithIdentifier(cellClass.name) : nullptr;
  if (!cell) cell = cellClass.make(ui::TableViewCellStyle::Default, cellClass.name);
  if (auto* tkCell = dynamic_cast<TKTableViewCell*>(cell.get())) tkCell->setObject(object);
  cellWillAppearAtIndexPath(tableView, *cell, indexPath);
  return cell;
}

std::vector<std::string> TKTableViewDataSource::sectionIndexTitlesForTableView(ui::TableView*) { return {}; }

int TKTableViewDataSource::sectionForSectionIndexTitle(ui::TableView* tableView, const std::string& title,
                                                       int index) {
  if (!tableView) return index;
  if (auto header = tableView->tableHeaderView(); header && index == 0) {
    tableView->scrollRectToVisible(header->frame(), false);
    return -1;
  }
  auto source = tableView->dataSource().lock();
  int sections = source ? source->numberOfSectionsInTableView(tableView) : 0;
  std::string letter = ns::substring16(title, 0, 1);
  if (!letter.empty() && source) {
    for (int i = 0; i < sections; ++i) {
      std::string sectionTitle = source->titleForHeaderInSection(tableView, i);
      if (!sectionTitle.empty() && ns::hasPrefix(sectionTitle, letter)) return i;
    }
  }
  return std::min(index, sections - 1);
}

TKTableObject TKTableViewDataSource::objectForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) { return {}; }

const TKTableCellClass& TKTableViewDataSource::cellClassForObject(ui::TableView*, const TKTableObject& object) {
  if (object.as<TKTableItem>()) {
    if (object.as<TKTableMoreButton>()) return TKCellClass<TKTableMoreButtonCell>();
    if (object.as<TKTableSubtextItem>()) return TKCellClass<TKTableSubtextItemCell>();
    if (object.as<TKTableRightCaptionItem>()) return TKCellClass<TKTableRightCaptionItemCell>();
    if (object.as<TKTableCaptionItem>()) return TKCellClass<TKTableCaptionItemCell>();
    if (object.as<TKTableSubtitleItem>()) return TKCellClass<TKTableSubtitleItemCell>();
    if (object.as<TKTableMessageItem>()) return TKCellClass<TKTableMessageItemCell>();
    if (object.as<TKTableImageItem>()) return TKCellClass<TKTableImageItemCell>();
    if (object.as<TKTableStyledTextItem>()) return TKCellClass<TKStyledTextTableItemCell>();
    if (object.as<TKTableActivityItem>()) return TKCellClass<TKTableActivityItemCell>();
    if (object.as<TKTableControlItem>()) return TKCellClass<TKTableControlCell>();
    // A view item is shown edge to edge; the other items without a text show
    // an empty text cell.
    if (object.as<TKTableViewItem>()) return TKCellClass<TKTableFlushViewCell>();
    return TKCellClass<TKTableTextItemCell>();
  }
  if (object.styledText()) return TKCellClass<TKStyledTextTableCell>();
  if (TKTableControlCell::isControlLike(object.view().get())) return TKCellClass<TKTableControlCell>();
  if (object.view()) return TKCellClass<TKTableFlushViewCell>();
  return TKCellClass<TKTableViewCell>();
}

std::string TKTableViewDataSource::labelForObject(ui::TableView*, const TKTableObject& object) {
  if (auto* item = object.as<TKTableTextItem>()) return item->text();
  return object.description();
}

std::optional<ui::IndexPath> TKTableViewDataSource::indexPathForObject(ui::TableView*, const TKTableObject&) {
  return std::nullopt;
}

void TKTableViewDataSource::cellWillAppearAtIndexPath(ui::TableView*, ui::TableViewCell&, const ui::IndexPath&) {}
void TKTableViewDataSource::tableViewDidLoadModel(ui::TableView*) {}
void TKTableViewDataSource::search(const std::string&) {}

std::string TKTableViewDataSource::titleForLoading(bool reloading) {
  return TKLibraryLocalizedString(reloading ? "Updating..." : "Loading...");
}

std::shared_ptr<ui::Image> TKTableViewDataSource::imageForEmpty() { return imageForError(nullptr); }
std::string TKTableViewDataSource::titleForEmpty() { return ""; }
std::string TKTableViewDataSource::subtitleForEmpty() { return ""; }
std::shared_ptr<ui::Image> TKTableViewDataSource::imageForError(const ns::Error*) { return nullptr; }

std::string TKTableViewDataSource::titleForError(const ns::Error* error) {
  return TKErrorDisplayText(error ? *error : ns::Error{});
}

std::string TKTableViewDataSource::subtitleForError(const ns::Error*) {
  return TKLibraryLocalizedString("Sorry, there was an error.");
}

std::vector<int> TKTableViewDataSource::willUpdateObject(ui::TableView*, const ns::Value&, const ns::Value&) {
  return {};
}
std::vector<int> TKTableViewDataSource::willInsertObject(ui::TableView*, const ns::Value&, const ns::Value&) {
  return {};
}
std::vector<int> TKTableViewDataSource::willRemoveObject(ui::TableView*, const ns::Value&, const ns::Value&) {
  return {};
}

std::shared_ptr<TKModel> TKTableViewDataSource::model() {
  if (model_) return model_;
  return shared_from_this();
}

std::vector<std::string> TKTableViewDataSource::lettersForSectionsWithSearch(bool search, bool summary) {
  std::vector<std::string> titles;
  if (search) titles.push_back(ui::TableViewIndexSearch);
  for (char c = 'A'; c <= 'Z'; ++c) titles.push_back(std::string(1, c));
  if (summary) titles.push_back("#");
  return titles;
}

std::shared_ptr<TKModel> TKTableViewInterstialDataSource::model() { return shared_from_this(); }

// --- the list -----------------------------------------------------------------------

std::shared_ptr<TKListDataSource> TKListDataSource::dataSourceWithObjects(std::vector<TKTableObject> objects) {
  return std::make_shared<TKListDataSource>(std::move(objects));
}

std::shared_ptr<TKListDataSource> TKListDataSource::dataSourceWithItems(std::vector<TKTableObject> items) {
  return std::make_shared<TKListDataSource>(std::move(items));
}

int TKListDataSource::numberOfRowsInSection(ui::TableView*, int) { return int(items_.size()); }

TKTableObject TKListDataSource::objectForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || size_t(indexPath.row) >= items_.size()) return {};
  return items_[size_t(indexPath.row)];
}

std::optional<ui::IndexPath> TKListDataSource::indexPathForObject(ui::TableView*, const TKTableObject& object) {
  auto it = std::find(items_.begin(), items_.end(), object);
  if (it == items_.end()) return std::nullopt;
  return ui::IndexPath{0, int(it - items_.begin())};
}

namespace {

bool hasUserInfo(const TKTableObject& object, const std::shared_ptr<void>& userInfo) {
  auto* item = object.as<TKTableItem>();
  return item && item->userInfo() && item->userInfo() == userInfo;
}

}  // namespace

std::optional<ui::IndexPath> TKListDataSource::indexPathOfItemWithUserInfo(const std::shared_ptr<void>& userInfo) {
  for (size_t i = 0; i < items_.size(); ++i)
    if (hasUserInfo(items_[i], userInfo)) return ui::IndexPath{0, int(i)};
  return std::nullopt;
}

// --- sections -------------------------------------------------------------------------

std::shared_ptr<TKSectionedDataSource> TKSectionedDataSource::dataSourceWithObjects(
    std::vector<TKTableObject> objects) {
  auto source = std::make_shared<TKSectionedDataSource>();
  source->sections_.emplace();
  for (auto& object : objects) {
    if (object.isString()) {
      source->sections_->push_back(object.string());
      source->items_.emplace_back();
    } else if (!source->items_.empty()) {
      source->items_.back().push_back(std::move(object));
    }
  }
  return source;
}

std::shared_ptr<TKSectionedDataSource> TKSectionedDataSource::dataSourceWithArrays(
    std::vector<SectionArgument> arguments) {
  auto source = std::make_shared<TKSectionedDataSource>();
  source->sections_.emplace();
  for (auto& argument : arguments) {
    if (auto* title = std::get_if<std::string>(&argument)) source->sections_->push_back(*title);
    else source->items_.push_back(std::get<std::vector<TKTableObject>>(std::move(argument)));
  }
  return source;
}

std::shared_ptr<TKSectionedDataSource> TKSectionedDataSource::dataSourceWithItems(
    std::vector<std::vector<TKTableObject>> items, std::vector<std::string> sections) {
  return std::make_shared<TKSectionedDataSource>(std::move(items), std::move(sections));
}

const std::vector<TKTableObject>* TKSectionedDataSource::rowsOf(int section) const {
  if (!sections_) return items_.empty() ? nullptr : &items_.front();
  if (section < 0 || size_t(section) >= items_.size()) return nullptr;
  return &items_[size_t(section)];
}

int TKSectionedDataSource::numberOfSectionsInTableView(ui::TableView*) {
  return sections_ ? int(sections_->size()) : 1;
}

int TKSectionedDataSource::numberOfRowsInSection(ui::TableView*, int section) {
  const auto* rows = rowsOf(section);
  return rows ? int(rows->size()) : 0;
}

std::string TKSectionedDataSource::titleForHeaderInSection(ui::TableView*, int section) {
  if (!hasTitles() || section < 0 || size_t(section) >= sections_->size()) return "";
  return (*sections_)[size_t(section)];
}

TKTableObject TKSectionedDataSource::objectForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  const auto* rows = rowsOf(indexPath.section);
  if (!rows || indexPath.row < 0 || size_t(indexPath.row) >= rows->size()) return {};
  return (*rows)[size_t(indexPath.row)];
}

std::optional<ui::IndexPath> TKSectionedDataSource::indexPathForObject(ui::TableView*, const TKTableObject& object) {
  size_t count = sections_ ? items_.size() : std::min<size_t>(items_.size(), 1);
  for (size_t s = 0; s < count; ++s) {
    auto it = std::find(items_[s].begin(), items_[s].end(), object);
    if (it != items_[s].end()) return ui::IndexPath{int(s), int(it - items_[s].begin())};
  }
  return std::nullopt;
}

std::vector<std::string> TKSectionedDataSource::lettersForSectionsWithSearch(bool search, bool withCount) const {
  std::vector<std::string> titles;
  if (!sections_) return titles;
  if (search) titles.push_back(ui::TableViewIndexSearch);
  for (const auto& title : *sections_)
    if (!title.empty()) titles.push_back(ns::substring16(title, 0, 1));
  if (withCount) titles.push_back("#");
  return titles;
}

std::optional<ui::IndexPath> TKSectionedDataSource::indexPathOfItemWithUserInfo(
    const std::shared_ptr<void>& userInfo) {
  size_t count = hasTitles() ? items_.size() : std::min<size_t>(items_.size(), 1);
  for (size_t s = 0; s < count; ++s)
    for (size_t r = 0; r < items_[s].size(); ++r)
      if (hasUserInfo(items_[s][r], userInfo)) return ui::IndexPath{int(s), int(r)};
  return std::nullopt;
}

bool TKSectionedDataSource::removeItemAtIndexPath(const ui::IndexPath& indexPath, bool) {
  // An emptied section goes whatever the flag says: a titled section with no
  // rows has nothing to head.
  size_t s = size_t(indexPath.section), r = size_t(indexPath.row);
  if (hasTitles()) {
    if (indexPath.section < 0 || s >= items_.size() || indexPath.row < 0 || r >= items_[s].size()) return false;
    items_[s].erase(items_[s].begin() + long(r));
    if (!items_[s].empty()) return false;
    if (s < sections_->size()) sections_->erase(sections_->begin() + long(s));
    items_.erase(items_.begin() + long(s));
    return true;
  }
  if (indexPath.section == 0 && !items_.empty() && indexPath.row >= 0 && r < items_[0].size())
    items_[0].erase(items_[0].begin() + long(r));
  return false;
}
