#pragma once
// About: the emblem, the version and build of this build of Zarvel, and the
// ways to its pages, which ship with it: the page about Zarvel, the help and
// knowledge base, and a sheet with the credits and the licences of the
// text, translations and fonts, and a mail to the makers. The More menu
// shows it in a popover of 320 x 476. Main thread only.
#include <memory>
#include <string>

#include "platform/ui/ActionSheet.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

class TKWebController;

class AboutViewController : public ui::ViewController, public ui::ActionSheetDelegate {
 public:
  // The sheet's buttons, in order; the last is Cancel.
  enum SheetButton { kCredits = 0, kLicences = 1, kContact = 2, kCancel = 3 };

  AboutViewController() = default;

  // "v<version> (Build <build>)", from the bundle's information.
  static std::string versionLine();

  cg::Size contentSizeForViewInPopover() const override { return {320, 476}; }
  void loadView() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  // The maker's page and its knowledge base.
  void vantorLogoPressed();
  void makersPressed();
  // The sheet of credits, licences and contact.
  void oskelLogoPressed();
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void cancelPressed();
  void ayahPressed() {}
  void versionPressed() {}

  std::shared_ptr<ui::Label> lblVersion, lblDevelopedBy, lblAnalysis, lblAbout, lblBack, lblMakers, lblName;
  std::shared_ptr<ui::Button> btnBack, btnDisc, btnAyah, btnMakers, btnVersion, btnDeveloped, btnOskel;
  std::shared_ptr<ui::ImageView> imgBG, imgEmblem;

  // What the screen opened last, for tests.
  const std::shared_ptr<ui::ActionSheet>& sheet() const { return sheet_; }
  const std::shared_ptr<TKWebController>& page() const { return page_; }

 private:
  void openPage(const std::string& page);

  std::shared_ptr<ui::ActionSheet> sheet_;
  std::shared_ptr<TKWebController> page_;
};
