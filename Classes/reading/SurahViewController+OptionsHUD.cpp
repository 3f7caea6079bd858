// The verse options panel as the screen opens, places and closes it: the
// long press on a verse, the table shifted to make room where the panel
// fits neither below nor above the verse, the screen's one popover, and
// bringing a row to the top.
#include <algorithm>
#include <cmath>

#include "Classes/reading/SurahFastScroll.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "platform/foundation/Clock.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"

void SurahViewController::installVerseOptions() {
  optionsPanel_ = std::make_shared<VerseOptionsPanel>(*this);
  fastScroll_ = SurahFastScroll::install(*this);
}

void SurahViewController::noteActivity() { dateLastActivity_ = ns::Date(ns::Clock::current().now()); }

void SurahViewController::showDialControlForVerseCell(SurahViewCell* cell, SurahVerseView* rowView,
                                                      ui::TableView* table, int verse, int surah) {
  if (surah != iCurrentSurah_) {  // a row of another surah is still on screen
    iCurrentSurah_ = surah;
    iCurrentVerse_ = verse;
    ns::RunLoop::main().performAfter(this, "asyncSurahReload", 0.05, [this] { asyncSurahReload(); });
    return;
  }
  if (!optionsPanel_ || !table) return;
  noteActivity();
  mouseLocation = cell ? table->indexPathForCell(cell) : std::nullopt;
  highlightVerse(verse, false);
  verseHUDPoint = rowView ? rowView->convertRectToView(rowView->bounds(), viewSurahDisplay.get()) : cg::Rect();
  currTblOffset = tblVerses->contentOffset();
  extraTblOffset = 0;

  showingDialControl_ = true;
  VerseOptionsPanel& panel = *optionsPanel_;
  panel.setVerse(surah, verse);
  panel.setupAyahHUD(table);
  panel.showPage(0, false);
  panel.prepareAyahHUDForPortrait();
  if (ipaddelegate_ && ipaddelegate_->isKeyboardShowing()) {
    ipaddelegate_->dismissKeyboard();  // the press only closes the keyboard
    return;
  }
  lastButtonTapped = nullptr;
  lastPopoverRect = verseHUDPoint;
  lastPopoverView = viewSurahDisplay.get();
  panel.viewAyahDial->setFrame(cg::Rect(panel.viewAyahDial->frame().origin,
                                        cg::Size{panel.viewAyahDial->frame().width(), VerseOptionsPanel::kHeight}));
  auto nav = ui::NavigationController::withRoot(optionsPanel_);
  nav->setNavigationBarHidden(true, false);
  auto& popover = createPopoverViewWithController(nav);
  popover.setPopoverContentSize(cg::Size{VerseOptionsPanel::kWidth, VerseOptionsPanel::kHeight}, true);

  // Below the verse, above it, or the table shifted first.
  cg::Rect t = tblVerses->frame();
  int K = int(verseHUDPoint.y());
  int B = int(t.y() + t.height());
  int L = int(float(B) - (verseHUDPoint.y() + 55));
  auto place = VerseOptionsPanel::place(K, L);
  if (place.shiftsTable) {
    extraTblOffset = place.extraTblOffset;
    ui::View::beginAnimations("ShowBottomAudioBar");
    ui::View::setAnimationDuration(0.35);
    ui::View::setAnimationCurve(ui::AnimationCurve::EaseInOut);
    tblVerses->setContentOffset(cg::Point{currTblOffset.x, currTblOffset.y + float(extraTblOffset)});
    ui::View::commitAnimations();
    // The row moved up by the shift.
    verseHUDPoint = cg::Rect(verseHUDPoint.x(), verseHUDPoint.y() - float(extraTblOffset), verseHUDPoint.width(),
                             verseHUDPoint.height());
  }
  lastPopoverPosition = place.arrow;
  presentPanelPopover(place.arrow, place.anchorOffset);
}

void SurahViewController::presentPanelPopover(unsigned arrow, float anchorOffset) {
  cg::Rect r = verseHUDPoint;
  popoverView->presentPopoverFromRect(
      cg::Rect(r.x() + std::floor(r.width() * 0.5f), r.y() + anchorOffset, 5, 5), viewSurahDisplay.get(), arrow, true);
}

void SurahViewController::hideDialControl() {
  reShowPopover = false;
  if (!showingDialControl_) return;
  noteActivity();
  mouseLocation.reset();
  showingDialControl_ = false;
}

// The row's top as the table now lays its rows out (their heights measured
// again for the layout in force).
void SurahViewController::bringSelectedVerseToTop(std::optional<ui::IndexPath> path, bool, bool) {
  if (!path || !tblVerses) return;
  currTblOffset.y = 0;
  tblVerses->reloadData();
  if (path->row >= numberOfVerseRows()) return;
  float maxY = std::max(0.0f, tblVerses->contentSize().height - tblVerses->bounds().height());
  float y = std::min(tblVerses->rectForRowAtIndexPath(*path).y(), maxY);
  tblVerses->setContentOffset(cg::Point{0, y});
}
