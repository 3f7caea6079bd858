#pragma once
// Rows of styled (marked-up) text: one for a styled-text item, with its
// padding and margin and the accessory of its URL, and one for a bare styled
// text laid out across the row. Links in them open through the table.
// Main thread only.
#include <memory>

#include "toolkit/styled/TKStyledTextLabel.h"
#include "toolkit/tables/TKTableItemCell.h"

class TKStyledTextTableItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKStyledTextTableItemCell";
  // The text laid out at the row's width less margins, padding and, with a
  // URL, the accessory's 23 points; plus the vertical padding.
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKStyledTextTableItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  TKStyledTextLabel* label() const { return label_.get(); }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
  void didMoveToSuperview() override;

 private:
  std::shared_ptr<TKStyledTextLabel> label_;
};

class TKStyledTextTableCell : public TKTableViewCell {
 public:
  static constexpr const char* kClassName = "TKStyledTextTableCell";
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKStyledTextTableCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  TKStyledTextLabel* label() const { return label_.get(); }
  TKTableObject object() const override;
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
  void didMoveToSuperview() override;

 private:
  std::shared_ptr<TKStyledTextLabel> label_;
};
