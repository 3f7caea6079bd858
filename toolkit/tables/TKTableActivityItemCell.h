#pragma once
// A row with a gray spinner beside its message, across the whole row.
// Main thread only.
#include <memory>

#include "toolkit/tables/TKActivityLabel.h"
#include "toolkit/tables/TKTableViewCell.h"

class TKTableActivityItemCell : public TKTableViewCell {
 public:
  static constexpr const char* kClassName = "TKTableActivityItemCell";
  TKTableActivityItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  TKActivityLabel* activityLabel() const { return activityLabel_.get(); }
  TKTableObject object() const override { return item_; }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;

 private:
  TKTableObject item_;
  std::shared_ptr<TKActivityLabel> activityLabel_;
};
