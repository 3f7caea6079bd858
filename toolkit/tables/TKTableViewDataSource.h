#pragma once
// Table data sources answer a table's data questions for the table screen
// and its delegates: how many sections and rows, which object sits at a
// row, which cell class shows that object, and which texts the screen shows
// while the data loads, is empty or failed. A data source is also the screen's
// model (a loaded one that never loads) unless it is given a model of its own.
// The list data source holds one array of objects; the sectioned one titled
// sections; the interstitial one stands in, loading, until a real one exists.
// Lookups outside the arrays answer nothing. Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"
#include "platform/ui/TableView.h"
#include "toolkit/core/TKModel.h"
#include "toolkit/tables/TKTableObject.h"
#include "toolkit/tables/TKTableViewCell.h"

namespace ui {
class Image;
}

class TKTableViewDataSource : public ui::TableViewDataSource,
                              public TKModel,
                              public std::enable_shared_from_this<TKTableViewDataSource> {
 public:
  // The table's questions.
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  // A reused (or new) cell of the object's class, given the object; never none.
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::vector<std::string> sectionIndexTitlesForTableView(ui::TableView* tableView) override;
  // The index jump: the first entry scrolls to the table's header view (no
  // section), a letter goes to the first section whose title begins with it,
  // else the entry's own index (at most the last section).
  int sectionForSectionIndexTitle(ui::TableView* tableView, const std::string& title, int index) override;

  // The object at the row; nothing for a row that is not there.
  virtual TKTableObject objectForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath);
  // The cell class by the object's class, the most special first.
  virtual const TKTableCellClass& cellClassForObject(ui::TableView* tableView, const TKTableObject& object);
  // A text item's text, else the object's description.
  virtual std::string labelForObject(ui::TableView* tableView, const TKTableObject& object);
  virtual std::optional<ui::IndexPath> indexPathForObject(ui::TableView* tableView, const TKTableObject& object);
  // Hooks for subclasses.
  virtual void cellWillAppearAtIndexPath(ui::TableView* tableView, ui::TableViewCell& cell,
                                         const ui::IndexPath& indexPath);
  virtual void tableViewDidLoadModel(ui::TableView* tableView);
  virtual void search(const std::string& text);

  // Texts of the loading, empty and error states ("" for none).
  virtual std::string titleForLoading(bool reloading);
  virtual std::shared_ptr<ui::Image> imageForEmpty();
  virtual std::string titleForEmpty();
  virtual std::string subtitleForEmpty();
  virtual std::shared_ptr<ui::Image> imageForError(const ns::Error* error);
  virtual std::string titleForError(const ns::Error* error);
  virtual std::string subtitleForError(const ns::Error* error);

  // Optional questions of a model change: the index path (one number names a
  // section, two a row) the table changes, or an empty one to reload it all.
  // Only asked when the answers* function says the data source answers.
  virtual bool answersWillUpdateObject() const { return false; }
  virtual std::vector<int> willUpdateObject(ui::TableView* tableView, const ns::Value& object,
                                            const ns::Value& indexPath);
  virtual bool answersWillInsertObject() const { return false; }
  virtual std::vector<int> willInsertObject(ui::TableView* tableView, const ns::Value& object,
                                            const ns::Value& indexPath);
  virtual bool answersWillRemoveObject() const { return false; }
  virtual std::vector<int> willRemoveObject(ui::TableView* tableView, const ns::Value& object,
                                            const ns::Value& indexPath);

  // The model: the one given, else the data source itself (which must then be
  // held by a shared pointer).
  virtual std::shared_ptr<TKModel> model();
  virtual void setModel(std::shared_ptr<TKModel> model) { model_ = std::move(model); }

  // The index entries: the search entry first when asked, "A" to "Z", then
  // "#" when asked.
  static std::vector<std::string> lettersForSectionsWithSearch(bool search, bool summary);

 private:
  std::shared_ptr<TKModel> model_;
};

