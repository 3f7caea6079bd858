#pragma once
// A row of dots, one per page, the current one bright. A tap on either side
// of the current dot moves one page that way and sends value changed; with
// deferred display the dots keep the old page until told to update.
#include "platform/ui/Control.h"

namespace ui {

class PageControl : public Control {
 public:
  using Control::Control;

  int numberOfPages() const { return pages_; }
  void setNumberOfPages(int pages);
  // Clamped to the pages.
  int currentPage() const { return current_; }
  void setCurrentPage(int page);
  bool hidesForSinglePage() const { return hidesForSinglePage_; }
  void setHidesForSinglePage(bool hides) { hidesForSinglePage_ = hides; setNeedsDisplay(); }
  bool defersCurrentPageDisplay() const { return defers_; }
  void setDefersCurrentPageDisplay(bool defers) { defers_ = defers; }
  void updateCurrentPageDisplay();
  // The page whose dot is drawn bright.
  int displayedPage() const { return displayed_; }

  cg::Size sizeForNumberOfPages(int pages) const;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 protected:
  void endTracking(const Touch& touch) override;

 private:
  int pages_ = 0;
  int current_ = 0;
  int displayed_ = 0;
  bool hidesForSinglePage_ = false;
  bool defers_ = false;
};

}  // namespace ui
