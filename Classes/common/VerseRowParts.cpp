#include "Classes/common/VerseRowParts.h"

#include <cmath>

#include "Classes/common/ScreenSupport.h"
#include "platform/ui/ImageView.h"

namespace verserow {

std::shared_ptr<ui::Button> makeVerseBadge(float h) {
  auto badge = std::make_shared<ui::Button>(cg::Rect(0, std::trunc((h - 44) / 2), 44, 44));
  auto normal = ui::Image::imageNamed("ipad-bookmarks-search-aya.png");
  badge->setBackgroundImage(normal, ui::ControlStateNormal);
  badge->setBackgroundImage(normal, ui::ControlStateDisabled);
  badge->setBackgroundImage(ui::Image::imageNamed("ipad-bookmarks-search-aya-t.png"), ui::ControlStateHighlighted);
  badge->setTitleColor(cg::Color::black(), ui::ControlStateNormal);
  badge->setTitleColor(cg::Color::white(), ui::ControlStateHighlighted);
  badge->setTitleColor(cg::Color::black(), ui::ControlStateDisabled);
  badge->titleLabel()->setFont(ui::Font::fontWithName("Helvetica", 11));
  badge->setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Center);
  badge->setTitleEdgeInsets(cg::EdgeInsets{0, 1, 0, 0});
  badge->setTitleShadowColor(cg::Color::white().withAlpha(0.3f), ui::ControlStateNormal);
  badge->titleLabel()->setShadowOffset(cg::Size{0, 1});
  badge->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  badge->setEnabled(false);
  badge->setAdjustsImageWhenDisabled(false);
  badge->setUserInteractionEnabled(false);
  return badge;
}

void setVerseNumber(ui::Button& badge, int verse) {
  std::string number = screens::numberText(verse);
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted, ui::ControlStateDisabled})
    badge.setTitle(number, state);
}

void showBottomRule(ui::View& row, std::shared_ptr<ui::View>& rule, bool shown) {
  if (shown && !rule) {
    float w = row.bounds().width(), h = row.bounds().height();
    rule = std::make_shared<ui::View>(cg::Rect(0, h - 1, w, 1));
    rule->setBackgroundColor(cg::Color::fromRGB255(187, 211, 237));
    rule->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
    row.addSubview(rule);
  }
  if (rule) rule->setHidden(!shown);
}

std::shared_ptr<ui::View> makeSelectedBackground(float h) {
  auto background = std::make_shared<ui::View>(cg::Rect(0, 0, 320, h));
  background->setContentMode(ui::ContentMode::Right);
  background->setAutoresizesSubviews(true);
  background->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  auto art = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 320, 43));
  art->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  art->setBackgroundColor(cg::Color::clear());
  art->setImage(screens::stretchedImage("search-row-t.png", 159, 21));
  background->addSubview(art);
  return background;
}

}  // namespace verserow
