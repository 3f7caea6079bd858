#pragma once
// The list a reader chooses a translation from, each row with its flag and
// the current choice ticked, opened centred on that choice. In the slot mode
// it edits the primary or secondary translation of the whole application and
// posts "TranslationDidChange" after each choice, staying open; in the panel
// mode (setupNormalPicker) it edits only the options panel's translation and
// hands the choice to its delegate, which closes it. Main thread only.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace ui {
class Button;
class ImageView;
class Label;
}  // namespace ui

class PickTranslationControllerDelegate {
 public:
  virtual ~PickTranslationControllerDelegate() = default;
  virtual void translationPickerPicked(int translation) = 0;
  virtual void translationPickerCancelled() = 0;
};

class PickTranslationController : public ui::ViewController,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate {
 public:
  // initWithNibName:bundle: ("SurahOptions").
  PickTranslationController();

  cg::Size contentSizeForViewInPopover() const override { return {320, 480}; }
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  bool IsPrimaryTranslation() const { return IsPrimaryTranslation_; }
  // The slot edited; set before the view loads.
  void setIsPrimaryTranslation(bool primary) { IsPrimaryTranslation_ = primary; }
  // Switches to the panel mode; right after creation.
  void setupNormalPicker();
  bool isNormalPickerMode() const { return isNormalPickerMode_; }

  std::shared_ptr<PickTranslationControllerDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<PickTranslationControllerDelegate> d) { delegate_ = std::move(d); }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override { return static_cast<int>(arrTranslations.size()); }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 44; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override {
    return indexPath;
  }
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  // The row of the number in the list; 0 when it is not there.
  int indexOfTranslation(int translation) const;
  void btnBackPressed();
  void segmentPressed();
  void dismissCont();

  // The flag of a translation's row; empty for numbers without one.
  static std::string imageNameForTranslation(int translation);

  int iCurrentTranslation() const { return iCurrentTranslation_; }
  const std::vector<int>& translations() const { return arrTranslations; }

  std::shared_ptr<ui::Label> lblTopTitle;
  std::shared_ptr<ui::Button> btnBack;
  std::shared_ptr<ui::ImageView> imgTopBar;
  std::shared_ptr<ui::TableView> table;

 private:
  std::weak_ptr<PickTranslationControllerDelegate> delegate_;
  int iCurrentTranslation_ = 0;
  std::vector<int> arrTranslations;
  bool IsPrimaryTranslation_ = false;
  bool isNormalPickerMode_ = false;
};
