// The tajweed legend: a strip over the bottom of the verse table with one
// button per rule the reader has switched on, titled with the rule's name in
// its colour; a tap opens the tajweed guide on that rule in a popover.
#include <cmath>

#include "Classes/common/ScreenSupport.h"
#include "Classes/glyphs/GlyphTables.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/reading/TajweedInfoViewController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"

namespace {

constexpr float kBarHeight = 44, kHiddenBarHeight = 30, kBarX = 50;
constexpr float kCoverHeight = 20;
constexpr double kBarSlide = 0.35;
const cg::Color kPaper = cg::Color::fromRGB255(251, 249, 244);

// The rules in bar order, left to right: the switch, the title, the rule's
// place in the guide and its colour class in the glyph renderer.
struct Rule {
  std::shared_ptr<ui::Button> SurahViewController::*button;
  const char* key;
  const char* title;
  int guideIndex;
  unsigned colourClass;
};
const Rule kRules[5] = {
    {&SurahViewController::btnTajweedQalqala, "TajweedQalqala", "Qalqala", 4, 6},
    {&SurahViewController::btnTajweedIqlab, "TajweedIqlab", "Iqlab", 3, 7},
    {&SurahViewController::btnTajweedIdgham, "TajweedIdgham", "Idgham", 2, 1},
    {&SurahViewController::btnTajweedIkhfa, "TajweedIkhfa", "Ikhfa", 1, 2},
    {&SurahViewController::btnTajweedGhunna, "TajweedGhunna", "Ghunna", 0, 5},
};

bool ruleIsOn(const Rule& rule) { return ns::UserDefaults::standardUserDefaults().boolForKey(rule.key); }

cg::Color colourOf(const Rule& rule) {
  int r = 0, g = 0, b = 0;
  glyphtables::tintOfClass(rule.colourClass, r, g, b);
  return cg::Color::fromRGB255(r, g, b);
}

}  // namespace

// The strip and its buttons, below the table's bottom edge until shown.
void SurahViewController::buildTajweedBarArea(ui::View& display) {
  cg::Rect t = tblVerses->frame();
  viewTajweedBar = std::make_shared<ui::View>(
      cg::Rect(kBarX, t.y() + t.height(), t.width() - kBarX, kHiddenBarHeight));
  viewTajweedBar->setAutoresizesSubviews(true);
  viewTajweedBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  viewTajweedBar->setBackgroundColor(kPaper.withAlpha(0.94f));
  display.addSubview(viewTajweedBar);

  // The verses fade out over the bar, across the verse numbers too.
  imgNoteCover = std::make_shared<ui::ImageView>(
      cg::Rect(-kBarX, -kCoverHeight, viewTajweedBar->bounds().width() + kBarX, kCoverHeight));
  imgNoteCover->setContentMode(ui::ContentMode::ScaleToFill);
  imgNoteCover->setUserInteractionEnabled(false);
  imgNoteCover->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTajweedBar->addSubview(imgNoteCover);

  for (const Rule& rule : kRules) {
    auto button = std::make_shared<ui::Button>(cg::Rect(0, 0, 80, kBarHeight));
    if (auto* label = button->titleLabel()) {
      label->setFont(ui::Font::boldSystemFontOfSize(14));
      label->setAdjustsFontSizeToFitWidth(true);
      label->setMinimumFontSize(10);
    }
    button->setTitleColor(colourOf(rule), ui::ControlStateNormal);
    button->setTitleColor(colourOf(rule).withAlpha(0.5f), ui::ControlStateHighlighted);
    button->setAlpha(0);
    button->addTarget(this, [this](ui::Control& sender) { tajweedButtonPressed(dynamic_cast<ui::Button*>(&sender)); },
                      ui::ControlEventTouchUpInside);
    viewTajweedBar->addSubview(button);
    this->*rule.button = button;
  }
}

void SurahViewController::setupTajweedBar() {
  for (const Rule& rule : kRules) {
    if (!(this->*rule.button)) continue;
    std::string title = screens::localized(rule.title);
    (this->*rule.button)->setTitle(title, ui::ControlStateNormal);
    (this->*rule.button)->setTitle(title, ui::ControlStateHighlighted);
  }
}

