#pragma once
// One surah of the index list: its audio status button, number, name (as
// text or as the calligraphic name image) and verse count. The row of the
// surah being read keeps its highlight whatever the table does. Main thread.
#include <memory>

#include "Classes/index/IndexViewCell.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

class IndexTableViewCell;

class SurahCellView : public IndexViewCell {
 public:
  // row is the surah's row (surah − 1); the cell holds this view and outlives it.
  SurahCellView(cg::Rect frame, int row, bool inArabic, int theme, IndexTableViewCell* cell);

  void setRow(int row, bool forceRefresh) override;
  void updateSoundStatus() override;
  void setSelected(bool selected) override;
  void setHighlighted(bool highlighted) override;
  void soundButtonPressed() override;
  void layoutSubviews() override;
  // The surah shown (1-114).
  int row() const { return surahNumber; }

  // The parts, for the index's tests and pictures.
  ui::Label* numberLabel() const { return lblSurahNumLabel.get(); }
  ui::Label* nameLabel() const { return lblSurahLabel.get(); }
  ui::Label* verseCountLabel() const { return lblVerseCountLabel.get(); }
  ui::ImageView* nameImage() const { return imgSurahImage.get(); }
  ui::Button* soundButton() const { return btnSoundIcon.get(); }
  int audioStatus() const { return isAudioavailable; }

 private:
  void makeLabels(float w, float h);
  void layoutLatin(float w, float h);
  void layoutArabic(float w, float h, bool calligraphic);

  IndexTableViewCell* viewCell;
  int theme;
  int surahNumber = 1;
  cg::Rect thisFrame;
  std::shared_ptr<ui::ImageView> imgSurahImage;
  std::shared_ptr<ui::Label> lblSurahNumLabel, lblSurahLabel, lblVerseCountLabel;
  bool isarabictitle;
  int isAudioavailable = 0;
  int lastAudioAvailable = -1;
};
