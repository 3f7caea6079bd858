// The one mapping between table rows and verses, the row heights and top
// offsets the rest of the screen asks for outside the table, and the selected
// and playing verse states of the rows.
#include <algorithm>

#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/UserDefaults.h"

int SurahViewController::numberOfVerseRows() const {
  int n = ChapterInfo::getVersesFromNumber(iCurrentSurah_);
  int rows = hasTranslationRows() ? 2 * n : n;
  return hasHeaderRow() ? rows + 1 : rows;
}

int SurahViewController::rowToVerse(int row) const {
  if (!hasHeaderRow()) return hasTranslationRows() ? row / 2 + 1 : row + 1;
  if (!hasTranslationRows() || row == 0) return row;
  return row % 2 == 1 ? (row + 1) / 2 : row / 2;
}

int SurahViewController::verseToRow(int verse) const {
  if (verse < 0) return 0;
  if (hasHeaderRow()) {
    if (!hasTranslationRows()) return verse;
    return verse >= 1 ? 2 * verse - 1 : 0;
  }
  return hasTranslationRows() ? 2 * (verse - 1) : verse - 1;
}

// The renderer's height for the verse at the table's width less the column,
// kept by (verse, width, size style) so that it is laid out once.
int SurahViewController::arabicGlyphHeight(int verse) {
  auto it = verseMetaData.find(verse);
  if (it == verseMetaData.end() || !fontLoader_ || !tblVerses) return 0;
  int width = int(tblVerses->frame().width() - 70);
  auto meta = it->second;
  auto font = fontLoader_;
  return VerseHeightCache::shared().heightOf(iCurrentSurah_, verse, width, fontResolution_, [&] {
    const ns::Data& bytes = meta->VerseData();
    return font->GetHeightOfVerseImage(meta->ThisVerse(), false, &bytes, 0, int(bytes.size()) - 1, width, false);
  });
}

// Room for the juz mark, then for a hizb or prostration mark below it.
int SurahViewController::markedHeight(int verse, int height) const {
  bool juz = ChapterInfo::isJuz(iCurrentSurah_, verse);
  if (juz && height < 90) height += 45;
  if (ChapterInfo::isHizb(iCurrentSurah_, verse) || ChapterInfo::isSajda(iCurrentSurah_, verse))
    if (height < (juz ? 136 : 90)) height += 45;
  return height;
}

float SurahViewController::getHeightForVerse(int verse, bool) {
  if (!hasVerseRecords_) return 0;
  int base = verse <= 0 ? 65 : arabicGlyphHeight(verse);
  return float(markedHeight(verse, base));
}

// The text measured at the width its label has in a row of the table.
float SurahViewController::translationRowHeight(int verse) {
  auto it = transHeightMeta.find(verse);
  if (verse < 1 || size_t(verse - 1) >= transHeightMeta.size() || it == transHeightMeta.end() || !tblVerses) return 65;
  float width = SurahVerseView::translationTextWidth(tblVerses->frame().width(), false);
  float h = float(it->second->heightForWidth(width));
  if (iCurrentTranslation_ == 1000 && h < 1) h = 1;
  return h;
}

int SurahViewController::getTopOffsetForRow(int row, bool landscape) {
  if (row < 1) return 0;
  int rows = numberOfVerseRows();
  row = std::min(row, rows);
  bool expanded = isFloatingViewExpanded();
  auto height = [&](int r) -> float {
    int v = rowToVerse(r);
    bool translationRow = hasTranslationRows() && r != verseToRow(v);
    if (translationRow) return translationRowHeight(v);
    if (!hasVerseRecords_) return 65;
    if (!expanded && ipaddelegate_) return ipaddelegate_->getMaxVerseHeightForCurrentSurah(v, landscape);
    return float(markedHeight(v, v <= 0 ? 65 : arabicGlyphHeight(v)));
  };
  // The panes answer for themselves while the view is not expanded: no sums kept.
  if (!expanded) {
    float sum = 0;
    for (int r = 0; r < row; ++r) sum += height(r);
    return int(sum);
  }
  auto key = std::make_tuple(iCurrentSurah_ * 2000 + iCurrentTranslation_, rows,
                             tblVerses ? tblVerses->frame().width() : 0.0f, IsInLandscape_);
  if (rowTops_.empty() || rowTopsKey_ != key) {
    rowTops_.assign(size_t(rows) + 1, 0);
    for (int r = 0; r < rows; ++r) rowTops_[size_t(r) + 1] = rowTops_[size_t(r)] + height(r);
    rowTopsKey_ = key;
  }
  return int(rowTops_[size_t(row)]);
}

SurahVerseView* SurahViewController::rowViewAt(int row) const {
  if (!tblVerses || row < 0 || row >= numberOfVerseRows()) return nullptr;
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(
      tblVerses->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0)));
  return cell ? cell->CellView() : nullptr;
}

