#include "Classes/audio/SurahOptionsReciterController.h"

#include "Classes/common/OptionsTopBar.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

const cg::Color kDetailInk = cg::Color::fromRGB255(101, 100, 94);

}  // namespace

void SurahOptionsReciterController::loadView() {
  cg::Size size = contentSizeForViewInPopover();
  auto root = screens::makeOptionsRoot(size);
  screens::addOptionsTopBar(*root, size.width, this, [this] { btnBackPressed(); }, imgTopBar, lblTopTitle, btnBack);

  float legend = legendHeight();
  table = std::make_shared<ui::TableView>(
      cg::Rect(0, screens::kOptionsTopBarHeight, size.width, size.height - screens::kOptionsTopBarHeight - legend), ui::TableViewStyle::Plain);
  table->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto self = std::static_pointer_cast<SurahOptionsReciterController>(shared_from_this());
  table->setDataSource(self);
  table->setDelegate(self);
  root->addSubview(table);

  float y = size.height - legend;
  imgLegend = std::make_shared<ui::ImageView>(cg::Rect(10, y + 8, 24, 24));
  imgLegend->setAutoresizingMask(ui::ViewAutoresizingFlexibleTopMargin);
  lblLegend1 = std::make_shared<ui::Label>(cg::Rect(40, y + 6, size.width - 50, 28));
  lblLegend2 = std::make_shared<ui::Label>(cg::Rect(10, y + 36, size.width - 20, 34));
  for (auto* label : {lblLegend1.get(), lblLegend2.get()}) {
    label->setFont(ui::Font::systemFontOfSize(12));
    label->setTextColor(kDetailInk);
    label->setBackgroundColor(cg::Color::clear());
    label->setNumberOfLines(2);
    label->setAutoresizingMask(ui::ViewAutoresizingFlexibleTopMargin | ui::ViewAutoresizingFlexibleWidth);
  }
  for (auto v : std::initializer_list<std::shared_ptr<ui::View>>{imgLegend, lblLegend1, lblLegend2}) root->addSubview(v);
  setView(root);
}

void SurahOptionsReciterController::styleTopBar(const std::string& title) {
  screens::styleOptionsTopBar(*imgTopBar, *lblTopTitle, *btnBack, title, screens::localized("Back"));
}

std::shared_ptr<ui::TableViewCell> SurahOptionsReciterController::verseCell(ui::TableView* tableView) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("VerseCell");
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "VerseCell");
    cell->textLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
    if (auto detail = cell->detailTextLabel()) {
      detail->setFont(ui::Font::fontWithName("Helvetica", 15));
      detail->setTextColor(kDetailInk);
    }
  }
  return cell;
}

void SurahOptionsReciterController::moveCheckmark(ui::TableView* tableView, int section, int oldRow, int newRow) {
  if (auto old = tableView->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(oldRow, section)))
    old->setAccessoryType(ui::TableViewCellAccessoryType::None);
  if (auto cell = tableView->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(newRow, section)))
    cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
}
