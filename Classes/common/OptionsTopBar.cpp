#include "Classes/common/OptionsTopBar.h"

#include "Classes/common/ScreenSupport.h"

namespace screens {

std::shared_ptr<ui::View> makeOptionsRoot(cg::Size size) {
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, size.width, size.height));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  return root;
}

void addOptionsTopBar(ui::View& root, float width, const void* target, std::function<void()> onBack,
                      std::shared_ptr<ui::ImageView>& bar, std::shared_ptr<ui::Label>& title,
                      std::shared_ptr<ui::Button>& back) {
  bar = std::make_shared<ui::ImageView>(cg::Rect(0, 0, width, kOptionsTopBarHeight));
  bar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(bar);
  title = std::make_shared<ui::Label>(cg::Rect(80, 7, width - 160, 30));
  title->setFont(ui::Font::boldSystemFontOfSize(18));
  title->setTextColor(cg::Color::fromRGB255(92, 64, 20));
  title->setTextAlignment(ui::TextAlignment::Center);
  title->setBackgroundColor(cg::Color::clear());
  title->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(title);
  back = std::make_shared<ui::Button>(cg::Rect(6, 7, 68, 30));
  back->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
  centreTitleAcrossButton(*back);
  back->addTarget(target, [onBack = std::move(onBack)](ui::Control&) { onBack(); }, ui::ControlEventTouchUpInside);
  root.addSubview(back);
}

void styleOptionsTopBar(ui::ImageView& bar, ui::Label& title, ui::Button& back, const std::string& titleText,
                        const std::string& backText) {
  title.setText(titleText);
  bar.setImage(stretchedImage("sura-navbar.png", 159, 0));
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) back.setTitle(backText, state);
  back.setBackgroundImage(stretchedImage("sura-button.png", 16, 0), ui::ControlStateNormal);
  back.setBackgroundImage(stretchedImage("sura-button-t.png", 16, 0), ui::ControlStateHighlighted);
}

}  // namespace screens
