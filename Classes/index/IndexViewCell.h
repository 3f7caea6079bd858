#pragma once
// The base of the two index row views: a surah row (SurahCellView) and a
// quarter row (SectionCellView). It keeps the index controller that hands the
// row out (not owned) and does nothing with rows, highlights or records.
// Main thread only.
#include <memory>

#include "Classes/index/IndexRowMeta.h"
#include "Classes/index/IndexViewCellHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/View.h"

class IndexViewCell : public ui::View {
 public:
  using ui::View::View;

  // Spelled as the rows have always spelled it.
  IndexViewCellHost* delgate() const { return delgate_.lock().get(); }
  virtual void setDelegate(std::weak_ptr<IndexViewCellHost> host) { delgate_ = std::move(host); }
  int identity() const { return identity_; }

  virtual void setRow(int row, bool forceRefresh) { (void)row, (void)forceRefresh; }
  virtual void setHighlighted(bool highlighted) { (void)highlighted; }
  virtual void setSelected(bool selected) { (void)selected; }
  virtual void setIndexMeta(IndexRowMetaPtr meta) { (void)meta; }
  virtual void updateSoundStatus() {}

 protected:
  // The audio status code of a surah from the host: 0 none, 1 the current
  // reciter's, 2 others' only, 3 both; 0 without a host.
  int soundStatusFor(int surah) const;
  // The sound button at the left of a row of height h, made once; its action
  // runs soundButtonPressed.
  void ensureSoundButton(float h);
  // The button's art for a status code, replaced only when the code changed.
  void showSoundStatus(int code, int& lastCode);
  virtual void soundButtonPressed() {}

  std::shared_ptr<ui::Button> btnSoundIcon;

  std::weak_ptr<IndexViewCellHost> delgate_;
  int identity_ = 0;
};
