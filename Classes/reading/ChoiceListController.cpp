#include "Classes/reading/ChoiceListController.h"

ChoiceListController::ChoiceListController(std::vector<Choice> choices, int chosen, std::function<void(int)> onChoice)
    : choices_(std::move(choices)), chosen_(chosen), onChoice_(std::move(onChoice)) {}

void ChoiceListController::loadView() {
  table_ = std::make_shared<ui::TableView>(cg::Rect(0, 0, 320, 417), ui::TableViewStyle::Plain);
  table_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto self = std::static_pointer_cast<ChoiceListController>(shared_from_this());
  table_->setDataSource(self);
  table_->setDelegate(self);
  setView(table_);
}

std::shared_ptr<ui::TableViewCell> ChoiceListController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                               const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("ChoiceCell");
  if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "ChoiceCell");
  const Choice& choice = choices_[size_t(indexPath.row)];
  cell->textLabel()->setText(choice.title);
  cell->textLabel()->setFont(ui::Font::boldSystemFontOfSize(15));
  cell->setAccessoryType(choice.value == chosen_ ? ui::TableViewCellAccessoryType::Checkmark
                                                 : ui::TableViewCellAccessoryType::None);
  return cell;
}

void ChoiceListController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || size_t(indexPath.row) >= choices_.size()) return;
  chosen_ = choices_[size_t(indexPath.row)].value;
  tableView->reloadData();
  if (onChoice_) onChoice_(chosen_);
}
