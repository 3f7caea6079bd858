#pragma once
// One row of the surah information: a caption, a value, an optional
// explanation under them and a separator line at the bottom.
#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

class SurahInfoCell : public ui::TableViewCell {
 public:
  SurahInfoCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  std::shared_ptr<ui::Label> lblLeftLabel, lblRightLabel, lblExplanation;
  std::shared_ptr<ui::View> viewBottomMarker;
};
