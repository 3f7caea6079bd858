#include "Classes/settings/InfoColumnController.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

namespace {

constexpr float kColumnWidth = 288;
const cg::Color kHeadingColour = cg::Color::fromRGB255(62, 74, 92);

}  // namespace

void InfoColumnController::buildColumn(std::shared_ptr<ui::TableView>& table) {
  float w = kColumnWidth, h = ui::Screen::main().applicationFrame().height();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, w, h));
  root->setAutoresizesSubviews(true);
  root->setBackgroundColor(cg::Color::white());

  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);

  table = std::make_shared<ui::TableView>(cg::Rect(0, kTopBarHeight, w, h - kTopBarHeight), ui::TableViewStyle::Plain);
  table->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  table->setBackgroundColor(cg::Color::white());
  root->addSubview(table);

  viewTopBar = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTopBarHeight));
  viewTopBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->setAutoresizesSubviews(true);
  root->addSubview(viewTopBar);
  imgTopBarBG = std::make_shared<ui::ImageView>(viewTopBar->bounds());
  imgTopBarBG->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  imgTopBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(imgTopBarBG);
  // The title keeps clear of the back arrow on both sides, so it stays centred.
  lblTopLabel = std::make_shared<ui::Label>(cg::Rect(72, 0, w - 144, kTopBarHeight));
  lblTopLabel->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblTopLabel->setAdjustsFontSizeToFitWidth(true);
  lblTopLabel->setMinimumFontSize(12);
  lblTopLabel->setTextColor(kHeadingColour);
  lblTopLabel->setTextAlignment(ui::TextAlignment::Center);
  lblTopLabel->setBackgroundColor(cg::Color::clear());
  lblTopLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(lblTopLabel);
  btnBack = std::make_shared<ui::Button>(cg::Rect(6, 7, 62, 30));
  btnBack->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  btnBack->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  btnBack->setTitleEdgeInsets(cg::EdgeInsets{0, 8, 0, 0});
  screens::centreTitleAcrossButton(*btnBack);
  btnBack->addTarget(this, [this](ui::Control&) { btnBackPressed(); }, ui::ControlEventTouchUpInside);
  viewTopBar->addSubview(btnBack);
  setView(root);
}

void InfoColumnController::setUpColumn(ui::TableView& table, const std::string& heading,
                                       const std::string& backTitle, cg::Color separator) {
  auto self = std::dynamic_pointer_cast<InfoColumnController>(shared_from_this());
  table.setDataSource(self);
  table.setDelegate(self);
  table.setSeparatorColor(separator);
  lblTopLabel->setText(heading);
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) btnBack->setTitle(backTitle, state);
}

void InfoColumnController::btnBackPressed() {
  if (auto* nav = navigationController()) nav->popViewControllerAnimated(true);
}

void InfoColumnController::rethemeUI() {
  if (!btnBack) return;
  btnBack->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0), ui::ControlStateNormal);
  btnBack->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                              ui::ControlStateHighlighted);
}

void InfoColumnController::deselectSelectedRow(ui::TableView* table) {
  if (!table) return;
  if (auto selected = table->indexPathForSelectedRow()) table->deselectRowAtIndexPath(*selected, true);
}
