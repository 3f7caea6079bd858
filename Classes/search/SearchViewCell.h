#pragma once
// The table cell of a search-result row: it holds one SearchCellView and
// passes its selection and highlight on to it.
#include <memory>

#include "Classes/search/SearchCellView.h"
#include "platform/ui/TableViewCell.h"

class SearchViewCell : public ui::TableViewCell {
 public:
  SearchViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  SearchCellView* cellView() const { return cellView_.get(); }

  void setSelected(bool selected, bool animated) override;
  void setHighlighted(bool highlighted, bool animated) override;

 private:
  std::shared_ptr<SearchCellView> cellView_;
};
