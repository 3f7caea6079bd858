#include "toolkit/tables/TKTableView.h"

#include "toolkit/styled/TKStyledNode.h"

TKTableView::TKTableView(cg::Rect frame, ui::TableViewStyle style) : ui::TableView(frame, style) {}

TKTableView::~TKTableView() = default;

void TKTableView::setHighlightedLabel(std::shared_ptr<TKStyledTextLabel> label) {
  if (label == highlightedLabel_) return;
  // The new label is held first: clearing the old one's link tells the table
  // it let go, which must not touch the new one.
  std::shared_ptr<TKStyledTextLabel> old = std::move(highlightedLabel_);
  highlightedLabel_ = std::move(label);
  if (old) old->setHighlightedNode(nullptr);
}

void TKTableView::selectRowAtIndexPath(const ui::IndexPath& indexPath, bool animated,
                                       ui::TableViewScrollPosition scrollPosition) {
  if (highlightedLabel_) return;
  ui::TableView::selectRowAtIndexPath(indexPath, animated, scrollPosition);
}

void TKTableView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  ui::TableView::touchesBegan(touches, event);
  if (highlightedLabel_ && !touches.empty()) highlightStartPoint_ = touches.front()->locationInView(this);
}

void TKTableView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  if (!highlightedLabel_) {
    ui::TableView::touchesEnded(touches, event);
    return;
  }
  // The row under the link is let go without being selected.
  ui::TableView::touchesCancelled(touches, event);
  // Opening the link may let the label and its text go (a new screen clears
  // the table's label): both stay alive to the end of the action.
  std::shared_ptr<TKStyledTextLabel> label = highlightedLabel_;
  std::shared_ptr<TKStyledText> text = label->text();
  if (TKStyledElement* node = label->highlightedNode(); node && label->highlightedNodeContainsTouch(touches))
    node->performDefaultAction();
}
