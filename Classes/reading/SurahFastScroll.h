#pragma once
// The reading screen's side of the fast-scroll strip: the verse under the
// finger, the "Goto Verse" bubble that shows it, the jump on release, and
// the tap that pages the reading forward one verse at a time, scrolling by
// the display's height / 1.3 while the verses do not fit. The screen owns it
// and its views. Main thread only.
#include <memory>

#include "Classes/reading/FastScrollView.h"

class SurahViewController;
namespace ui {
class ImageView;
class Label;
}  // namespace ui

class SurahFastScroll : public FastScrollViewDelegate, public std::enable_shared_from_this<SurahFastScroll> {
 public:
  static constexpr float kStripWidth = 60;
  static constexpr double kPageFraction = 1.3;

  // Puts the strip on the screen's reading area (its left edge, over the
  // verse numbers) and makes the bubble's views.
  static std::shared_ptr<SurahFastScroll> install(SurahViewController& screen);
  explicit SurahFastScroll(SurahViewController& screen) : screen_(screen) {}

  // The verse under a height of the strip: the band from 10 to height - 10
  // cut into one equal slice per verse; above it verse 1, below it the last.
  static int verseAtY(float y, float displayHeight, int verses);

  void fastScrollTapped() override;
  void updateFastScrollPreview(cg::Point point) override;
  void showFastScrollPreview(cg::Point point);
  void hideFastScrollPreview() override;
  void cancelFastScrollPreview() override;
  void fastViewDidHide();
  bool canBeginFastScroll() const;
  void fastScrollFingerDown();

  bool isShowingFastScrollView() const { return isShowingFastScrollView_; }
  int iVerseToJumpTo() const { return iVerseToJumpTo_; }

  std::shared_ptr<FastScrollView> viewFastScroll;
  std::shared_ptr<ui::View> viewFastScrollBezel, viewGotoBubble;
  std::shared_ptr<ui::ImageView> imgFastScrollCol, imgFastScrollArrows, imgBubble;
  std::shared_ptr<ui::Label> lblGotoVerse, lblFastScrollVerse;

 private:
  void buildBubble();
  void fadeBubble(double duration, bool thenDetach);

  SurahViewController& screen_;  // the screen owns this
  bool isShowingFastScrollView_ = false;
  int iVerseToJumpTo_ = 1;
};
