#include "toolkit/core/TableView+TKCategory.h"

#include "platform/ui/TableViewIndex.h"
#include "platform/ui/Window.h"
#include "toolkit/core/View+TKCategory.h"

namespace ui {

View* indexView(TableView& table) {
  const auto& subviews = table.subviews();
  for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
    if (dynamic_cast<TableViewIndex*>(it->get())) return it->get();
  return nullptr;
}

float tableCellMargin(const TableView& table) { return table.style() == TableViewStyle::Grouped ? 10 : 0; }

void scrollToTop(TableView& table, bool animated) { table.setContentOffset({0, 0}, animated); }

void scrollToBottom(TableView& table, bool animated) {
  if (table.numberOfSections() < 1) return;
  int rows = table.numberOfRowsInSection(0);
  if (rows > 0) table.scrollToRowAtIndexPath({0, rows - 1}, TableViewScrollPosition::Bottom, animated);
}

void scrollToFirstRow(TableView& table, bool) {
  if (table.numberOfSections() > 0 && table.numberOfRowsInSection(0) > 0)
    table.scrollToRowAtIndexPath({0, 0}, TableViewScrollPosition::Top, false);
}

void scrollToLastRow(TableView& table, bool) {
  int sections = table.numberOfSections();
  if (sections < 1) return;
  int rows = table.numberOfRowsInSection(sections - 1);
  if (rows > 0) table.scrollToRowAtIndexPath({sections - 1, rows - 1}, TableViewScrollPosition::Bottom, false);
}

void scrollFirstResponderIntoView(TableView& table) {
  Window* window = table.window();
  auto* responder = window ? dynamic_cast<View*>(window->firstResponder()) : nullptr;
  auto* cell = responder ? ancestorOrSelfWithClass<TableViewCell>(*responder) : nullptr;
  auto indexPath = cell ? table.indexPathForCell(cell) : std::nullopt;
  if (indexPath) table.scrollToRowAtIndexPath(*indexPath, TableViewScrollPosition::Middle, true);
}

void touchRowAtIndexPath(TableView& table, const IndexPath& indexPath, bool animated) {
  if (!table.cellForRowAtIndexPath(indexPath)) table.reloadData();
  auto delegate = table.delegate().lock();
  if (delegate) delegate->willSelectRowAtIndexPath(&table, indexPath);
  table.selectRowAtIndexPath(indexPath, animated, TableViewScrollPosition::Top);
  if (delegate) delegate->didSelectRowAtIndexPath(&table, indexPath);
}

}  // namespace ui
