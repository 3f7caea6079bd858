#pragma once
// A row of the search history: the eye that switches the search's marks in
// the reading screen on and off, the query (purple while marked), a badge
// with the translation searched and the number of hits.
#include <memory>

#include "Classes/core/SavedSearch.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

class SavedSearchesViewController;

class SavedSearchCell : public ui::TableViewCell {
 public:
  SavedSearchCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  // The history controller; not retained.
  void setViewController(SavedSearchesViewController* controller) { viewController_ = controller; }
  // The entry shown (the controller's list owns it).
  void setSavedSearch(const SavedSearchPtr& entry);
  SavedSearchPtr ThisSavedSearch() const { return ThisSavedSearch_.lock(); }
  void btnEyePressed();
  void updateReflectionState();

  void setSelected(bool selected, bool animated) override;
  void setHighlighted(bool highlighted, bool animated) override;
  void layoutSubviews() override;

  std::shared_ptr<ui::Label> lblTitle, lblResults;
  std::shared_ptr<ui::Button> btnEye, btnTrans;

 private:
  void showLit(bool lit);

  SavedSearchesViewController* viewController_ = nullptr;
  std::weak_ptr<SavedSearch> ThisSavedSearch_;
};
