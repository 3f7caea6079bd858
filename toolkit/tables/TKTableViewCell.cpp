#include "toolkit/tables/TKTableViewCell.h"

float TKTableViewCell::rowHeightForObject(ui::TableView&, const TKTableObject&) { return 44; }

TKTableViewCell::TKTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {}

void TKTableViewCell::prepareForReuse() {
  setObject({});
  ui::TableViewCell::prepareForReuse();
}
