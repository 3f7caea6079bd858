#include "Classes/reading/SurahFastScroll.h"

#include <algorithm>
#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/LayerAnimation.h"

namespace {

constexpr auto stretched = screens::stretchedImage;

constexpr float kColumnWidth = 36;

}  // namespace

std::shared_ptr<SurahFastScroll> SurahFastScroll::install(SurahViewController& screen) {
  auto fast = std::make_shared<SurahFastScroll>(screen);
  ui::View& display = *screen.viewSurahDisplay;
  fast->viewFastScroll = std::make_shared<FastScrollView>(cg::Rect(0, 0, kStripWidth, display.bounds().height()));
  fast->viewFastScroll->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight | ui::ViewAutoresizingFlexibleRightMargin);
  fast->viewFastScroll->addGesture();
  fast->viewFastScroll->setTag(5);
  fast->viewFastScroll->setDelegate(fast);
  display.addSubview(fast->viewFastScroll);
  fast->buildBubble();
  return fast;
}

// The bubble's views: the column and its arrows along the strip, and the
// "Goto Verse" bezel with the number in the middle of the reading area.
void SurahFastScroll::buildBubble() {
  viewFastScrollBezel = std::make_shared<ui::View>(cg::Rect(0, 0, 320, 480));
  viewFastScrollBezel->setBackgroundColor(cg::Color::clear());
  viewFastScrollBezel->setUserInteractionEnabled(false);
  viewFastScrollBezel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  const float columnX = std::floor((kStripWidth - kColumnWidth) / 2);
  imgFastScrollCol = std::make_shared<ui::ImageView>(cg::Rect(columnX, 0, kColumnWidth, 480));
  imgFastScrollArrows = std::make_shared<ui::ImageView>(cg::Rect(columnX, 0, kColumnWidth, 480));
  for (auto* v : {imgFastScrollCol.get(), imgFastScrollArrows.get()}) {
    v->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
    v->setContentMode(ui::ContentMode::ScaleToFill);
  }
  viewFastScrollBezel->addSubview(imgFastScrollCol);
  viewFastScrollBezel->addSubview(imgFastScrollArrows);

  viewGotoBubble = std::make_shared<ui::View>(cg::Rect(52, 167, 217, 147));
  viewGotoBubble->setBackgroundColor(cg::Color::clear());
  viewGotoBubble->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin |
                                      ui::ViewAutoresizingFlexibleTopMargin | ui::ViewAutoresizingFlexibleBottomMargin);
  imgBubble = std::make_shared<ui::ImageView>(viewGotoBubble->bounds());
  imgBubble->setImage(ui::Image::imageNamed("fastscrollbezel.png"));
  viewGotoBubble->addSubview(imgBubble);
  lblGotoVerse = std::make_shared<ui::Label>(cg::Rect(10, 18, 197, 26));
  lblGotoVerse->setFont(ui::Font::boldSystemFontOfSize(18));
  lblFastScrollVerse = std::make_shared<ui::Label>(cg::Rect(10, 50, 197, 76));
  lblFastScrollVerse->setFont(ui::Font::boldSystemFontOfSize(60));
  for (auto& l : {lblGotoVerse, lblFastScrollVerse}) {
    l->setTextColor(cg::Color::white());
    l->setBackgroundColor(cg::Color::clear());
    l->setTextAlignment(ui::TextAlignment::Center);
    viewGotoBubble->addSubview(l);
  }
  viewFastScrollBezel->addSubview(viewGotoBubble);
}

int SurahFastScroll::verseAtY(float y, float displayHeight, int verses) {
  if (verses < 1) return 1;
  if (y <= 10) return 1;
  if (y >= displayHeight - 10) return verses;
  float slice = (displayHeight - 20) / static_cast<float>(verses);
  float start = 10;
  int verse = verses;
  for (int i = 1; i <= verses; ++i) {
    float end = start + slice;
    if (start <= y && y <= end) {
      verse = i;
      break;
    }
    start = end;
  }
  return std::clamp(verse, 1, verses);
}

// ---- the preview --------------------------------------------------------------------------------

void SurahFastScroll::updateFastScrollPreview(cg::Point point) {
  cg::Rect D = screen_.viewSurahDisplay->frame();
  iVerseToJumpTo_ = verseAtY(point.y, D.height(), ChapterInfo::getVersesFromNumber(screen_.iCurrentSurah()));
  std::string number = ns::format("%i", iVerseToJumpTo_);
  if (ZarvelSDKAppDelegate::IsLanguageArabic()) number = ChapterInfo::getArabicNumbersFrom(number);
  lblFastScrollVerse->setText(number);
  if (!isShowingFastScrollView_) showFastScrollPreview(point);
}

