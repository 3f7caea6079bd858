#include "Classes/search/SavedSearchCell.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/search/SavedSearchesViewController.h"

namespace {

const cg::Color kGrey = cg::Color::fromRGB255(101, 100, 94);
const cg::Color kMarkedColour = cg::Color::fromRGB255(134, 82, 167);

}  // namespace

SavedSearchCell::SavedSearchCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  float h = contentView()->bounds().height();
  btnEye = std::make_shared<ui::Button>(cg::Rect(0, 0, 50, 44));
  btnEye->addTarget(this, [this](ui::Control&) { btnEyePressed(); }, ui::ControlEventTouchUpInside);
  btnEye->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  btnEye->setAutoresizesSubviews(true);

  lblTitle = std::make_shared<ui::Label>(cg::Rect(50, 0, 120, h));
  lblTitle->setFont(ui::Font::fontWithName("Helvetica-Bold", 13));
  lblTitle->setAdjustsFontSizeToFitWidth(true);
  lblTitle->setMinimumFontSize(11);
  lblTitle->setBackgroundColor(cg::Color::clear());
  lblTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  lblTitle->setHighlightedTextColor(cg::Color::white());

  btnTrans = std::make_shared<ui::Button>(cg::Rect(180, 13, 36, 17));
  btnTrans->titleLabel()->setFont(ui::Font::fontWithName("Helvetica", 11));
  btnTrans->setTitleColor(cg::Color::white(), ui::ControlStateHighlighted);
  btnTrans->setTitleColor(kGrey, ui::ControlStateDisabled);
  auto badge = ui::Image::imageNamed("lang-indecator.png");
  btnTrans->setBackgroundImage(badge, ui::ControlStateDisabled);
  btnTrans->setBackgroundImage(badge, ui::ControlStateHighlighted);
  btnTrans->setEnabled(false);
  btnTrans->setUserInteractionEnabled(false);
  btnTrans->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnTrans->setAutoresizesSubviews(true);
  screens::centreTitleAcrossButton(*btnTrans);

  lblResults = std::make_shared<ui::Label>(cg::Rect(218, 0, 75, 44));
  lblResults->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblResults->setTextColor(kGrey);
  lblResults->setTextAlignment(ui::TextAlignment::Right);
  lblResults->setBackgroundColor(cg::Color::clear());
  lblResults->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  lblResults->setHighlightedTextColor(cg::Color::white());

  for (auto v : std::initializer_list<std::shared_ptr<ui::View>>{btnEye, lblTitle, btnTrans, lblResults})
    contentView()->addSubview(v);
}

void SavedSearchCell::setSavedSearch(const SavedSearchPtr& entry) {
  if (entry && entry == ThisSavedSearch_.lock()) {
    updateReflectionState();
    return;
  }
  ThisSavedSearch_ = entry;
  if (!entry) return;
  lblTitle->setText(entry->strSearchText());
  btnEye->setBackgroundImage(ui::Image::imageNamed("search-eye-t.png"), ui::ControlStateHighlighted);
  setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  std::string abbreviation = ChapterInfo::getTranslationAbbrNameForNumber(entry->iTranslation());
  btnTrans->setTitle(abbreviation, ui::ControlStateDisabled);
  btnTrans->setTitle(abbreviation, ui::ControlStateHighlighted);
  int hits = entry->iHitCount();
  lblResults->setText(hits == 0 ? ""
                                : screens::numberText(hits) + " " + screens::localized(hits == 1 ? "result" : "results"));
  updateReflectionState();
}

void SavedSearchCell::btnEyePressed() {
  auto entry = ThisSavedSearch();
  if (!entry || !viewController_) return;
  viewController_->reflectSearchedVerses(!entry->isReflectedInSurah(), entry);
}

void SavedSearchCell::updateReflectionState() {
  auto entry = ThisSavedSearch();
  bool marked = entry && entry->isReflectedInSurah();
  lblTitle->setTextColor(marked ? kMarkedColour : cg::Color::black());
  btnEye->setBackgroundImage(ui::Image::imageNamed(marked ? "search-eye-on.png" : "search-eye.png"),
                             ui::ControlStateNormal);
}

void SavedSearchCell::showLit(bool lit) {
  btnEye->setHighlighted(false);
  btnTrans->setEnabled(lit);
  btnTrans->setHighlighted(lit);
  lblTitle->setHighlighted(lit);
  lblResults->setHighlighted(lit);
}

void SavedSearchCell::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  showLit(selected || isHighlighted());
}

void SavedSearchCell::setHighlighted(bool highlighted, bool animated) {
  ui::TableViewCell::setHighlighted(highlighted, animated);
  showLit(highlighted || isSelected());
}

void SavedSearchCell::layoutSubviews() {
  ui::TableViewCell::layoutSubviews();
  btnEye->setUserInteractionEnabled(!isEditing());
}
