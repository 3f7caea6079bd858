// The data source and delegate of the verse table and of the surah
// information table: row counts, heights, cells, selection and scrolling.
#include <algorithm>
#include <cmath>

#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahInfoCell.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"

namespace {

// The pad under an Arabic row without translations, by the Arabic size setting.
int fontPad() {
  switch (ZarvelSDKAppDelegate::ArabicFontSize()) {
    case 0: return 3;
    case 2: return 11;
    case 3: return 13;
    case 4: return 18;
    default: return 0;
  }
}

std::string localNumber(int n) {
  std::string text = std::to_string(n);
  return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(text) : text;
}

}  // namespace

int SurahViewController::numberOfSectionsInTableView(ui::TableView*) { return 1; }

int SurahViewController::numberOfRowsInSection(ui::TableView* tableView, int) {
  if (tableView == tblVerses.get()) return numberOfVerseRows();
  if (tableView == tblSurahInfo.get()) return ChapterInfo::getAltNameFromNumber(iCurrentSurah_).empty() ? 5 : 7;
  return 0;
}

float SurahViewController::heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  int row = indexPath.row;
  if (tableView == tblSurahInfo.get()) {
    int last = ChapterInfo::getAltNameFromNumber(iCurrentSurah_).empty() ? 4 : 6;
    if (row == last) return ChapterInfo::getExtraChronoFromNumber(iCurrentSurah_).empty() ? 44 : 88;
    return 44;
  }
  if (tableView != tblVerses.get()) return 65;
  int v = rowToVerse(row);
  if (hasTranslationRows() && row != verseToRow(v)) return translationRowHeight(v);
  if (!isFloatingViewExpanded()) {
    if (!hasVerseRecords_) return 65;
    return std::floor(ipaddelegate_->getMaxVerseHeightForCurrentSurah(v));
  }
  if (!hasVerseRecords_) return 65;
  int d = 65;
  if (v >= 1) {
    d = arabicGlyphHeight(v);
    if (!rootInLandscape() && !hasTranslationRows()) d += 5;
  }
  d = markedHeight(v, d);
  if (!hasTranslationRows()) d += fontPad();
  return float(d);
}

std::shared_ptr<ui::TableViewCell> SurahViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                             const ui::IndexPath& indexPath) {
  if (tableView == tblSurahInfo.get()) return infoCellForRow(indexPath.row);
  if (tableView != tblVerses.get()) return nullptr;
  int row = indexPath.row;
  const char* identifier = isTranslationRow(row) ? "VerseCellTrans" : "VerseCell";
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(tableView->dequeueReusableCellWithIdentifier(identifier));
  if (!cell)
    cell = SurahViewCell::create(identifier, std::static_pointer_cast<SurahViewController>(shared_from_this()), false);
  cell->setThisTable(tblVerses.get());
  configureVerseCell(*cell, row);
  int v = rowToVerse(row);
  if (!IsInPlayMode_ && iCurrentSurah_ == iLastAudioSurah_ && iLastAudioVerse_ == v) iLastSetAudioCell_ = row;
  return cell;
}

bool SurahViewController::isTranslationRow(int row) const {
  return hasTranslationRows() && row != verseToRow(rowToVerse(row));
}

// The row's records and states, the same for a shown cell and one drawn ahead.
void SurahViewController::configureVerseCell(SurahViewCell& cell, int row) {
  int v = rowToVerse(row);
  SurahVerseView* view = cell.CellView();
  if (isTranslationRow(row)) {
    auto it = transHeightMeta.find(v);
    view->setTranslationMetaData(it != transHeightMeta.end() ? it->second : nullptr);
  } else {
    auto it = verseMetaData.find(v);
    view->setArabicMetaData(it != verseMetaData.end() ? it->second : nullptr);
  }
  view->setIsSelected(v == selectedVerse_);
  view->setIsLastPlaying(false);
  view->setIsPlaying(IsInPlayMode_ && v == iCurrentPlayingVerse_);
}

std::shared_ptr<ui::TableViewCell> SurahViewController::infoCellForRow(int row) {
  auto cell = std::dynamic_pointer_cast<SurahInfoCell>(tblSurahInfo->dequeueReusableCellWithIdentifier("SurahInfoCell"));
  if (!cell) cell = std::make_shared<SurahInfoCell>(ui::TableViewCellStyle::Default, "SurahInfoCell");
  cell->lblExplanation->setText("");
  cell->viewBottomMarker->setHidden(false);
  cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
  int s = iCurrentSurah_;
  bool arabic = ZarvelSDKAppDelegate::IsLanguageArabic();
  int k = row + (ChapterInfo::getAltNameFromNumber(s).empty() && row > 1 ? 2 : 0);
  static const char* kKeys[] = {"Sura Name", "Meaning", "Other Name", "Other Meaning",
                                "Aya Count", "Chronological Order", "Origin"};
  if (k < 0 || k > 6) return cell;
  cell->lblLeftLabel->setText(Language::get(kKeys[k], kKeys[k]));
  std::string value;
  switch (k) {
    case 0:
      value = arabic ? ChapterInfo::getNameFromNumber(s) + " " + localNumber(s)
                     : std::to_string(s) + " " + ChapterInfo::getNameFromNumber(s);
      break;
    case 1: value = ChapterInfo::getMeaningFromNumber(s); break;
    case 2: value = ChapterInfo::getAltNameFromNumber(s); break;
    case 3: value = ChapterInfo::getAltMeaningFromNumber(s); break;
    case 4: {
      int count = ChapterInfo::getVersesFromNumber(s);
      value = arabic ? localNumber(count) : std::to_string(count) + " " + Language::get("ayas", "ayas");
      break;
    }
    case 5: value = localNumber(ChapterInfo::getChronoOrderForChapter(s)); break;
    case 6:
      value = ChapterInfo::getCityFromNumber(s);
      cell->lblExplanation->setText(ChapterInfo::getExtraChronoFromNumber(s));
      cell->viewBottomMarker->setHidden(true);
      break;
    default: break;
  }
  cell->lblRightLabel->setText(value);
  return cell;
}

