#include "Classes/reading/SurahInfoCell.h"

namespace {

std::shared_ptr<ui::Label> infoLabel(cg::Rect frame, const char* font, cg::Color color, unsigned mask) {
  auto label = std::make_shared<ui::Label>(frame);
  label->setFont(ui::Font::fontWithName(font, 13));
  label->setTextColor(color);
  label->setHighlightedTextColor(cg::Color::white());
  label->setBackgroundColor(cg::Color::clear());
  label->setAutoresizingMask(mask);
  return label;
}

}  // namespace

SurahInfoCell::SurahInfoCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  const cg::Color ink = cg::Color::fromRGB255(33, 33, 36);
  lblLeftLabel = infoLabel(cg::Rect(5, 0, 130, 44), "Helvetica", cg::Color::fromRGB255(113, 83, 0),
                           ui::ViewAutoresizingNone);
  lblRightLabel = infoLabel(cg::Rect(137, 0, 183, 44), "Helvetica-Bold", ink,
                            ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth);
  lblExplanation = infoLabel(cg::Rect(25, 44, 270, 44), "Helvetica-Bold", ink,
                             ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth |
                                 ui::ViewAutoresizingFlexibleRightMargin);
  lblExplanation->setNumberOfLines(2);
  lblExplanation->setTextAlignment(ui::TextAlignment::Center);
  viewBottomMarker = std::make_shared<ui::Label>(cg::Rect(0, 43, 320, 1));
  viewBottomMarker->setBackgroundColor(cg::Color::fromRGB255(194, 189, 167));
  viewBottomMarker->setContentMode(ui::ContentMode::Right);
  viewBottomMarker->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth |
                                        ui::ViewAutoresizingFlexibleRightMargin |
                                        ui::ViewAutoresizingFlexibleTopMargin);
  for (auto& view : {std::static_pointer_cast<ui::View>(lblLeftLabel), std::static_pointer_cast<ui::View>(lblRightLabel),
                     std::static_pointer_cast<ui::View>(lblExplanation), viewBottomMarker})
    contentView()->addSubview(view);
}
