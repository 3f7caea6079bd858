#pragma once
// The table cell of a bookmark line: it holds one BookmarkCellView over its
// whole bounds and passes its selection, highlight and editing on to it.
#include <memory>

#include "Classes/bookmarks/BookmarkCellView.h"
#include "platform/ui/TableViewCell.h"

class BookmarkCell : public ui::TableViewCell {
 public:
  BookmarkCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  BookmarkCellView* cellView() const { return cellView_.get(); }

  void setSelected(bool selected, bool animated) override;
  void setHighlighted(bool highlighted, bool animated) override;
  void setEditing(bool editing, bool animated) override;
  void layoutSubviews() override;

 private:
  std::shared_ptr<BookmarkCellView> cellView_;
  bool isEditing_ = false;
};
