#pragma once
// A row that hosts a live control (a switch, a text field, a text view or an
// editor) beside its caption, and a row that shows any view edge to edge.
// Main thread only.
#include <memory>

#include "toolkit/tables/TKTableViewCell.h"

class TKTableControlCell : public TKTableViewCell {
 public:
  static constexpr const char* kClassName = "TKTableControlCell";
  // The control's height, or for one without a height five lines of a text
  // view, a line and 12 points of a field, or the height it fits; at least 44.
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  // A control, a text view or an editor (the objects this cell shows bare).
  static bool isControlLike(const ui::View* view);
  // Text views and editors fill the row.
  static bool shouldSizeControlToFit(const ui::View* view);
  // Text fields take the room beside the caption less a smaller margin.
  static bool shouldRespectControlPadding(const ui::View* view);
  // Switches keep their size at the right end.
  static bool shouldConsiderControlIntrinsicSize(const ui::View* view);

  TKTableControlCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  const std::shared_ptr<ui::View>& control() const { return control_; }
  // The item when there is one, else the bare control.
  TKTableObject object() const override;
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;

 private:
  TKTableObject item_;
  std::shared_ptr<ui::View> control_;
};

class TKTableFlushViewCell : public TKTableViewCell {
 public:
  static constexpr const char* kClassName = "TKTableFlushViewCell";
  TKTableFlushViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  const std::shared_ptr<ui::View>& view() const { return view_; }
  TKTableObject object() const override;
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;

 private:
  TKTableObject item_;
  std::shared_ptr<ui::View> view_;
};
