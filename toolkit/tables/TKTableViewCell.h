#pragma once
// The base of every item cell: it carries the row's object and states the
// row height for an object. A cell class is described by a TKTableCellClass:
// its name (the reuse identifier), how to make one and its row height rule,
// which is a class question, asked before any cell exists. Main thread only.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "toolkit/tables/TKTableObject.h"

class TKTableViewCell;

struct TKTableCellClass {
  std::string name;
  std::function<std::shared_ptr<TKTableViewCell>(ui::TableViewCellStyle, const std::string& reuseIdentifier)> make;
  std::function<float(ui::TableView& tableView, const TKTableObject& object)> rowHeightForObject;
  friend bool operator==(const TKTableCellClass& a, const TKTableCellClass& b) { return a.name == b.name; }
};

// The description of a cell class: its kClassName, its constructor from a
// style and reuse identifier, and its static rowHeightForObject.
template <class Cell>
const TKTableCellClass& TKCellClass() {
  static const TKTableCellClass cellClass{
      Cell::kClassName,
      [](ui::TableViewCellStyle style, const std::string& reuseIdentifier) -> std::shared_ptr<TKTableViewCell> {
        return std::make_shared<Cell>(style, reuseIdentifier);
      },
      [](ui::TableView& tableView, const TKTableObject& object) { return Cell::rowHeightForObject(tableView, object); }};
  return cellClass;
}

class TKTableViewCell : public ui::TableViewCell {
 public:
  static constexpr const char* kClassName = "TKTableViewCell";
  // 44 points whatever the object.
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // Nothing is kept in the base; every item cell keeps its object.
  virtual TKTableObject object() const { return {}; }
  virtual void setObject(const TKTableObject& object) { (void)object; }

  // Lets the object go before the cell is handed out again.
  void prepareForReuse() override;
};