void SurahViewController::tajweedBarDisplayToggled(bool animated) {
  if (ns::UserDefaults::standardUserDefaults().boolForKey("ShowTajweedBar")) showTajweedBar(animated);
  else hideTajweedBar(animated);
}

void SurahViewController::showTajweedBar(bool animated) {
  if (!viewTajweedBar || !tblVerses) return;
  cg::Rect t = tblVerses->frame();
  float W = t.width(), H = t.height();
  if (animated) {
    ui::View::beginAnimations("ShowingBar");
    ui::View::setAnimationDuration(kBarSlide);
  }
  imgNoteCover->setImage(ui::Image::imageNamed(IsInLandscape_ ? "note-cover-ls.png" : "note-cover.png"));
  // The bar takes its width first, so that the buttons placed in it keep theirs.
  viewTajweedBar->setFrame(cg::Rect(kBarX, t.y() + H - kBarHeight, W - kBarX, kBarHeight));

  int shown = 0;
  for (const Rule& rule : kRules) shown += ruleIsOn(rule) ? 1 : 0;
  float w = shown > 0 ? std::floor((W - 60) / float(shown)) : 0;
  float x = 0;
  std::vector<ui::Button*> visible;
  for (const Rule& rule : kRules) {
    ui::Button* button = (this->*rule.button).get();
    if (!ruleIsOn(rule)) {
      button->setAlpha(0);
      continue;
    }
    button->setAlpha(1);
    cg::Rect f = button->frame();
    // The first button keeps its own x.
    float bx = rule.button == &SurahViewController::btnTajweedQalqala ? f.x() : x;
    button->setFrame(cg::Rect(bx, f.y(), w, f.height()));
    x += w;
    visible.push_back(button);
  }
  // The shown buttons share the bar's width as it changes.
  const unsigned sides = ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth |
                         ui::ViewAutoresizingFlexibleRightMargin;
  for (size_t i = 0; i < visible.size(); ++i) {
    unsigned mask = i == 0 ? ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin : sides;
    if (i + 1 == visible.size()) mask = ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth;
    visible[i]->setAutoresizingMask(mask);
  }

  cg::EdgeInsets insets{0, 0, kBarHeight, 0};
  tblVerses->setContentInset(insets);
  tblVerses->setScrollIndicatorInsets(insets);
  if (animated) ui::View::commitAnimations();
}

void SurahViewController::hideTajweedBar(bool animated) {
  if (!viewTajweedBar || !tblVerses) return;
  cg::Rect t = tblVerses->frame();
  if (animated) {
    ui::View::beginAnimations("HideBar");
    ui::View::setAnimationDuration(kBarSlide);
  }
  tblVerses->setContentInset(cg::EdgeInsets{0, 0, 0, 0});
  tblVerses->setScrollIndicatorInsets(cg::EdgeInsets{0, 0, 0, 0});
  viewTajweedBar->setFrame(cg::Rect(kBarX, t.y() + t.height(), t.width() - kBarX, kHiddenBarHeight));
  if (animated) ui::View::commitAnimations();
}

ui::Button* SurahViewController::tajweedButtonForRule(int rule) const {
  for (const Rule& r : kRules)
    if (r.guideIndex == rule) return (this->*r.button).get();
  return nullptr;
}

void SurahViewController::tajweedButtonPressed(ui::Button* sender) {
  if (!sender) return;
  int index = 0;
  for (const Rule& rule : kRules)
    if ((this->*rule.button).get() == sender) index = rule.guideIndex;

  lastButtonTapped = sender;
  lastPopoverRect = sender->frame();
  lastPopoverView = viewTajweedBar.get();
  lastPopoverPosition = ui::PopoverArrowDirectionDown;

  auto guide = std::make_shared<TajweedInfoViewController>(index, false);
  popoverView.reset();  // a fresh popover for the guide
  auto nav = ui::NavigationController::withRoot(guide);
  guide->setTitle(screens::localized("Tajweed"));
  auto& popover = createPopoverViewWithController(nav);
  cg::Rect f = sender->frame();
  popover.presentPopoverFromRect(cg::Rect(f.width() * 0.5f, f.y() + std::floor(f.height() * 0.5f) - 5, 0, 0), sender,
                                 ui::PopoverArrowDirectionDown, true);
}
