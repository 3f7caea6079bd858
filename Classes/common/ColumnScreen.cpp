#include "Classes/common/ColumnScreen.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/ui/Screen.h"

namespace columnscreen {

namespace {

const cg::Color kHeadingInk = cg::Color::fromRGB255(62, 74, 92);
const cg::Color kGround = cg::Color::fromRGB255(238, 241, 245);

}  // namespace

TopBar topBar(float w, bool withBack) {
  TopBar bar;
  bar.view = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTopBarHeight));
  bar.view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  bar.view->setAutoresizesSubviews(true);
  bar.background = std::make_shared<ui::ImageView>(bar.view->bounds());
  bar.background->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  bar.background->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  bar.view->addSubview(bar.background);
  float inset = withBack ? 80 : 10;
  bar.title = std::make_shared<ui::Label>(cg::Rect(inset, 0, w - 2 * inset, kTopBarHeight));
  bar.title->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  bar.title->setTextColor(kHeadingInk);
  bar.title->setTextAlignment(ui::TextAlignment::Center);
  bar.title->setAdjustsFontSizeToFitWidth(true);
  bar.title->setMinimumFontSize(11);
  bar.title->setBackgroundColor(cg::Color::clear());
  bar.title->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  bar.view->addSubview(bar.title);
  if (withBack) {
    bar.back = std::make_shared<ui::Button>(cg::Rect(6, 7, 70, 30));
    bar.back->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
    bar.back->setTitleEdgeInsets(cg::EdgeInsets{0, 10, 0, 0});
    bar.back->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
    bar.view->addSubview(bar.back);
  }
  return bar;
}

Parts build(bool withBack, ui::TableViewStyle tableStyle) {
  Parts p;
  float w = kColumnWidth, h = ui::Screen::main().applicationFrame().height();
  p.root = std::make_shared<ui::View>(cg::Rect(0, 0, w, h));
  p.root->setAutoresizesSubviews(true);
  p.root->setBackgroundColor(kGround);
  p.imgBG = std::make_shared<ui::ImageView>(p.root->bounds());
  p.imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  p.root->addSubview(p.imgBG);
  p.table = std::make_shared<ui::TableView>(cg::Rect(0, kTopBarHeight, w, h - kTopBarHeight), tableStyle);
  p.table->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  p.table->setBackgroundColor(tableStyle == ui::TableViewStyle::Grouped ? kGround : cg::Color::white());
  p.root->addSubview(p.table);
  p.bar = topBar(w, withBack);
  p.root->addSubview(p.bar.view);
  return p;
}

void dressBackButton(ui::Button& button, const std::string& title) {
  button.setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0), ui::ControlStateNormal);
  button.setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                            ui::ControlStateHighlighted);
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) button.setTitle(title, state);
}

}  // namespace columnscreen
