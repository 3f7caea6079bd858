#pragma once
// A row with a thumbnail at the left or the right of its text. The row's
// height leaves room for the image the URL cache holds, the item's default
// image, or a 50-point placeholder for an image still to come. Main thread only.
#include <memory>

#include "toolkit/tables/TKImageView.h"
#include "toolkit/tables/TKTableItemCell.h"

class TKTableImageItemCell : public TKTableTextItemCell {
 public:
  static constexpr const char* kClassName = "TKTableImageItemCell";
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableImageItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  TKImageView* imageView2() const { return imageView2_.get(); }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
  void didMoveToSuperview() override;

 private:
  std::shared_ptr<TKImageView> imageView2_;
};
