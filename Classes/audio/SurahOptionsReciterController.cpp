#include "Classes/audio/SurahOptionsReciterController.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

constexpr float kTopBarHeight = 44;
const cg::Color kDetailInk = cg::Color::fromRGB255(101, 100, 94);
const cg::Color kTitleInk = cg::Color::fromRGB255(92, 64, 20);

}  // namespace

void SurahOptionsReciterController::loadView() {
  cg::Size size = contentSizeForViewInPopover();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, size.width, size.height));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);

  imgTopBar = std::make_shared<ui::ImageView>(cg::Rect(0, 0, size.width, kTopBarHeight));
  imgTopBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(imgTopBar);
  lblTopTitle = std::make_shared<ui::Label>(cg::Rect(80, 7, size.width - 160, 30));
  lblTopTitle->setFont(ui::Font::boldSystemFontOfSize(18));
  lblTopTitle->setTextColor(kTitleInk);
  lblTopTitle->setTextAlignment(ui::TextAlignment::Center);
  lblTopTitle->setBackgroundColor(cg::Color::clear());
  lblTopTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(lblTopTitle);
  btnBack = std::make_shared<ui::Button>(cg::Rect(6, 7, 68, 30));
  btnBack->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
  screens::centreTitleAcrossButton(*btnBack);
  btnBack->addTarget(this, [this](ui::Control&) { btnBackPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnBack);

  float legend = legendHeight();
  table = std::make_shared<ui::TableView>(
      cg::Rect(0, kTopBarHeight, size.width, size.height - kTopBarHeight - legend), ui::TableViewStyle::Plain);
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
  lblTopTitle->setText(title);
  imgTopBar->setImage(screens::stretchedImage("sura-navbar.png", 159, 0));
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted})
    btnBack->setTitle(screens::localized("Back"), state);
  btnBack->setBackgroundImage(screens::stretchedImage("sura-button.png", 16, 0), ui::ControlStateNormal);
  btnBack->setBackgroundImage(screens::stretchedImage("sura-button-t.png", 16, 0), ui::ControlStateHighlighted);
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
