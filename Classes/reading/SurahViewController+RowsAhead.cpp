// Rows ahead of time. A frame that brings a row into view would lay out and
// draw the row's verse or translation bitmap; instead, in the idle turns
// after each frame of a scroll, the rows within a screen ahead in the
// direction of the scroll are drawn one at a time on a spare cell (as the
// table would show them) into the store the rows take their bitmaps from.
// The store keeps nothing for rows outside the visible rows and that screen
// ahead, and cells leaving the screen let their bitmaps go, so what is kept
// stays about two screens of pixels.
#include <algorithm>

#include "Classes/reading/PreparedRows.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

void SurahViewController::scheduleRowsAhead() {
  if (!tblVerses) return;
  float y = tblVerses->contentOffset().y;
  if (y != rowsAheadOffset_) rowsAheadDirection_ = y > rowsAheadOffset_ ? 1 : -1;
  rowsAheadOffset_ = y;
  ui::Window* window = tblVerses->window();
  if (rowsAheadPending_ || !window) return;
  rowsAheadPending_ = true;
  std::weak_ptr<ui::ViewController> weak = shared_from_this();
  auto step = [weak](auto& self) -> void {
    auto screen = std::static_pointer_cast<SurahViewController>(weak.lock());
    if (!screen) return;
    if (screen->prepareRowAhead()) ns::RunLoop::main().post([self] { self(self); });
    else screen->rowsAheadPending_ = false;
  };
  window->performAfterDisplay([step] { step(step); });
}

bool SurahViewController::prepareRowAhead() {
  if (!tblVerses || !tblVerses->window() || settingUpSurah_ || !fontLoader_) return false;
  ui::TableView& table = *tblVerses;
  float scale = ui::Screen::main().scale();
  cg::Rect b = table.bounds();
  // Bitmaps made for another surah, size, width or translation never match.
  std::tuple<int, const void*, float, float, int> made{iCurrentSurah_, fontLoader_.get(), b.width(), scale,
                                                       iCurrentTranslation_};
  if (made != rowsAheadFor_) {
    preparedRows_->clear();
    rowsAheadFor_ = made;
  }
  auto visible = table.indexPathsForVisibleRows();
  if (visible.empty()) return false;
  int firstVisible = visible.front().row, lastVisible = visible.back().row;
  for (const auto& p : visible) {
    firstVisible = std::min(firstVisible, p.row);
    lastVisible = std::max(lastVisible, p.row);
  }
  bool down = rowsAheadDirection_ > 0;
  auto ahead = table.indexPathsForRowsInRect(down ? cg::Rect(b.x(), b.maxY(), b.width(), b.height())
                                                  : cg::Rect(b.x(), b.minY() - b.height(), b.width(), b.height()));
  int first = firstVisible, last = lastVisible;
  for (const auto& p : ahead) {
    first = std::min(first, p.row);
    last = std::max(last, p.row);
  }
  preparedRows_->keepOnly(first, last);
  if (!down) std::reverse(ahead.begin(), ahead.end());
  for (const auto& p : ahead) {
    int row = p.row;
    if (p.section != 0 || (row >= firstVisible && row <= lastVisible) || preparedRows_->hasRow(row)) continue;
    int kind = isTranslationRow(row) ? 1 : 0;
    auto& spare = spareRows_[kind];
    if (!spare)
      spare = SurahViewCell::create(kind ? "VerseCellTrans" : "VerseCell",
                                    std::static_pointer_cast<SurahViewController>(shared_from_this()), false);
    spare->setThisTable(&table);
    configureVerseCell(*spare, row);
    table.layOutDetachedCell(*spare, p);
    spare->CellView()->prepareBitmaps(scale, row, *preparedRows_);
    return true;
  }
  return false;
}
