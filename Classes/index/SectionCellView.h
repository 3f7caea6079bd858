#pragma once
// One hizb quarter of the sectioned index: its audio status button, the
// opening text of its first verse, and its mark (the hizb number on a star
// for a quarter that opens a hizb, else "1/4", "1/2" or "3/4"), lit while the
// row is selected or highlighted. Main thread only.
#include <memory>

#include "Classes/index/IndexViewCell.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Label.h"

class SectionCellView : public IndexViewCell {
 public:
  // row is the absolute quarter index 0-239.
  SectionCellView(cg::Rect frame, int row, int theme);

  // The translation whose text the quarter rows show: the primary one, else
  // the secondary one, else 0 (the Arabic text).
  static int chosenTranslation();

  void refreshFont();
  void setRow(int row, bool forceRefresh) override;
  void setNormalImages();
  void setIndexMeta(IndexRowMetaPtr meta) override;
  void updateSoundStatus() override;
  void soundButtonPressed() override;
  void setSelected(bool selected) override;
  void setHighlighted(bool highlighted) override;
  // The quarter shown (1-240).
  int row() const { return sectionNumber; }

  // The parts, for the index's tests and pictures.
  ui::Label* textLabel() const { return lblSurahLabel.get(); }
  ui::Button* markButton() const { return btnSectionIcon.get(); }
  ui::Button* soundButton() const { return btnSoundIcon.get(); }
  const IndexRowMetaPtr& indexMeta() const { return thisMeta; }
  int audioStatus() const { return isAudioavailable; }

 private:
  bool opensHizb() const { return sectionNumber % 4 == 1; }
  std::string markTitle() const;
  void markActive(bool active);

  int theme;
  int sectionNumber = 1;
  cg::Rect thisFrame;
  IndexRowMetaPtr thisMeta;
  std::shared_ptr<ui::Button> btnSectionIcon;
  std::shared_ptr<ui::Label> lblSurahLabel;
  int hezbVal = 0;
  int hezbnum = 0;
  int iCurrentTranslation = 0;
  int isAudioavailable = 0;
  int PrevSoundInstalled = -1;
  bool isSectionedHizb = false;
  bool markIsNew = true;
  ns::Observer translationObserver;
};
