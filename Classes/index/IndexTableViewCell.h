#pragma once
// A row of the index table: it holds a SurahCellView ("SurahCell") or a
// SectionCellView ("SectionCell") and keeps the row of the current surah or
// of the stored quarter selected and highlighted, so that only the index
// controller can clear it. Main thread only.
#include <memory>

#include "Classes/index/IndexViewCell.h"
#include "platform/ui/TableViewCell.h"

class IndexTableViewCell : public ui::TableViewCell {
 public:
  // row: the surah row in list mode, the absolute quarter index 0-239 in
  // sectioned mode.
  IndexTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier, int row);

  int row() const { return row_; }
  IndexViewCell* cellView() const { return cellView_.get(); }

  void setDelegate(std::weak_ptr<IndexViewCellHost> host);
  void setRow(int row, bool forceRefresh);
  void setRow(int row) { setRow(row, false); }
  void setIndexMeta(IndexRowMetaPtr meta);
  void updateSoundStatus();

  void setSelected(bool selected, bool animated) override;
  void setHighlighted(bool highlighted, bool animated) override;

 private:
  // Whether the controller keeps this row marked now.
  bool isKeptMarked() const;
  // False while the controller moves the marks itself (or without one).
  bool controllerKeepsMarks() const;

  int row_;
  std::weak_ptr<IndexViewCellHost> host_;
  std::shared_ptr<IndexViewCell> cellView_;
};
