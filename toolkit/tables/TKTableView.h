#pragma once
// The toolkit's table view: a table that works with the styled-text labels
// in its cells, so that a link pressed inside a cell opens the link instead
// of selecting the row. A label tells the table when one of its links is
// pressed; the table runs the link when the touch ends and refuses to select
// rows meanwhile. Main thread only.
#include <memory>

#include "platform/ui/TableView.h"
#include "toolkit/styled/TKStyledTextLabel.h"

class TKTableView : public ui::TableView, public TKStyledTextLabelHost {
 public:
  TKTableView(cg::Rect frame, ui::TableViewStyle style);
  ~TKTableView() override;

  TKStyledTextLabel* highlightedLabel() const override { return highlightedLabel_.get(); }
  // Another label (or none) clears the pressed link of the label held before.
  void setHighlightedLabel(std::shared_ptr<TKStyledTextLabel> label) override;
  // Where the touch began while a label was held (for subclasses).
  cg::Point highlightStartPoint() const { return highlightStartPoint_; }

  // Ignored while a label is held.
  void selectRowAtIndexPath(const ui::IndexPath& indexPath, bool animated,
                            ui::TableViewScrollPosition scrollPosition) override;

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  // With a label held: no row is selected, and the pressed link acts when
  // the touch ends inside it; the label keeps its highlight until the table
  // gets another label or none.
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;

 private:
  std::shared_ptr<TKStyledTextLabel> highlightedLabel_;
  cg::Point highlightStartPoint_{0, 0};
};
