#pragma once
// The toolkit's additions to tables: the section index view, the margin of
// grouped cells, scrolling to the ends and to the row holding the first
// responder, and touching a row as a finger would. Main thread only.
#include "platform/ui/IndexPath.h"
#include "platform/ui/TableView.h"

namespace ui {

// The table's section index (the last subview of the index's class); null
// when the table shows none.
View* indexView(TableView& table);
// 10 points for a grouped table, 0 otherwise.
float tableCellMargin(const TableView& table);
void scrollToTop(TableView& table, bool animated);
// To the last row of section 0 at the bottom; nothing when that section has no rows.
void scrollToBottom(TableView& table, bool animated);
// Row 0 of section 0 at the top, without animation (the argument is not used).
void scrollToFirstRow(TableView& table, bool animated);
// The last row of the last section at the bottom, without animation (the argument is not used).
void scrollToLastRow(TableView& table, bool animated);
// The row whose cell holds the window's first responder goes to the middle.
void scrollFirstResponderIntoView(TableView& table);
// Selects the row as a touch does, telling the delegate before and after.
void touchRowAtIndexPath(TableView& table, const IndexPath& indexPath, bool animated);

}  // namespace ui
