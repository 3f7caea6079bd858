#include "Classes/settings/SignCellView.h"

#include "Classes/core/ZarvelSDKAppDelegate.h"

SignCellView::SignCellView(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  setSelectionStyle(ui::TableViewCellSelectionStyle::None);
  setAutoresizesSubviews(true);
  setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  float w = frame().width();

  imgSign = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 44, 52));
  imgSign->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  contentView()->addSubview(imgSign);

  lblTitle = std::make_shared<ui::Label>(cg::Rect(50, 4, w - 50, 30));
  lblTitle->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblTitle->setAdjustsFontSizeToFitWidth(true);
  lblTitle->setMinimumFontSize(11);
  lblTitle->setBackgroundColor(cg::Color::clear());
  lblTitle->setHighlightedTextColor(cg::Color::white());
  contentView()->addSubview(lblTitle);

  lblExplanation = std::make_shared<ui::Label>(cg::Rect(50, 24, w - 50, 26));
  lblExplanation->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblExplanation->setTextColor(cg::Color::fromRGB255(46, 113, 185));
  lblExplanation->setBackgroundColor(cg::Color::clear());
  lblExplanation->setHighlightedTextColor(cg::Color::white());
  contentView()->addSubview(lblExplanation);

  if (!ZarvelSDKAppDelegate::IsLanguageArabic()) {
    for (auto* label : {lblTitle.get(), lblExplanation.get()}) {
      label->setTextAlignment(ui::TextAlignment::Left);
      label->setContentMode(ui::ContentMode::Left);
      label->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
    }
    return;
  }
  // Right to left: the sign at the right edge, the texts against it.
  imgSign->setFrame(cg::Rect(w - 44, 0, 44, 52));
  imgSign->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  lblTitle->setFrame(cg::Rect(0, 4, w - 50, 30));
  lblExplanation->setFrame(cg::Rect(0, 24, w - 50, 26));
  for (auto* label : {lblTitle.get(), lblExplanation.get()}) {
    label->setTextAlignment(ui::TextAlignment::Right);
    label->setContentMode(ui::ContentMode::Right);
    label->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth);
  }
}