void SurahViewController::forEachVisibleRowView(const std::function<void(SurahVerseView&)>& fn) const {
  if (!tblVerses) return;
  for (auto& cell : tblVerses->visibleCells())
    if (auto c = std::dynamic_pointer_cast<SurahViewCell>(cell); c && c->CellView()) fn(*c->CellView());
}

void SurahViewController::highlightVerse(int verse, bool jumpTo) {
  highlightWithAnim_ = true;
  highlightVerse(verse, jumpTo, highlightWithAnim_);
}

void SurahViewController::highlightVerse(int verse, bool jumpTo, bool animated) {
  highlightVerse(verse, jumpTo, animated, false);
}

void SurahViewController::highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) {
  highlightVerse(verse, jumpTo, animated, forceSelection, false);
}

// Every table step is skipped for a row that does not exist (a stale verse
// after a surah switch, verse 0 where there is no header row); the selection
// and the defaults are written all the same.
void SurahViewController::highlightVerse(int a, bool jump, bool animated, bool force, bool quiet) {
  if (a == selectedVerse_ && a != -1 && !force) return;
  int rows = numberOfVerseRows();
  auto valid = [rows](int r) { return r >= 0 && r < rows; };
  if (a != selectedVerse_ && tblVerses) {
    int old = verseToRow(selectedVerse_);
    for (int r : {old, hasTranslationRows() ? old + 1 : -1}) {
      if (!valid(r)) continue;
      if (auto* view = rowViewAt(r)) {
        view->setIsSelected(false);
        view->updateVerseBG();
      }
      tblVerses->deselectRowAtIndexPath(ui::IndexPath::indexPathForRow(r, 0), false);
    }
  }
  selectedVerse_ = std::max(a, 0);
  int row = verseToRow(selectedVerse_);
  if (tblVerses && valid(row)) {
    SurahVerseView* view = rowViewAt(row);
    if (!view && animated && hasTranslationRows()) view = rowViewAt(row + 1);
    if (!view && animated) {
      tblVerses->selectRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0), true, ui::TableViewScrollPosition::Top);
      view = rowViewAt(row);
    }
    if (view) view->setIsSelected(true);
    if (hasHeaderRow() && selectedVerse_ < 1) {
      if (auto* header = rowViewAt(0)) header->setIsSelected(true);
    } else if (hasTranslationRows()) {
      if (auto* translation = rowViewAt(row + 1)) translation->setIsSelected(true);
    }
    if (jump && rows >= row)
      tblVerses->selectRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0), animated, ui::TableViewScrollPosition::Top);
  }
  iCurrentVerse_ = selectedVerse_;
  auto& d = ns::UserDefaults::standardUserDefaults();
  d.setObject(ns::Value(std::to_string(iCurrentVerse_)), "LastVerse");
  d.setInteger(iCurrentVerse_, "CurrentlyShowingVerse");
  dateLastActivity_ = ns::Date(ns::Clock::current().now());
  if (!quiet && ipaddelegate_) ipaddelegate_->highlightVerse(a, jump, animated, force);
  if (ipaddelegate_) ipaddelegate_->tryAndUpdateIndexRowSelection();
}

void SurahViewController::highlightForPlayingVerse(int verse, bool stopPlaying) {
  highlightForPlayingVerse(verse, stopPlaying, false);
}

void SurahViewController::highlightForPlayingVerse(int v, bool stop, bool quiet) {
  int previous = iCurrentPlayingVerse_;
  int rows = numberOfVerseRows();
  int prevRow = verseToRow(previous);
  if (auto* view = rowViewAt(prevRow)) view->setIsPlaying(false);
  if (hasTranslationRows() && prevRow + 1 < rows)
    if (auto* view = rowViewAt(prevRow + 1)) view->setIsPlaying(false);
  if (!stop) {
    iCurrentPlayingVerse_ = std::max(v, 0);
    int row = verseToRow(v);
    if (auto* view = rowViewAt(row)) view->setIsPlaying(true);
    if (hasHeaderRow() && v < 1) {
      if (auto* header = rowViewAt(0)) header->setIsPlaying(true);
    } else if (hasTranslationRows()) {
      if (auto* translation = rowViewAt(row + 1)) translation->setIsPlaying(true);
    }
    if (ipaddelegate_ && ipaddelegate_->IsShowingNotes() && !ipaddelegate_->isKeyboardShowing())
      ipaddelegate_->showNotesForSurah(iCurrentSurah_, v, false, ipaddelegate_->IsViewInLandscape(), false,
                                       v >= previous);
  }
  if (!quiet && ipaddelegate_) {
    ipaddelegate_->highlightForPlayingVerse(v, stop);
    ipaddelegate_->tryAndUpdateIndexRowSelection();
  }
}

void SurahViewController::reloadVisibleRows() {
  if (settingUpSurah_ || isSwitchingSurah_ || !tblVerses) return;
  tblVerses->reloadRowsAtIndexPaths(tblVerses->indexPathsForVisibleRows(), ui::TableViewRowAnimation::Fade);
}

void SurahViewController::refreshSurahView() {
  forEachVisibleRowView([](SurahVerseView& view) { view.refreshView(); });
}
