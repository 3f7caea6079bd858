#pragma once
// The table cell that holds one verse row view and answers the row's
// questions by asking the reading screen.
#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

class SurahVerseView;
class SurahViewController;
namespace ui {
class TableView;
}

class SurahViewCell : public ui::TableViewCell {
 public:
  // initWithStyle:reuseIdentifier:withViewController:forTranslation:
  static std::shared_ptr<SurahViewCell> create(const std::string& reuseIdentifier,
                                               std::weak_ptr<SurahViewController> controller, bool forTranslation);
  SurahViewCell(const std::string& reuseIdentifier, std::weak_ptr<SurahViewController> controller);

  // The reading screen; null once it is gone (the screen owns the table).
  std::shared_ptr<SurahViewController> viewController() const { return viewController_.lock(); }
  SurahVerseView* CellView() const { return CellView_.get(); }
  ui::TableView* ThisTable() const { return ThisTable_; }
  void setThisTable(ui::TableView* table) { ThisTable_ = table; }

  int getTranslatorID() const;
  std::string getTranslationForSurah(int surah, int index) const;
  bool isVerseBookmarked(int verse) const;
  bool verseHasNote(int verse) const;
  bool isVerseLastAudioBookmark(int surah, int verse) const;
  bool isReflectingSearch(int verse) const;
  void requestSelectionAndShowDial(SurahVerseView& view, int verse, int surah);
  void refreshView();
  void setBookmarked();
  void layoutSubviews() override;
  // A cell leaving the screen (for the table's pool) lets its bitmaps go.
  void didMoveToWindow() override;

 private:
  std::weak_ptr<SurahViewController> viewController_;
  std::shared_ptr<SurahVerseView> CellView_;
  ui::TableView* ThisTable_ = nullptr;
};
