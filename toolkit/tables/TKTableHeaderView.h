#pragma once
// A plain table's section header drawn with the style sheet's "tableHeader"
// style, its title in the sheet's header colours and table font. Main thread only.
#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "toolkit/tables/TKView.h"

class TKTableHeaderView : public TKView {
 public:
  explicit TKTableHeaderView(const std::string& title);

  ui::Label* label() const { return label_.get(); }
  // The title 12 points from the left, 23 points high, as wide as the header.
  void layoutSubviews() override;

 private:
  std::shared_ptr<ui::Label> label_;
};
