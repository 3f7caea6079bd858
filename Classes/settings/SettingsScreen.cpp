#include "Classes/settings/SettingsScreen.h"

#include <cmath>

#include "Classes/common/ColumnScreen.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/NavigationController.h"

namespace {

constexpr float kFooterInset = 20, kFooterPad = 6;
const cg::Color kFooterInk = cg::Color(0.30f, 0.34f, 0.42f);

ui::Font footerFont() { return ui::Font::systemFontOfSize(14); }

float footerTextHeight(const std::string& text, float tableWidth) {
  return std::ceil(ui::sizeWithFont(text, footerFont(), cg::Size{tableWidth - 2 * kFooterInset, 1000}).height);
}

}  // namespace

void SettingsScreen::loadView() {
  auto parts = columnscreen::build(true, ui::TableViewStyle::Grouped);
  myTableView = parts.table;
  lblTopLabel = parts.bar.title;
  btnBack = parts.bar.back;
  btnBack->addTarget(this, [this](ui::Control&) { btnBackPressed(); }, ui::ControlEventTouchUpInside);
  setView(parts.root);
}

void SettingsScreen::setUpScreen() {
  columnscreen::dressBackButton(*btnBack, screens::localized("More"));
  auto self = std::dynamic_pointer_cast<SettingsScreen>(shared_from_this());
  myTableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
  myTableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
}

void SettingsScreen::btnBackPressed() {
  if (auto* nav = navigationController()) nav->popViewControllerAnimated(true);
}

std::shared_ptr<ui::View> SettingsScreen::viewForFooterInSection(ui::TableView* tableView, int section) {
  std::string text = titleForFooterInSection(tableView, section);
  if (text.empty()) return nullptr;
  float width = tableView->bounds().width();
  auto footer = std::make_shared<ui::View>(cg::Rect(0, 0, width, *heightForFooterInSection(tableView, section)));
  footer->setBackgroundColor(cg::Color::clear());
  footer->setUserInteractionEnabled(false);
  auto label = std::make_shared<ui::Label>(
      cg::Rect(kFooterInset, kFooterPad, width - 2 * kFooterInset, footerTextHeight(text, width)));
  label->setFont(footerFont());
  label->setTextColor(kFooterInk);
  label->setBackgroundColor(cg::Color::clear());
  label->setNumberOfLines(0);
  label->setTextAlignment(ui::TextAlignment::Center);
  label->setText(text);
  label->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  footer->addSubview(label);
  return footer;
}

std::optional<float> SettingsScreen::heightForFooterInSection(ui::TableView* tableView, int section) {
  std::string text = titleForFooterInSection(tableView, section);
  if (text.empty()) return std::nullopt;
  return footerTextHeight(text, tableView->bounds().width()) + 2 * kFooterPad + 4;
}