std::optional<ui::IndexPath> SurahViewController::willSelectRowAtIndexPath(ui::TableView* tableView,
                                                                          const ui::IndexPath& indexPath) {
  if (tableView == tblSurahInfo.get()) return std::nullopt;
  if (tableView == tblVerses.get() && ipaddelegate_) {
    if (auto pan = ipaddelegate_->lastFloatingWindowPanTime();
        pan && ns::Clock::current().now() - pan->timeIntervalSince1970() < 1.0) {
      ipaddelegate_->resetLastPanTime();
      return std::nullopt;
    }
  }
  return indexPath;
}

void SurahViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (tableView != tblVerses.get()) return;
  int v = rowToVerse(indexPath.row);
  int old = iCurrentVerse_;
  highlightVerse(v, false);
  if (ipaddelegate_ && ipaddelegate_->IsShowingNotes())
    ipaddelegate_->showNotesForSurah(iCurrentSurah_, v, false, ipaddelegate_->IsViewInLandscape(), false, v >= old);
}

void SurahViewController::scrollViewDidScroll(ui::ScrollView* scrollView) {
  if (scrollView != tblVerses.get()) return;
  if (tblVerses->isDragging() && !previouslyDragging_) {
    previouslyDragging_ = true;
    if (ipaddelegate_) ipaddelegate_->finishedViewScrolling();
  }
  if (IgnoreSendingScrollEvents_ && tblVerses->isDragging()) IgnoreSendingScrollEvents_ = false;
  if (!IgnoreSendingScrollEvents_ && ipaddelegate_) ipaddelegate_->versesViewDidScroll(tblVerses.get());
  if (!ignoreProcessingScrollEvents_)
    forEachVisibleRowView([this](SurahVerseView& view) { view.containedViewDidScroll(*tblVerses); });
  scheduleRowsAhead();
}

void SurahViewController::scrollViewWillBeginDragging(ui::ScrollView*) {
  if (ipaddelegate_ && ipaddelegate_->isKeyboardShowing()) ipaddelegate_->dismissKeyboard();
}

void SurahViewController::scrollViewDidEndDragging(ui::ScrollView* scrollView, bool willDecelerate) {
  if (scrollView != tblVerses.get()) return;
  deceleratingTable_ = willDecelerate;
  previouslyDragging_ = false;
  if (ipaddelegate_) ipaddelegate_->shouldEnableFloatingWindow();
  if (!willDecelerate) {
    if (ipaddelegate_) ipaddelegate_->finishedViewScrolling();
    if (!IsInPlayMode_) selectVerseOnTopOfScreen();
  }
}

// The table has come to rest: the panes follow again and the verse at the
// top becomes the reading position.
void SurahViewController::tableCameToRest() {
  deceleratingTable_ = previouslyDragging_ = false;
  if (ipaddelegate_) {
    ipaddelegate_->finishedViewScrolling();
    ipaddelegate_->shouldEnableFloatingWindow();
  }
  if (!IsInPlayMode_) selectVerseOnTopOfScreen();
}

void SurahViewController::scrollViewDidEndDecelerating(ui::ScrollView* scrollView) {
  if (scrollView == tblVerses.get()) tableCameToRest();
}

bool SurahViewController::scrollViewShouldScrollToTop(ui::ScrollView* scrollView) {
  if (scrollView != tblVerses.get()) return false;
  previouslyDragging_ = false;
  ns::logf("Verses table will scroll to top");
  if (ipaddelegate_) {
    ipaddelegate_->versesViewDidScroll(tblVerses.get());
    ipaddelegate_->shouldDisableFloatingWindow(false);
  }
  if (isShowingSurahInfo_) return false;
  if (IsInPlayMode_) {
    highlightVerse(iCurrentPlayingVerse_, false, true, true);
    return false;
  }
  if (showingDialControl_) return false;
  ignoreProcessingScrollEvents_ = true;
  return true;
}

void SurahViewController::scrollViewDidScrollToTop(ui::ScrollView* scrollView) {
  if (scrollView != tblVerses.get()) return;
  tableCameToRest();
  ignoreProcessingScrollEvents_ = false;
  forEachVisibleRowView([this](SurahVerseView& view) { view.containedViewDidScroll(*tblVerses); });
}

// The verse whose row holds the table's top edge becomes the reading
// position, quietly (nothing scrolls), but only when the selected verse has
// left the screen or lies above that row: a verse chosen lower down on the
// screen (a long-pressed one among them) stays chosen.
void SurahViewController::selectVerseOnTopOfScreen() {
  if (!tblVerses || settingUpSurah_) return;
  float Y = tblVerses->contentOffset().y;
  auto top = tblVerses->indexPathForRowAtPoint(cg::Point{10, Y + 1});
  if (!top) return;
  int selected = verseToRow(iCurrentVerse_);
  cg::Rect f = selected >= 0 && selected < numberOfVerseRows()
                   ? tblVerses->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(selected, 0))
                   : cg::Rect();
  float H = viewSurahDisplay ? viewSurahDisplay->frame().height() : tblVerses->bounds().height();
  bool endsAbove = f.y() + f.height() < Y;
  bool startsBelow = f.y() >= std::floor(Y + H);
  if (endsAbove || startsBelow || top->row > selected) highlightVerse(rowToVerse(top->row), false, false);
}
