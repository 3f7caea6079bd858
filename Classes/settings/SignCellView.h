#pragma once
// A row of the stop-sign list: the sign's picture, its name in bold and a
// one-line explanation beside it. The row is read, never selected; it lays
// itself out from right to left in the Arabic interface. Main thread only.
#include <memory>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

class SignCellView : public ui::TableViewCell {
 public:
  SignCellView(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  std::shared_ptr<ui::Label> lblTitle, lblExplanation;
  std::shared_ptr<ui::ImageView> imgSign;
};
