#pragma once
// The header row of a list of verses grouped by surah (the bookmarks, the
// search results, the supplications): a button across the row that folds the
// section, the fold arrow, the surah's number, its name as text or as the
// calligraphic name image, and a badge with the section's count. The lists
// place the parts alike and differ only in a few distances from the right
// edge, which they give as Metrics. Main thread only.
#include <functional>
#include <memory>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

class SurahSectionHeader {
 public:
  // Distances from the row's right edge W.
  struct Metrics {
    float imageInset;       // the name image is made at W − imageInset
    float rtlNumberInset;   // right-to-left: the number at W − rtlNumberInset
    float rtlImageInset;    // calligraphic: the image at W − rtlImageInset + the surah's offset
    float ltrBadgeInset;    // left-to-right: the badge at W − ltrBadgeInset
    float arabicNameInset;  // Arabic interface: the name label W − arabicNameInset wide
  };

  bool isMade() const { return btnCollapse != nullptr; }
  // Makes the parts in the content view of a row of the size; the fold
  // button calls onFold. No count badge when withCounter is false.
  void make(ui::View& content, cg::Size size, bool withCounter, const Metrics& metrics, std::function<void()> onFold);
  // Fills and places the parts for the surah, its count and its fold state,
  // by the interface language and the "IndexInArabic" setting.
  void layout(int surah, int count, bool folded, cg::Size size, const Metrics& metrics);
  // The arrow straight, or turned a quarter anticlockwise when folded.
  void turnArrow(bool folded);
  // Hides or shows every part (a row that shows another kind of record).
  void setHidden(bool hidden);
  // Labels white while the row is pressed.
  void setHighlighted(bool highlighted);

  std::shared_ptr<ui::Button> btnCollapse;
  std::shared_ptr<ui::ImageView> imgCollapseArrow;
  std::shared_ptr<ui::Label> lblSurahNumLabel;
  std::shared_ptr<ui::ImageView> imgSurahLabel;
  std::shared_ptr<ui::Label> lblEngSurahLabel;
  std::shared_ptr<ui::Button> btnVerseCounter;  // none in a list without counts
};
