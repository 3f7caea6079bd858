#pragma once
// The tips: a welcome page, nine tips and a closing page, side by side in a
// paged scroller, shown as a form sheet in a navigation controller of its
// own. The title follows the page; from the welcome page the sheet moves on
// by itself after 4 s unless the reader moved first; the page of the two
// translations cross-fades its two pictures in a loop; a dark backdrop comes
// in with the first page turn and goes out towards the last. The pictures
// are the application's own screens, made at build time per interface
// language. Left and Right (and Page Up, Page Down) turn the pages, Escape
// closes. Main thread only.
#include <memory>
#include <string>

#include "Classes/settings/SheetKeys.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"

class TipsViewController : public ui::ViewController, public ui::ScrollViewDelegate {
 public:
  static constexpr int kPageCount = 11;
  static constexpr float kPageWidth = 540;
  static constexpr float kPageHeight = 576;
  static constexpr int kTipCount = 9;  // the pages with a tip text (1 to 9)

  TipsViewController() = default;
  ~TipsViewController() override;

  // The title shown while the page is on screen; empty outside 0 to 10.
  static std::string titleForPage(int page);
  // The picture of a tip page in the interface language (tips-en-3 for the
  // third page in English);
  // `second` names the other picture of the cross-fading page.
  static std::string pictureName(int page, bool second = false);

  void loadView() override;
  void viewDidLoad() override { setupForiPad(); }
  void setupForiPad();
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  void showPage2();
  // Scrolls to the page control's page.
  void changePage();
  void scrollViewDidScroll(ui::ScrollView* scrollView) override;
  void beginPage2Animation();
  void beginPage2AnimationPart2();
  void animationFinished(const std::string& name);
  // Cancels what is pending and closes the sheet.
  void backButtonPressed();

  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const ui::KeyEvent& key) override;

  int currentPageInd() const { return currentPageInd_; }
  bool hasShown() const { return hasShown_; }

  std::shared_ptr<ui::ScrollView> viewScroll;
  std::shared_ptr<ui::PageControl> pgtClt;
  std::shared_ptr<ui::View> viewDarkBG;
  // viewPages[n] is viewPage<n>; viewPages[0] is viewWelcome.
  std::shared_ptr<ui::View> viewWelcome, viewPages[kPageCount];
  std::shared_ptr<ui::Label> lblWelcomeTop, lblWelcomeMid, lblWelcomeEnd, lblPage10;
  std::shared_ptr<ui::TextView> txtPages[kTipCount + 1];  // txtPages[n] is txtPage<n>; [0] unused
  std::shared_ptr<ui::Label> lblPage7[5];                  // lblPage7[n] is lblPage7_<n>; [0] unused
  std::shared_ptr<ui::ImageView> imgWelcome, imgPages[kTipCount + 1], imgPage2_2, imgPage7[5];

 private:
  std::shared_ptr<ui::View> makePage(int page);
  void buildWelcome();
  void buildTip(int page);
  void buildLegend(ui::View& page);
  void buildClosing();
  void fillTexts();
  void setTitleForPage(int page);
  void turnPage(int step);

  int currentPageInd_ = 0;
  bool hasShown_ = false;
  bool closing_ = false;
  SheetKeys keys_;
};