// Stands in until a real data source exists: a model that is loading.
class TKTableViewInterstialDataSource : public TKTableViewDataSource {
 public:
  std::shared_ptr<TKModel> model() override;
  bool isLoaded() const override { return false; }
  bool isLoading() const override { return true; }
};

class TKListDataSource : public TKTableViewDataSource {
 public:
  static std::shared_ptr<TKListDataSource> dataSourceWithObjects(std::vector<TKTableObject> objects);
  static std::shared_ptr<TKListDataSource> dataSourceWithItems(std::vector<TKTableObject> items);
  TKListDataSource() = default;
  explicit TKListDataSource(std::vector<TKTableObject> items) : items_(std::move(items)) {}

  std::vector<TKTableObject>& items() { return items_; }
  void setItems(std::vector<TKTableObject> items) { items_ = std::move(items); }

  // One section, whatever section is asked.
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  TKTableObject objectForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> indexPathForObject(ui::TableView* tableView, const TKTableObject& object) override;
  // The first item whose user info is the very object given.
  std::optional<ui::IndexPath> indexPathOfItemWithUserInfo(const std::shared_ptr<void>& userInfo);

 private:
  std::vector<TKTableObject> items_;
};

class TKSectionedDataSource : public TKTableViewDataSource {
 public:
  // A string object starts a section titled by it; the objects after it are
  // its rows. Objects before the first string are dropped.
  static std::shared_ptr<TKSectionedDataSource> dataSourceWithObjects(std::vector<TKTableObject> objects);
  // Titles and arrays of rows, each kept in argument order.
  using SectionArgument = std::variant<std::string, std::vector<TKTableObject>>;
  static std::shared_ptr<TKSectionedDataSource> dataSourceWithArrays(std::vector<SectionArgument> arguments);
  static std::shared_ptr<TKSectionedDataSource> dataSourceWithItems(std::vector<std::vector<TKTableObject>> items,
                                                                    std::vector<std::string> sections);

  TKSectionedDataSource() = default;
  TKSectionedDataSource(std::vector<std::vector<TKTableObject>> items, std::vector<std::string> sections)
      : items_(std::move(items)), sections_(std::move(sections)) {}
  // Untitled: one section of these rows.
  explicit TKSectionedDataSource(std::vector<TKTableObject> rows) : items_{std::move(rows)} {}

  // With titles, items()[i] holds the rows of the section titled sections()[i];
  // untitled, items() holds one array of rows.
  std::vector<std::vector<TKTableObject>>& items() { return items_; }
  void setItems(std::vector<std::vector<TKTableObject>> items) { items_ = std::move(items); }
  const std::optional<std::vector<std::string>>& sections() const { return sections_; }
  void setSections(std::optional<std::vector<std::string>> sections) { sections_ = std::move(sections); }

  int numberOfSectionsInTableView(ui::TableView* tableView) override;
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  std::string titleForHeaderInSection(ui::TableView* tableView, int section) override;
  TKTableObject objectForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> indexPathForObject(ui::TableView* tableView, const TKTableObject& object) override;
  // The search entry when asked, the first letter of every non-empty title
  // (repeats kept), "#" when asked; nothing without titles.
  std::vector<std::string> lettersForSectionsWithSearch(bool search, bool withCount) const;
  std::optional<ui::IndexPath> indexPathOfItemWithUserInfo(const std::shared_ptr<void>& userInfo);

  // Removes the row; a titled section left without rows goes too, and then
  // the answer is true. The caller tells the table.
  bool removeItemAtIndexPath(const ui::IndexPath& indexPath) { return removeItemAtIndexPath(indexPath, false); }
  bool removeItemAtIndexPath(const ui::IndexPath& indexPath, bool andSectionIfEmpty);

 private:
  bool hasTitles() const { return sections_ && !sections_->empty(); }
  const std::vector<TKTableObject>* rowsOf(int section) const;

  std::vector<std::vector<TKTableObject>> items_;
  std::optional<std::vector<std::string>> sections_;
};