void SurahFastScroll::showFastScrollPreview(cg::Point) {
  isShowingFastScrollView_ = true;
  if (!viewFastScrollBezel->superview()) {
    imgFastScrollArrows->setImage(stretched("fastscroll-arrows.png", 0, 157));
    imgFastScrollCol->setImage(stretched("fastscroll-bg.png", 0, 157));
    cg::Rect D = screen_.viewSurahDisplay->frame();
    viewFastScrollBezel->setFrame(cg::Rect(0, 0, D.width(), D.height()));
    screen_.viewSurahDisplay->addSubview(viewFastScrollBezel);
  }
  lblGotoVerse->setText(Language::get("Goto Verse", "Goto Verse"));
  viewFastScrollBezel->setAlpha(0);
  ui::View::beginAnimations("ShowFastScroll");
  ui::View::setAnimationDuration(0.12);
  viewFastScrollBezel->setAlpha(1);
  imgFastScrollCol->setAlpha(1);
  imgFastScrollArrows->setAlpha(1);
  ui::View::commitAnimations();

  auto pulse = ui::KeyframeAnimation::basicAnimation("opacity", 1, 0);
  pulse->duration = 0.7;
  pulse->autoreverses = true;
  pulse->repeatCount = 1e10f;
  ui::addAnimation(*imgFastScrollArrows, pulse, "animateOpacity");
}

void SurahFastScroll::fadeBubble(double duration, bool thenDetach) {
  ui::View::beginAnimations("SurahChanged");
  ui::View::setAnimationDuration(duration);
  if (thenDetach) {
    std::weak_ptr<SurahFastScroll> weak = weak_from_this();
    ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
      if (auto self = weak.lock()) self->fastViewDidHide();
    });
  }
  viewFastScrollBezel->setAlpha(0);
  imgFastScrollCol->setAlpha(0);
  imgFastScrollArrows->setAlpha(0);
  ui::View::commitAnimations();
  ui::removeAllAnimations(*imgFastScrollArrows);
}

void SurahFastScroll::hideFastScrollPreview() {
  isShowingFastScrollView_ = false;
  fadeBubble(0.2, true);
  screen_.highlightVerse(iVerseToJumpTo_, true, true, false, true);
  screen_.tblVerses->flashScrollIndicators();
  if (auto* root = screen_.ipaddelegate()) root->shouldEnableFloatingWindow();
}

void SurahFastScroll::fastViewDidHide() {
  if (viewFastScrollBezel->superview()) viewFastScrollBezel->removeFromSuperview();
  if (auto* root = screen_.ipaddelegate()) root->shouldEnableFloatingWindow();
}

void SurahFastScroll::cancelFastScrollPreview() {
  isShowingFastScrollView_ = false;
  fadeBubble(0.6, false);
  if (auto* root = screen_.ipaddelegate()) root->shouldEnableFloatingWindow();
}

bool SurahFastScroll::canBeginFastScroll() const {
  auto* root = screen_.ipaddelegate();
  return root && root->isFloatingWindowPanning();
}

void SurahFastScroll::fastScrollFingerDown() {
  if (auto* root = screen_.ipaddelegate()) root->shouldDisableFloatingWindow(true);
}

// ---- tap paging ------------------------------------------------------------------------------------

void SurahFastScroll::fastScrollTapped() {
  ui::TableView& table = *screen_.tblVerses;
  ui::View& display = *screen_.viewSurahDisplay;
  cg::Rect D = display.frame();
  int N = ChapterInfo::getVersesFromNumber(screen_.iCurrentSurah());
  int current = screen_.iCurrentVerse();
  int t = current + 1 <= N ? current + 1 : current;

  // The lowest bottom edges of the current verse's rows and of the next verse's Arabic row.
  float Bc = 0, Bt = 0;
  for (const ui::IndexPath& path : table.indexPathsForVisibleRows()) {
    int verse = screen_.rowToVerse(path.row);
    bool arabicRow = screen_.verseToRow(verse) == path.row;
    cg::Rect r = table.convertRectToView(table.rectForRowAtIndexPath(path), &display);
    float bottom = std::floor(r.y() + r.height());
    if (verse == current) Bc = std::max(Bc, bottom);
    if (t != current && verse == t && arabicRow) Bt = std::max(Bt, bottom);
  }

  float L = D.y() + D.height();
  if (L < Bc + D.y() || L < Bt + D.y()) {
    screen_.setIgnoreSendingScrollEvents(false);
    cg::Point offset = table.contentOffset();
    float y = std::floor(offset.y + D.height() / kPageFraction);
    y = std::min(y, table.contentSize().height - D.height());
    table.setContentOffset(cg::Point{offset.x, y}, true);
    if (L < Bt + D.y()) screen_.highlightVerse(t, false);
  } else if (t != current) {
    screen_.highlightVerse(t, false);
  }
  screen_.noteActivity();
  table.flashScrollIndicators();
  if (auto* root = screen_.ipaddelegate()) root->shouldEnableFloatingWindow();
}
